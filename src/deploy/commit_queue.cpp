#include "deploy/commit_queue.h"

#include <utility>

#include "base/text.h"

namespace quillon {

namespace {

void Raise(std::exception_ptr failure, const CommitQueue::Report& report) {
  try {
    std::rethrow_exception(failure);
  } catch (const Error& e) {
    if (report) report(e);
    throw;
  }
}

}  // namespace

CommitQueue::CommitQueue(JobQueue& jobs) : jobs_(jobs) {}

CommitQueue::~CommitQueue() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
  }
  jobs_.WaitIdle();
}

void CommitQueue::Add(const std::wstring& path, std::unique_ptr<FileReplacement> file,
                      Report report) {
  bool full;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    full = waiting_.size() >= kMaxWaiting;
  }
  if (full) jobs_.WaitIdle();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting_.push_back({path, std::move(file), std::move(report)});
  }
  jobs_.Post([this] { CommitOldest(); });
}

void CommitQueue::CommitOldest() {
  // The oldest stays in `waiting_`, path and all, until its file is in place, so that Holds
  // and Busy still see it meanwhile.
  std::unique_ptr<FileReplacement> file;
  Report report;
  bool drop;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (waiting_.empty()) return;
    file = std::move(waiting_.front().file);
    report = std::move(waiting_.front().report);
    drop = stopped_;
  }
  std::exception_ptr failure;
  if (!drop) {
    try {
      file->Commit();
    } catch (const Error&) {
      if (report) failure = std::current_exception();
    } catch (...) {
      failure = std::current_exception();
    }
  }
  file.reset();  // a file not committed deletes its temporary file here
  std::lock_guard<std::mutex> lock(mutex_);
  waiting_.erase(waiting_.begin());
  if (failure && !stopped_) {
    stopped_ = true;
    failure_ = failure;
    failure_report_ = std::move(report);
  }
}

void CommitQueue::RaiseFailure() {
  std::exception_ptr failure;
  Report report;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    failure = std::exchange(failure_, nullptr);
    report = std::move(failure_report_);
  }
  if (failure) Raise(failure, report);
}

void CommitQueue::Finish() {
  jobs_.WaitIdle();
  RaiseFailure();
}

bool CommitQueue::Holds(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const Waiting& w : waiting_) {
    if (SameTextAscii(w.path, path)) return true;
  }
  return false;
}

bool CommitQueue::Busy() {
  std::lock_guard<std::mutex> lock(mutex_);
  return !waiting_.empty();
}

}  // namespace quillon
