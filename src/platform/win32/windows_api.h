#pragma once
// <windows.h> for the adapters, without the A/W macros whose names clash with the system's
// own port methods (MessageBox, DeleteFile, CopyFile, CreateDirectory). Call the W functions
// by their full names (::MessageBoxW, ::DeleteFileW, ...). Include this instead of
// <windows.h> anywhere port headers are in play.

#include <windows.h>
// COM's base, which the lean windows.h leaves out.
#include <objbase.h>

#undef MessageBox
#undef DeleteFile
#undef CopyFile
#undef CreateDirectory
#undef GetUserName
#undef FindResource
