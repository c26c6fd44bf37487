#pragma once
// The headings above the wizard's pages: a main heading and a detail line for each of the
// eight page indexes, in languages A, B and C.

#include <string>

namespace quillon {

inline constexpr int kWizardPageCount = 8;

struct PageHeadings {
  std::wstring main;
  std::wstring detail;
};

// The headings of a page index in the current language (A table for flag A, B for flag B,
// C otherwise). `oem_name`, when non-empty, takes the place of every "Quillon". When
// `start_lang` (the language at start-up) is not "A", the detail line has every "数据库"
// replaced by "资料库" and then every "服务器" by "伺服器". An index outside the pages gives
// nothing.
bool HeadingsOfPage(int index, const std::wstring& oem_name, const std::wstring& start_lang,
                    PageHeadings* out);

}  // namespace quillon
