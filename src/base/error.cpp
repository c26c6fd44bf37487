#include "base/error.h"

#include "base/text.h"

namespace quillon {

Error::Error(std::wstring message) : message_(std::move(message)), what_(ToUtf8(message_)) {}

}  // namespace quillon
