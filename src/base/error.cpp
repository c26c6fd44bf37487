#include "base/error.h"

#include "base/text.h"

namespace quillon {

namespace {
TextChooser g_chooser = nullptr;
}  // namespace

void SetTextChooser(TextChooser chooser) {
  g_chooser = chooser;
}

std::wstring ChooseText(const LocalText& text) {
  return g_chooser ? g_chooser(text) : text.c;
}

Error::Error(std::wstring message) : Error(LocalText{message, message, message}) {}

Error::Error(LocalText message) : message_(std::move(message)), what_(ToUtf8(message_.c)) {}

}  // namespace quillon
