#pragma once
// COM for the calling thread, entered on first use rather than at the program's start:
// starting COM under Wine makes a window and loads ole32 with what it needs, which the wizard's
// first window has no use for. Every adapter that calls into COM or the shell's COM-based
// functions (links, the folder picker, automation, the COM+ catalogue, ShellExecute) enters
// first.

namespace quillon {

// Enters a single-threaded apartment on this thread, once; later calls cost a test of a flag.
// A thread already in an apartment of either kind keeps it.
void EnterComApartment();

// Leaves the apartment EnterComApartment entered on this thread, if it did.
void LeaveComApartment();

}  // namespace quillon
