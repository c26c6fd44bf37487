#pragma once
// The run's log: UTF-8 text, one line per event, each beginning with its local time to the
// millisecond. Every line is written and flushed as it happens, so a run that is killed
// leaves a readable log up to that point. A log that cannot be written is said once on
// standard error and the run goes on without it. Lines may come from any thread.

#include <mutex>
#include <string>

#include "platform/ports/log_output.h"

namespace quillon {

class SetupLog {
 public:
  explicit SetupLog(LogOutput& out) : out_(out) {}

  // Opens the log file at `path`; false (said on standard error) when it cannot be made.
  bool Open(const std::wstring& path);
  // Writes one event. Line breaks inside `text` become " | ", so each event stays one line.
  void Line(const std::wstring& text);
  // Milliseconds of the steady clock, for the durations the log reports.
  uint64_t Milliseconds() { return out_.Milliseconds(); }
  const std::wstring& path() const { return path_; }
  // Whether the file is being written (opened, and no write has failed).
  bool writing() const { return writing_; }

 private:
  void SayFailure(const std::wstring& error);

  LogOutput& out_;
  std::mutex mutex_;
  std::wstring path_;
  bool writing_ = false;
  bool failure_said_ = false;
};

// "YYYY-MM-DD hh:mm:ss.mmm".
std::wstring LogTimeText(const LocalTime& t);
// The name of a log given without one: PROGRAM_YYYYMMDD_hhmmss.log, PROGRAM being the
// program's file name without its extension.
std::wstring DefaultLogName(const std::wstring& program_file, const LocalTime& start);

}  // namespace quillon
