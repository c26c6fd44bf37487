#pragma once
// Where the run's log goes: one file, written in appended pieces that are each flushed to
// disk, the process's standard error for the one notice that the file cannot be written,
// the user's temporary folder for a log without a name, and the clocks that stamp its lines.

#include <cstdint>
#include <string>

namespace quillon {

// A local date and time to the millisecond.
struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

class LogOutput {
 public:
  virtual ~LogOutput() = default;
  // Creates the file, or empties an existing one; false with the platform's text when refused.
  virtual bool Open(const std::wstring& path, std::wstring* error) = 0;
  // Appends the bytes to the open file and flushes them to disk, so a process killed
  // afterwards leaves them in the file; false with the platform's text on failure.
  virtual bool Append(const std::string& bytes, std::wstring* error) = 0;
  // Writes one line to standard error; nothing when the process has none.
  virtual void WriteStandardError(const std::wstring& line) = 0;
  // The user's temporary folder, without a trailing "\".
  virtual std::wstring TempFolder() = 0;
  virtual LocalTime Now() = 0;
  // A steady clock in milliseconds, for durations.
  virtual uint64_t Milliseconds() = 0;
};

}  // namespace quillon
