#pragma once
// INI files of this folder with the answers the Windows profile reader
// (GetPrivateProfileStringW with a 2048-character buffer) gives for them, checked under Wine.
// The unit tests run our INI reader against this table; a platform test can ask the real
// profile reader the same questions.

#include <cstddef>

namespace quillon::ini_cases {

struct Query {
  const char* file;  // in this folder
  const wchar_t* section;
  const wchar_t* key;
  // Expected value; nullptr when the reader finds nothing and hands back the default.
  const wchar_t* expected;
  // When non-zero, the expected value is `repeat` copies of expected[0].
  size_t repeat = 0;
};

inline const Query kQueries[] = {
    // Blanks around names and values are dropped; inner blanks stay.
    {"basic.ini", L"Setup", L"DEFAULT_PATH", L"C:\\Tovrin"},
    {"basic.ini", L"Setup", L"Name", L"Value with  inner  blanks"},
    {"basic.ini", L"Setup", L"Indented", L"yes"},
    {"basic.ini", L"Setup", L"Empty", L""},
    {"basic.ini", L"Setup", L"BlankOnly", L""},
    {"basic.ini", L"Setup", L"Missing", nullptr},
    {"basic.ini", L"Setup", L"OnlyHere", nullptr},
    {"basic.ini", L"Other", L"DEFAULT_PATH", L"D:\\Elsewhere"},
    {"basic.ini", L"Nowhere", L"DEFAULT_PATH", nullptr},
    // Names compare without regard to case.
    {"case.ini", L"mixed", L"camelkey", L"1"},
    {"case.ini", L"MIXED", L"CAMELKEY", L"1"},
    // Blanks around the names asked for are dropped too.
    {"basic.ini", L"  Setup  ", L"DEFAULT_PATH", L"C:\\Tovrin"},
    {"basic.ini", L"Setup", L"  Name  ", L"Value with  inner  blanks"},
    // Keys before the first section line belong to the empty section name.
    {"before_section.ini", L"", L"Before", L"1"},
    {"before_section.ini", L"", L"Also", L"2"},
    {"before_section.ini", L"After", L"Before", L"3"},
    {"before_section.ini", L"After", L"Also", nullptr},
    {"no_section.ini", L"", L"Loose", L"1"},
    {"no_section.ini", L"", L"More", L"2"},
    {"empty.ini", L"", L"Anything", nullptr},
    // Blank lines are skipped; a line without "=" names a key without a value.
    {"blank_and_noeq.ini", L"S", L"Key", L"1"},
    {"blank_and_noeq.ini", L"S", L"Key2", L"2"},
    {"blank_and_noeq.ini", L"S", L"NoEquals", nullptr},
    {"blank_and_noeq.ini", L"S", L"just some words", nullptr},
    // Lines starting with ";" (after blanks) are comments: they are left out of key listings
    // but stay keys whose names begin with ";". "#" starts no comment, nor does a ";" inside.
    {"comments.ini", L"C", L"Commented", nullptr},
    {"comments.ini", L"C", L";Commented", L"1"},
    {"comments.ini", L"C", L";Indented", L"5"},
    {"comments.ini", L"C", L"#Hash", L"3"},
    {"comments.ini", L"C", L"Real", L"4 ; not a comment"},
    {"comments.ini", L";NotSection", L"X", L"6"},
    // The first of duplicate keys wins; only the first of duplicate sections is searched.
    {"duplicates.ini", L"D", L"Key", L"first"},
    {"duplicates.ini", L"d", L"KEY", L"first"},
    {"duplicates.ini", L"D", L"OnlyInSecond", nullptr},
    {"duplicates.ini", L"Other", L"A", L"1"},
    // The value is everything after the first "=".
    {"equals.ini", L"K", L"A", L"=v"},
    {"equals.ini", L"K", L"", L"nameless"},
    {"equals.ini", L"K", L"B", L"x=y"},
    {"equals.ini", L"K", L"my key", L"spaced name"},
    {"equals.ini", L"K", L"Tabs", L"t1"},
    // Section lines: blanks inside the brackets dropped, the last "]" closes the name,
    // text after it is ignored; a line without "]" is no section line.
    {"headers.ini", L"Spaced", L"A", L"1"},
    {"headers.ini", L" Spaced ", L"A", L"1"},
    {"headers.ini", L"a]b", L"B", L"2"},
    {"headers.ini", L"Sec", L"C", L"3"},
    {"headers.ini", L"Sec", L"D", L"4"},
    {"headers.ini", L"[Unclosed", L"D", nullptr},
    {"headers.ini", L"Sec", L"[Open", L"8"},
    {"headers.ini", L"", L"E", nullptr},
    {"headers.ini", L"Tabbed", L"F", L"6"},
    {"headers.ini", L"Indented", L"G", L"7"},
    // Lines end at CR, LF or any run of them.
    {"line_endings.ini", L"First", L"A", L"cr"},
    {"line_endings.ini", L"First", L"B", L"2"},
    {"line_endings.ini", L"Second", L"C", L"lf"},
    {"line_endings.ini", L"Second", L"D", L"crlf"},
    {"line_endings.ini", L"Second", L"E", L"lfcr"},
    {"line_endings.ini", L"Second", L"F", L"many"},
    // Values are cut at 2047 characters; a quoted value loses its closing quote to the cut.
    {"long_values.ini", L"L", L"V2046", L"x", 2046},
    {"long_values.ini", L"L", L"V2047", L"y", 2047},
    {"long_values.ini", L"L", L"V2048", L"z", 2047},
    {"long_values.ini", L"L", L"V3000", L"w", 2047},
    {"long_values.ini", L"L", L"Q2045", L"q", 2045},
    {"long_values.ini", L"L", L"Q2046", L"r", 2046},
    {"long_values.ini", L"L", L"Q2047", L"s", 2046},
    {"long_values.ini", L"L", L"Q2048", L"t", 2047},
    // One pair of matching quotes (double or single) around the value is removed.
    {"quotes.ini", L"Q", L"Double", L"quoted value"},
    {"quotes.ini", L"Q", L"Single", L"single quoted"},
    {"quotes.ini", L"Q", L"Padded", L"  inner blanks  "},
    {"quotes.ini", L"Q", L"Mismatch", L"\"left'"},
    {"quotes.ini", L"Q", L"OnlyOpen", L"\"open"},
    {"quotes.ini", L"Q", L"OnlyClose", L"close\""},
    {"quotes.ini", L"Q", L"Lone", L"\""},
    {"quotes.ini", L"Q", L"EmptyQuotes", L""},
    {"quotes.ini", L"Q", L"TwoPairs", L"a\" \"b"},
    {"quotes.ini", L"Q", L"Inner", L"a\"b\"c"},
    {"quotes.ini", L"Q", L"TripleQuote", L"\""},
    // Blanks are tab, LF, VT, FF, CR, space and U+001A; no other character is one.
    {"whitespace.ini", L"W", L"VT", L"vt"},
    {"whitespace.ini", L"W", L"FF", L"ff"},
    {"whitespace.ini", L"W", L"Sub", L"sub"},
    {"whitespace.ini", L"W", L"Ctl",
     L"\x01"
     L"ctl\x01"},
    {"whitespace.ini", L"Z", L"Z", L"1"},
};

// Section names as the section listing gives them, in file order.
struct Sections {
  const char* file;
  const wchar_t* names[6];  // ends at the first nullptr
};

inline const Sections kSections[] = {
    {"basic.ini", {L"Setup", L"Other"}},
    {"before_section.ini", {L"After"}},
    {"blank_and_noeq.ini", {L"S"}},
    {"case.ini", {L"MiXeD"}},
    {"comments.ini", {L"C", L";NotSection"}},
    {"duplicates.ini", {L"D", L"Other", L"d"}},
    {"empty.ini", {}},
    {"equals.ini", {L"K"}},
    {"headers.ini", {L"Spaced", L"a]b", L"Sec", L"Tabbed", L"Indented"}},
    {"line_endings.ini", {L"First", L"Second"}},
    {"long_values.ini", {L"L"}},
    {"no_section.ini", {}},
    {"quotes.ini", {L"Q"}},
    {"whitespace.ini", {L"W", L"Z"}},
};

}  // namespace quillon::ini_cases
