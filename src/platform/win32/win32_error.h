#pragma once
// The system's own text for a Win32 error code, for messages the user reads.

#include <string>

namespace quillon {

// FormatMessageW's text for `code` in the user's language, without the final line break;
// "System error <code>" when the system has no text for it.
std::wstring SystemErrorText(unsigned long code);

}  // namespace quillon
