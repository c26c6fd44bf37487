#pragma once
// The built-in licence agreements, one per language, and the maker names they use. The
// product information replaces those names with the reseller's.

#include <string>

namespace quillon {

// The maker's names as written in the agreements. The English agreement uses its short name
// for both searches; its full name ("... Co., Ltd.") starts with the short one.
inline const std::wstring kMakerShortA = L"澄岫软件";
inline const std::wstring kMakerFullA = L"澄岫数据科技有限公司";
inline const std::wstring kMakerShortB = L"澄岫軟體";
inline const std::wstring kMakerFullB = L"澄岫資料科技有限公司";
inline const std::wstring kMakerShortC = L"Chengxiu Soft";

// The agreement of language column 0 (A, simplified Chinese), 1 (B, traditional Chinese) or
// 2 (C, English): plain text, lines separated by CR LF, no final line break.
std::wstring LicenceText(int column);

}  // namespace quillon
