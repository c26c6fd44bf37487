#pragma once
// Files written whole whose last step, flushing them to disk and renaming them over the files
// they replace, is taken off the install's thread: the install goes on unpacking the next
// entry while the disk catches up. Files are committed in the order added; a commit that
// fails and is reported stops the queue, and the files added after it are dropped (their
// temporary files deleted, the old files kept), as if the install had stopped at it.

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/job_queue.h"
#include "platform/ports/file_system.h"

namespace quillon {

class CommitQueue {
 public:
  // Turns a refused commit into the error that ends the install; called on the caller's
  // thread, when the failure is raised. Must throw.
  using Report = std::function<void(const Error&)>;

  // The commits run as jobs of `jobs`.
  explicit CommitQueue(JobQueue& jobs);
  // Waits for the jobs; files not committed by then are dropped.
  ~CommitQueue();
  CommitQueue(const CommitQueue&) = delete;
  CommitQueue& operator=(const CommitQueue&) = delete;

  // Queues `file` (complete, to become `path`). A refused commit is reported through `report`
  // and stops the queue; without `report` it is ignored and the queue goes on. Waits first
  // while the queue is full; raises nothing itself.
  void Add(const std::wstring& path, std::unique_ptr<FileReplacement> file, Report report);
  // Raises the reported failure of an earlier commit, if there is one, without waiting.
  void RaiseFailure();
  // Waits until every file added is committed or dropped, then raises as RaiseFailure.
  void Finish();
  // Whether a file added for `path` (letter case aside) is still waiting for its commit.
  bool Holds(const std::wstring& path);
  // Whether any file is still waiting for its commit.
  bool Busy();

  // Files that may wait at once: each holds an open temporary file.
  static constexpr size_t kMaxWaiting = 16;

 private:
  struct Waiting {
    std::wstring path;
    std::unique_ptr<FileReplacement> file;
    Report report;
  };
  void CommitOldest();

  JobQueue& jobs_;
  std::mutex mutex_;
  std::vector<Waiting> waiting_;  // oldest first
  bool stopped_ = false;          // a reported failure: later files are dropped
  std::exception_ptr failure_;    // raised once, on the caller's thread
  Report failure_report_;
};

}  // namespace quillon
