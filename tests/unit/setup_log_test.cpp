// The run's log writer: UTF-8 lines with their time, written as they come, and a log that
// cannot be written said once on standard error without stopping anything.
#include "app/setup_log.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_log_output.h"

namespace quillon {
namespace {

const std::wstring kPath = L"C:\\logs\\q.log";

TEST(SetupLog, WritesEachEventAsOneTimedUtf8LineAtOnce) {
  FakeLogOutput out;
  SetupLog log(out);
  ASSERT_TRUE(log.Open(kPath));
  EXPECT_EQ(out.files[kPath], "\xEF\xBB\xBF");
  out.milliseconds = 7;
  log.Line(L"file written: C:\\Q\\报表.xla, 12 bytes");
  // Written before the next event comes: a killed run keeps it.
  EXPECT_EQ(out.files[kPath],
            "\xEF\xBB\xBF"
            "2024-05-01 09:30:12.007  file written: C:\\Q\\报表.xla, 12 bytes\r\n");
  log.Line(L"message box: 文件夹\r\n不能创建\nx\ry");
  EXPECT_EQ(out.Lines(kPath).back(),
            "2024-05-01 09:30:12.007  message box: 文件夹 | 不能创建 | x | y");
}

TEST(SetupLog, UnwritableLogIsSaidOnceAndIgnored) {
  struct Case {
    const char* name;
    bool refuse_open;
    int appends;
  };
  const Case cases[] = {{"cannot be made", true, -1}, {"disk full later", false, 2}};
  for (const Case& c : cases) {
    FakeLogOutput out;
    if (c.refuse_open) out.refuse_open.insert(kPath);
    out.appends_before_failure = c.appends;
    SetupLog log(out);
    EXPECT_EQ(log.Open(kPath), !c.refuse_open) << c.name;
    for (int i = 0; i < 5; ++i) log.Line(L"event");
    EXPECT_FALSE(log.writing()) << c.name;
    ASSERT_EQ(out.standard_error.size(), 1u) << c.name;
    EXPECT_NE(out.standard_error[0].find(kPath), std::wstring::npos) << c.name;
  }
}

TEST(SetupLog, DefaultNameFromProgramAndStartTime) {
  const LocalTime t{2024, 12, 3, 4, 5, 6, 789};
  EXPECT_EQ(DefaultLogName(L"C:\\setup\\QuillonSetup.exe", t), L"QuillonSetup_20241203_040506.log");
  EXPECT_EQ(DefaultLogName(L"D:\\x.y\\Client Setup.v2.EXE", t),
            L"Client Setup.v2_20241203_040506.log");
  EXPECT_EQ(DefaultLogName(L"", t), L"QuillonSetup_20241203_040506.log");
  EXPECT_EQ(LogTimeText(t), L"2024-12-03 04:05:06.789");
}

}  // namespace
}  // namespace quillon
