// Win32Resources on this program's own resources (platform_tests.rc): case-insensitive
// lookup by type and name, and a view into the loaded image rather than a copy.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_resources.h"
#include "platform/win32/windows_api.h"

namespace quillon {
namespace {

TEST(Win32ResourcesPlatform, FindsBlobsByTypeAndNameInAnyCase) {
  Win32Resources resources;
  const auto blob = resources.Find(L"zipFile", L"QuillonBlob");
  ASSERT_TRUE(blob.has_value());
  const std::string expected("Quillon\x00\x01", 9);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(blob->data), blob->size), expected);

  const auto again = resources.Find(L"ZIPFILE", L"QUILLONBLOB");
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->data, blob->data);
  MEMORY_BASIC_INFORMATION where{};
  ASSERT_NE(VirtualQuery(blob->data, &where, sizeof(where)), 0u);
  EXPECT_EQ(where.AllocationBase, static_cast<void*>(GetModuleHandleW(nullptr)));

  EXPECT_FALSE(resources.Find(L"zipFile", L"MISSING").has_value());
  EXPECT_FALSE(resources.Find(L"INIFile", L"QUILLONBLOB").has_value());
  EXPECT_FALSE(resources.Find(L"", L"").has_value());
}

}  // namespace
}  // namespace quillon
