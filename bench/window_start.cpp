// window_start: how long a program takes from its start until its window is visible.
//
//   window_start [--runs N] [--warmup N] CLASS PROGRAM [ARGS...]
//
// Each run starts PROGRAM, watches for a visible top-level window of the window class CLASS
// belonging to the new process, notes the time since just before CreateProcess, then ends
// the process. The warm-up runs (default 1) are not counted. Prints each run in
// milliseconds and then the minimum, median and maximum.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD process_id;
  const wchar_t* window_class;
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<Search*>(lparam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !IsWindowVisible(window)) return TRUE;
  wchar_t name[256];
  if (GetClassNameW(window, name, 256) && std::wcscmp(name, search->window_class) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// An argument quoted so that the started program's command-line parser gives it back as is.
std::wstring Quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, L'\\');
  return out + L"\"";
}

// Milliseconds from just before the start of `command` until its window shows; a negative
// number when the program ends first, or shows nothing within `timeout_ms`.
double TimeOneStart(const std::wstring& command, const wchar_t* window_class, DWORD timeout_ms) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  std::wstring line = command;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  double elapsed = -1;
  for (;;) {
    Search search{process.dwProcessId, window_class, nullptr};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&now);
    const double ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
    if (search.found) {
      elapsed = ms;
      break;
    }
    if (ms > timeout_ms || WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 10;
  int warmup = 1;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == L'-'; i += 2) {
    if (std::wcscmp(argv[i], L"--runs") == 0) {
      runs = std::max(1, _wtoi(argv[i + 1]));
    } else if (std::wcscmp(argv[i], L"--warmup") == 0) {
      warmup = std::max(0, _wtoi(argv[i + 1]));
    } else {
      break;
    }
  }
  if (argc - i < 2) {
    std::fprintf(stderr, "usage: window_start [--runs N] [--warmup N] CLASS PROGRAM [ARGS...]\n");
    return 2;
  }
  const wchar_t* window_class = argv[i];
  std::wstring command = Quoted(argv[i + 1]);
  for (int a = i + 2; a < argc; ++a) command += L" " + Quoted(argv[a]);

  std::vector<double> times;
  for (int run = 0; run < warmup + runs; ++run) {
    const double ms = TimeOneStart(command, window_class, 60000);
    if (ms < 0) {
      std::fprintf(stderr, "window_start: no visible %ls window from %ls\n", window_class,
                   argv[i + 1]);
      return 1;
    }
    if (run >= warmup) times.push_back(ms);
  }
  std::printf("runs (ms)");
  for (double t : times) std::printf(" %.0f", t);
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  std::printf("\nmin %.0f median %.0f max %.0f ms\n", times.front(), median, times.back());
  return 0;
}
