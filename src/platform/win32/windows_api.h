#pragma once
// <windows.h> for the adapters, without the A/W macros whose names clash with the system's
// own port methods (MessageBox, DeleteFile, CopyFile, CreateDirectory). Call the W functions
// by their full names (::MessageBoxW, ::DeleteFileW, ...). Include this instead of
// <windows.h> anywhere port headers are in play.

#include <windows.h>

#undef MessageBox
#undef DeleteFile
#undef CopyFile
#undef CreateDirectory
#undef GetUserName
#undef FindResource
