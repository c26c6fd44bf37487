#include "base/job_queue.h"

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
  {
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(std::move(job));
    if (!thread_.joinable()) thread_ = std::thread([this] { Loop(); });
  }
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
