// The background commits on a real thread: order, a reported failure that stops the queue and
// drops what follows, an ignored one that does not, the bound on waiting files.
#include "deploy/commit_queue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "base/error.h"
#include "base/text.h"

namespace quillon {
namespace {

struct Log {
  std::mutex mutex;
  std::vector<std::string> events;
  void Add(const std::string& event) {
    std::lock_guard<std::mutex> lock(mutex);
    events.push_back(event);
  }
};

// A file whose commit is logged, slowed down, or refused; dropped uncommitted, it says so.
class LoggedFile : public FileReplacement {
 public:
  LoggedFile(Log& log, std::string name, bool refuse)
      : log_(log), name_(std::move(name)), refuse_(refuse) {}
  ~LoggedFile() override {
    if (!committed_) log_.Add("dropped " + name_);
  }
  size_t Read(void*, size_t) override { return 0; }
  void Write(const void*, size_t) override {}
  size_t Size() const override { return 0; }
  size_t Position() const override { return 0; }
  void Seek(size_t) override {}
  void SetSize(size_t) override {}
  void Commit() override {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (refuse_) throw FileError(L"Cannot create file \"" + FromUtf8(name_) + L"\"");
    committed_ = true;
    log_.Add("committed " + name_);
  }

 private:
  Log& log_;
  std::string name_;
  bool refuse_;
  bool committed_ = false;
};

const CommitQueue::Report kStops = [](const Error& e) { throw Error(L"IN USE\r\n" + e.message()); };

TEST(CommitQueue, CommitsInOrderBeyondTheBoundOfWaitingFiles) {
  Log log;
  ThreadJobQueue thread;
  CommitQueue queue(thread);
  std::vector<std::string> expected;
  const size_t count = CommitQueue::kMaxWaiting * 3;
  for (size_t i = 0; i < count; ++i) {
    const std::string name = "f" + std::to_string(i);
    queue.Add(FromUtf8(name), std::make_unique<LoggedFile>(log, name, false), kStops);
    expected.push_back("committed " + name);
  }
  queue.Finish();
  EXPECT_FALSE(queue.Busy());
  EXPECT_EQ(log.events, expected);
}

TEST(CommitQueue, AReportedFailureStopsTheQueueAndIsRaisedOnce) {
  Log log;
  ThreadJobQueue thread;
  CommitQueue queue(thread);
  queue.Add(L"a", std::make_unique<LoggedFile>(log, "a", false), kStops);
  queue.Add(L"lib", std::make_unique<LoggedFile>(log, "lib", true), nullptr);  // may stay
  queue.Add(L"b", std::make_unique<LoggedFile>(log, "b", true), kStops);
  queue.Add(L"c", std::make_unique<LoggedFile>(log, "c", false), kStops);
  try {
    queue.Finish();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), L"IN USE\r\nCannot create file \"b\"");
  }
  EXPECT_NO_THROW(queue.Finish());
  EXPECT_EQ(log.events,
            (std::vector<std::string>{"committed a", "dropped lib", "dropped b", "dropped c"}));
}

TEST(CommitQueue, FilesLeftWaitingAreDroppedWithTheQueue) {
  Log log;
  ThreadJobQueue thread;
  {
    CommitQueue queue(thread);
    queue.Add(L"a", std::make_unique<LoggedFile>(log, "a", true), kStops);
    for (int i = 0; i < 5; ++i) {
      queue.Add(L"x", std::make_unique<LoggedFile>(log, "x", false), kStops);
    }
  }
  EXPECT_EQ(log.events.size(), 6u);
  for (const auto& event : log.events) EXPECT_EQ(event.rfind("dropped", 0), 0u) << event;
}

}  // namespace
}  // namespace quillon
