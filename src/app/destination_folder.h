#pragma once
// The destination-folder check: badly formed folders are refused, non-ASCII names draw a
// hint, a missing folder is created (after a question when asked for).

#include <string>

#include "platform/ports/file_system.h"

namespace quillon {

// True when the text holds any character outside ASCII.
bool HasNonAsciiChar(const std::wstring& text);

// Checks and creates `folder`; true when it is acceptable and exists afterwards. A text longer
// than two characters whose third is not "\" is refused with a message; with `ask` a missing
// folder is created only after the user agrees. Every refusal is shown to the user.
bool CheckDestDir(FileSystem& fs, const std::wstring& folder, bool ask);

}  // namespace quillon
