#pragma once
// The common controls library (comctl32), loaded when the first control that needs it is
// made: only the progress bar of the install page does. Loading it, with the class
// registrations its start runs, is a noticeable part of a program's start under Wine, and
// the wizard's first window does not need it.

namespace quillon {

// Loads comctl32 from the system folder and registers its progress bar class, once; false
// when either fails (the progress bar is then not made).
bool LoadProgressBarClass();

}  // namespace quillon
