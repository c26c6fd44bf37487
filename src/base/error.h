#pragma once
// Failures travel as exceptions carrying a wide-string message, caught once by the
// user-interface event that started the work and shown in the standard error box.

#include <exception>
#include <string>

namespace quillon {

class Error : public std::exception {
 public:
  explicit Error(std::wstring message);
  const std::wstring& message() const noexcept { return message_; }
  // UTF-8 form of the message, for std::exception users (tests, tools).
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::wstring message_;
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
