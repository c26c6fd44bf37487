#pragma once
// The data-file steps of the install: the icon set expanded into separate images, and the
// product information file, the configured extra folder and the configured icons copied
// from beside the installer into the destination.

#include <string>

#include "platform/ports/code_page.h"
#include "platform/ports/file_system.h"
#include "platform/ports/registry.h"
#include "platform/ports/shell.h"

namespace quillon {

// True for a bare file or folder name: not empty, no folder part, drive or device syntax, and
// not a name Windows would turn into "." or "..". Only such names may be joined to a folder
// the installer writes into.
bool IsPlainName(const std::wstring& name);

// Writes one file per current row of the icon-set dataset at `dataset_path` ("sName" the file
// name, 8-bit text in the ANSI code page, "sFile" its bytes) into `dest` + "\Icon\", later rows replacing earlier ones of the
// same name. A dataset that cannot be read raises an error; with no rows nothing is created;
// a row that cannot be written, or whose name is not a plain file name, is skipped.
void ExpandIconSet(FileSystem& fs, CodePage& code_page, const std::wstring& dataset_path,
                   const std::wstring& dest);

// Copies "PInfo.dat" from the installer folder (with its trailing "\") into `dest` when it is
// there. Read or write failures raise.
void CopyProductInfoFile(FileSystem& fs, const std::wstring& installer_dir,
                         const std::wstring& dest);

// Replaces `dest`\`ex_dir` by a copy of the installer folder's `ex_dir`. Nothing happens when
// `ex_dir` is empty, not a plain folder name, or no such folder lies beside the installer.
void CopyExtraFilesFolder(FileSystem& fs, Shell& shell, WindowHandle owner,
                          const std::wstring& installer_dir, const std::wstring& ex_dir,
                          const std::wstring& dest);

// Copies the configured icon files into `dest` (failed copies are not reported) and points
// the two paths at the copies; records the agent icon's path (possibly empty) as
// "ExcelAgentIcon" in the product key. A refused registry write raises.
void CopyIconFiles(FileSystem& fs, Registry& registry, const std::wstring& dest,
                   std::wstring& icon_path_agent, std::wstring& icon_path_client);

}  // namespace quillon
