// Stand-in for the product's agent program in the platform tests: built as VXKALDERAgent.exe,
// it only sleeps, for the milliseconds given as its argument (default 60 s), so a test can
// find it in the process list, stop it, or wait for it. It ends by itself, so a failed test
// leaves nothing running for long.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  const long ms = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 60000;
  Sleep(ms > 0 ? static_cast<DWORD>(ms) : 0);
  return 0;
}
