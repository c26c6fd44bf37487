#pragma once
// Text helpers of the system: ASCII case rules, blanks, replacement and UTF-8 edges.
// All logic works on std::wstring; UTF-8 appears only at the edges (files, tools, tests).

#include <string>
#include <vector>

namespace quillon {

// Upper-cases ASCII letters only; every other character stays as it is.
std::wstring UpperAscii(std::wstring text);
// True when both texts are equal after UpperAscii.
bool SameTextAscii(const std::wstring& a, const std::wstring& b);

// Drops blanks and control characters (code points up to U+0020) at both ends or one end.
std::wstring Trim(const std::wstring& text);
std::wstring TrimLeft(const std::wstring& text);
std::wstring TrimRight(const std::wstring& text);

// Replaces the first occurrence of `from` (exact, case-sensitive); unchanged when absent or
// when `from` is empty.
std::wstring ReplaceFirst(const std::wstring& text, const std::wstring& from,
                          const std::wstring& to);
// Replaces every occurrence, scanning left to right past each replacement.
std::wstring ReplaceAll(const std::wstring& text, const std::wstring& from,
                        const std::wstring& to);

// Fills every "%s" of a format text with `arg`, in order ("%%" stands for "%").
std::wstring FormatS(const std::wstring& format, const std::wstring& arg);

// Splits at CR LF, lone CR or lone LF; a final line break adds no empty line.
std::vector<std::wstring> SplitLines(const std::wstring& text);
// Joins lines, each followed by CR LF.
std::wstring JoinLinesCrLf(const std::vector<std::wstring>& lines);

// UTF-8 <-> UTF-16/32 wide text. Invalid UTF-8 bytes become U+FFFD.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// Decimal text of a signed integer.
std::wstring IntToText(long long value);

// File name part of a path (after the last "\" or "/"), and the folder part with its
// trailing separator.
std::wstring ExtractFileName(const std::wstring& path);
std::wstring ExtractFilePath(const std::wstring& path);

}  // namespace quillon
