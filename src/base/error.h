#pragma once
// Failures travel as exceptions carrying a wide-string message, caught once by the
// user-interface event that started the work and shown in the standard error box.

#include <exception>
#include <string>

namespace quillon {

// A text of our own in the three languages: simplified Chinese, traditional Chinese,
// English. Names, numbers and the system's own messages go inside each unchanged.
struct LocalText {
  std::wstring a, b, c;
};

// Chooses the text of the language in use. The installer sets the chooser of its language
// state; without one (the tools, the tests of the formats) the English text is chosen.
using TextChooser = std::wstring (*)(const LocalText&);
void SetTextChooser(TextChooser chooser);
std::wstring ChooseText(const LocalText& text);

class Error : public std::exception {
 public:
  // A message that reads the same in every language (a system's message, a name).
  explicit Error(std::wstring message);
  explicit Error(LocalText message);
  // The message in the language in use when it is asked for.
  std::wstring message() const { return ChooseText(message_); }
  // The English message as UTF-8, for std::exception users (tools, tests).
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  LocalText message_;
  std::string what_;
};

// A registry operation was refused or met a value of the wrong type.
class RegistryError : public Error {
 public:
  using Error::Error;
};

// A file or folder operation failed; the message is the platform's own text.
class FileError : public Error {
 public:
  using Error::Error;
};

// A compressed record or data packet is damaged or not of the expected kind.
class FormatError : public Error {
 public:
  using Error::Error;
};

}  // namespace quillon
