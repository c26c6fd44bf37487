#pragma once
// Process and folder helpers of the install: run a program and wait for it while the window
// stays served, stop a running program of the product before its file is replaced, the
// system and shared data folders, making sure a folder exists, and replacing a folder with a
// copy of another. None of them keeps state between calls.

#include <functional>
#include <string>

#include "platform/ports/file_system.h"
#include "platform/ports/processes.h"
#include "platform/ports/shell.h"

namespace quillon {

// Serves the caller's window (dispatches its pending messages) while a helper waits.
using MessagePump = std::function<void()>;

// Starts `program` through the shell (default verb, no error box), waits until it is ready
// for input, then until it ends, calling `serve` after every 10 ms wait that timed out.
// True when the program was started; its exit code is not read. A program that never ends
// keeps the caller here, with its window still served.
bool RunAndWait(Processes& processes, const MessagePump& serve, const std::wstring& program,
                const std::wstring& parameters, ShowMode show);

// Ends the first running process, in the system's order, whose program file name
// upper-cased (ASCII letters) equals `upper_name` exactly, so a lower-case name never
// matches. True when a process matched, also when it could not be ended; later processes of
// the same name are left alone.
bool StopProcessByName(Processes& processes, const std::wstring& upper_name);

// The Windows system folder with a trailing "\". FileError when the system cannot tell.
std::wstring GetSystemDir(Shell& shell);

// The all-users application data folder as the system gives it, without a trailing "\".
// FileError when the system cannot tell.
std::wstring GetCommonAppDataDir(Shell& shell);

// Makes sure `folder` exists, creating every missing level. FileError "不能建立目录：" and the
// folder path when it cannot.
void EnsureFolder(FileSystem& fs, const std::wstring& folder);

// Deletes `target` with everything in it when it is an existing folder, then copies the
// `source` folder to `target`, without questions; the shell may show progress owned by
// `owner`. Failures of either step are not reported.
void ReplaceFolderCopy(FileSystem& fs, Shell& shell, WindowHandle owner, const std::wstring& source,
                       const std::wstring& target);

}  // namespace quillon
