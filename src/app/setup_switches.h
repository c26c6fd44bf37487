#pragma once
// The switches of unattended deployment (/SILENT, /VERYSILENT, /SUPPRESSMSGBOXES, /DIR=,
// /LOG[=file], /LANG=, /? and /HELP): found anywhere on the command line, in any letter case,
// and taken out before the launch role and the base folder are read.

#include <optional>
#include <string>
#include <vector>

namespace quillon {

struct SetupSwitches {
  bool silent = false;              // /SILENT: pages and progress shown, nothing asked
  bool very_silent = false;         // /VERYSILENT: no window at all
  bool suppress_msgboxes = false;   // /SUPPRESSMSGBOXES (implied by /VERYSILENT)
  std::optional<std::wstring> dir;  // /DIR=folder, as given
  bool log = false;                 // /LOG or /LOG=file
  std::wstring log_file;            // empty with /LOG alone: a file in the temporary folder
  std::wstring lang;                // /LANG=A|B|C (upper-cased); empty: not given
  bool help = false;                // /? or /HELP
  // Every argument that is no switch, in order: the launch role and the base folder.
  std::vector<std::wstring> rest;
  // Wrong usage: the argument and what is wrong with it, in English (the help box says it
  // in the language in use); empty when the command line is sound.
  std::wstring bad_argument;
  enum class Fault { None, UnknownSwitch, MissingValue, BadLanguage, DirWithBaseFolder };
  Fault fault = Fault::None;

  // The run asks nothing of anyone: /SILENT or /VERYSILENT.
  bool unattended() const { return silent || very_silent; }
  // No message box waits: /SUPPRESSMSGBOXES or /VERYSILENT.
  bool boxes_suppressed() const { return suppress_msgboxes || very_silent; }
  bool any() const {
    return silent || very_silent || suppress_msgboxes || dir || log || !lang.empty() || help ||
           fault != Fault::None;
  }
};

// Splits the arguments into switches and the rest. An argument is a switch when it starts
// with "/" (no folder a role takes does); one that names none of the switches above is
// wrong usage, as are "/DIR=" and "/LOG=" without a value, a language other than A, B or C,
// and /DIR given together with a launch role's base folder (the second remaining argument
// after "CLIENT", "WEB" or "WEB_CLIENT"). The first fault found is kept; later arguments are
// still sorted. A switch given twice: the last one counts.
SetupSwitches ParseSetupSwitches(const std::vector<std::wstring>& args);

}  // namespace quillon
