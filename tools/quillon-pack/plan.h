#pragma once
// What an installer would do on a clean Windows machine, found by running the installer's own
// start-up, wizard and install sequence over the in-memory platform: the payload store comes
// from the installer's resources, the files beside it from a folder, and the wizard is driven
// as a user who accepts every default would drive it.

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::pack {

struct PlanOptions {
  std::filesystem::path installer;
  std::filesystem::path folder;    // where SysSetup.ini, PInfo.dat... lie; empty: the installer's
  std::wstring language;           // "A", "B", "C"; empty: none stored (A)
  std::vector<std::wstring> args;  // launch role and base folder
  std::string code_page;           // the machine's ANSI code page; empty: by language
  // The machine's fixed drives, "C:" style (C: is always there); empty: every drive the run
  // names (the destination, a base folder...) is there.
  std::vector<std::wstring> drives;
};

struct PlannedFile {
  std::wstring path;
  uintmax_t size = 0;
};
struct PlannedValue {
  std::wstring hive, key, name, data;
};
struct PlannedShortcut {
  std::wstring file, target, arguments, working_folder, icon;
};
struct PlannedMessage {
  std::wstring caption, text;
  std::wstring kind;  // "information", "question", "error" or "plain"
};

struct InstallPlan {
  std::wstring installer_folder;  // the folder the installer runs from, on the machine
  std::wstring destination;
  std::vector<std::wstring> drives;  // the drives the machine had, "C:" style, in letter order
  bool drives_stated = false;        // given by the caller, not assumed
  bool finished = false;  // the install ran to its end and Finish was pressed
  int exit_code = 0;
  std::vector<PlannedFile> files;      // written or replaced, in path order
  std::vector<std::wstring> commands;  // programs started, in order
  std::vector<std::wstring> complus;   // COM+ steps, in order
  std::vector<PlannedShortcut> shortcuts;
  std::vector<PlannedValue> registry;
  std::vector<PlannedMessage> messages;
};

InstallPlan MakePlan(const PlanOptions& options);

}  // namespace quillon::pack
