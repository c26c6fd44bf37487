#pragma once
// Office Excel integration: whether a usable 32-bit Excel is installed, and the registration
// of the client's two add-ins (the "VXFunction.xla" workbook and the "modHook.Office_Addin"
// COM add-in) in Excel's per-user settings for every Office version present.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ports/automation.h"
#include "platform/ports/file_system.h"
#include "platform/ports/registry.h"

namespace quillon {

inline const std::wstring kExcelProgId = L"Excel.Application";

// True when "Excel.Application" names a registered class. Starts nothing.
bool IsExcelRegistered(Automation& automation);

// Starts Excel by automation and tells whether it is a 32-bit build, then makes it quit. While
// it runs, the client setting "ShowLoginWhenOpenExcel" is "0"; a value the user had before is
// put back afterwards. Automation errors reach the caller (Excel is asked to quit first).
bool IsExcel32Bit(Automation& automation, Registry& registry, FileSystem& files);

// How the bitness is told from what Excel and the system report; exposed for tests.
// `server_machine` is the machine type of Excel's automation server program when it could be
// read, `c2r_platform` the Click-to-Run platform value ("x86", "x64", or empty).
bool IsProductCode32Bit(int major_version, const std::wstring& product_code,
                        std::optional<uint16_t> server_machine, const std::wstring& c2r_platform);
// The program path of a registered server command: quotes and arguments taken off.
std::wstring ProgramOfCommand(const std::wstring& command);
// The major version of a version text ("14.0" gives 14); Error when it holds no number.
int MajorVersion(const std::wstring& version);

// Empties Excel's list of disabled items for every Office version 10 to 20 that has one.
void ClearExcelDisabledItems(Registry& registry);
// Puts the quoted path of "VXFunction.xla" in `dest` among the workbooks Excel opens at
// start-up, for every Office version 10 to 20 with an Excel options key: an entry that
// already names the file is updated, otherwise a new entry is added.
void RegisterExcelXlaAddIn(Registry& registry, const std::wstring& dest);
// The COM add-in's per-user registration under `display_name` (left alone when empty), two
// Excel 2010 security settings, and the removal of its machine-wide registration.
void RegisterExcelComAddIn(Registry& registry, const std::wstring& display_name);

}  // namespace quillon
