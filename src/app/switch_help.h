#pragma once
// The box that lists the command-line switches and the exit codes, in the language in use;
// for wrong usage it first names the argument and what is wrong with it.

#include <string>

#include "app/setup_switches.h"

namespace quillon {

// The box's caption and text for these switches (help asked for, or a fault found).
std::wstring SwitchHelpCaption();
std::wstring SwitchHelpText(const SetupSwitches& switches);

// The message of a second copy that finds an installer running.
std::wstring AlreadyRunningText();

}  // namespace quillon
