#pragma once
// The install procedure: walks the install manifest of the payload store in order, unpacks
// each entry into the destination (a few into the system folder and the shared tabvo
// folder), starts the COM registration of flagged servers, installs flagged server
// components into the COM+ application, then places the data files and icons.

#include <functional>
#include <string>

#include "base/job_queue.h"
#include "platform/ports/code_page.h"
#include "platform/ports/complus.h"
#include "platform/ports/file_system.h"
#include "platform/ports/registry.h"
#include "platform/ports/resources.h"
#include "platform/ports/shell.h"

namespace quillon {

// Progress on the install page.
class InstallProgress {
 public:
  virtual ~InstallProgress() = default;
  virtual void SetTotalParts(int total) = 0;
  // The 1-based number of the entry being handled, skipped entries included.
  virtual void SetPartsComplete(int number) = 0;
  // Shows the target path of the entry about to be written, painted at once.
  virtual void ShowTargetPath(const std::wstring& path) = 0;
};

struct InstallServices {
  Resources* resources = nullptr;
  CodePage* code_page = nullptr;
  FileSystem* files = nullptr;
  Shell* shell = nullptr;
  Registry* registry = nullptr;
  ComPlusCatalogue* complus = nullptr;
  // Where plain files are flushed and put in place while the next entry unpacks; without it,
  // each file is put in place before the next entry starts.
  JobQueue* background = nullptr;
};

// What the wizard hands the procedure.
struct InstallSettings {
  std::wstring installer_dir;               // with its trailing "\"
  std::wstring com_user;                    // identity of the server component application, trimmed
  std::wstring com_password;                // its password, trimmed
  std::wstring ex_file_dir;                 // extra folder beside the installer, or empty
  std::wstring* icon_path_agent = nullptr;  // replaced by the installed copy's path
  std::wstring* icon_path_client = nullptr;  // likewise
  WindowHandle owner = nullptr;              // owner of the shell's progress window
  // The destination-folder check without the create question (shows its own messages).
  std::function<bool(const std::wstring&)> check_folder;
  // The in-use message of the current language.
  std::wstring in_use_message;
};

// The name of the server component application.
inline const std::wstring kComPlusAppName = L"VXKALDERServer";

// Installs the payload into `dest` (no trailing "\"). Ends normally or with an Error: a
// missing blob or damaged record, a failed write of an entry (reported with the in-use
// message followed by the write error), a failed server-component or registry step, a
// failure of the product information copy. What was written before stays.
void RunInstallProcedure(const std::wstring& dest, InstallServices& services,
                         InstallSettings& settings, InstallProgress& progress);

}  // namespace quillon
