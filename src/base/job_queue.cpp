#include "base/job_queue.h"

#include <system_error>

namespace quillon {

ThreadJobQueue::~ThreadJobQueue() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void ThreadJobQueue::Post(std::function<void()> job) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread([this] { Loop(); });
    } catch (const std::system_error&) {
      // No thread to be had: the job runs here, which keeps the order (nothing was queued).
      lock.unlock();
      job();
      return;
    }
  }
  jobs_.push_back(std::move(job));
  lock.unlock();
  changed_.notify_all();
}

void ThreadJobQueue::WaitIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void ThreadJobQueue::Loop() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !jobs_.empty() || ending_; });
    if (jobs_.empty()) return;  // ending, and nothing left to run
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    busy_ = true;
    lock.unlock();
    job();
    job = nullptr;  // whatever the job held goes before it counts as run
    lock.lock();
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace quillon
