#pragma once
// Work handed off the caller's thread: jobs run one after another, in the order given.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace quillon {

class JobQueue {
 public:
  virtual ~JobQueue() = default;
  // Queues `job`; jobs must not throw.
  virtual void Post(std::function<void()> job) = 0;
  // Returns once every job posted so far has run.
  virtual void WaitIdle() = 0;
};

// Jobs run at once, inside Post, on the caller's thread.
class ImmediateJobQueue : public JobQueue {
 public:
  void Post(std::function<void()> job) override { job(); }
  void WaitIdle() override {}
};

// Jobs on a thread of their own, started with the first job. Destroyed, it runs the jobs left
// and then ends the thread.
class ThreadJobQueue : public JobQueue {
 public:
  ThreadJobQueue() = default;
  ~ThreadJobQueue() override;
  ThreadJobQueue(const ThreadJobQueue&) = delete;
  ThreadJobQueue& operator=(const ThreadJobQueue&) = delete;

  void Post(std::function<void()> job) override;
  void WaitIdle() override;

 private:
  void Loop();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> jobs_;
  bool busy_ = false;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace quillon
