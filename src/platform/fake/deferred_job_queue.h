#pragma once
// Jobs held back until someone waits for them, then run on the waiting thread: the latest
// a background job may run, so that a step which forgets to wait for one sees it undone.

#include <deque>
#include <functional>

#include "base/job_queue.h"

namespace quillon {

class DeferredJobQueue : public JobQueue {
 public:
  void Post(std::function<void()> job) override { jobs_.push_back(std::move(job)); }
  void WaitIdle() override {
    while (!jobs_.empty()) {
      std::function<void()> job = std::move(jobs_.front());
      jobs_.pop_front();
      job();
    }
  }
  size_t waiting() const { return jobs_.size(); }

 private:
  std::deque<std::function<void()>> jobs_;
};

}  // namespace quillon
