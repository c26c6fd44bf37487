// window_start: how long a program takes from its start until its window is visible.
//
//   window_start [--runs N] [--warmup N] [--marks] CLASS PROGRAM [ARGS...]
//
// Each run starts PROGRAM, watches for a visible top-level window of the window class CLASS
// belonging to the new process, notes the time since just before CreateProcess, then ends
// the process. The warm-up runs (default 1) are not counted. Prints each run in
// milliseconds and then the minimum, median and maximum.
//
// With --marks the program is started with QUILLON_START_MARKS naming a file, into which a
// program that takes start-up marks (QuillonSetup.exe) writes the moments it reaches on its
// way to the window; a run then lasts until its "painted" mark (or 5 s) before the process is
// ended. The medians of those marks, from the start and from the mark before, follow the
// times, which then hold the cost of writing the marks.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
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

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The marks a run's program wrote: name and counter value (a point), or name and "+ticks"
// (a piece of a span), in the order written.
struct Mark {
  std::string name;
  bool span;
  long long value;
};

std::vector<Mark> ReadMarks(const std::wstring& path) {
  std::vector<Mark> marks;
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return marks;
  char name[64], value[32];
  while (std::fscanf(file, "%63s %31s", name, value) == 2) {
    const bool span = value[0] == '+';
    marks.push_back({name, span, std::atoll(value + (span ? 1 : 0))});
  }
  std::fclose(file);
  return marks;
}

bool HasMark(const std::wstring& path, const char* name) {
  for (const Mark& m : ReadMarks(path)) {
    if (m.name == name) return true;
  }
  return false;
}

// Milliseconds from just before the start of `command` until its window shows; a negative
// number when the program ends first, or shows nothing within `timeout_ms`. `start_counter`
// gets the performance counter's value at the start.
double TimeOneStart(const std::wstring& command, const wchar_t* window_class, DWORD timeout_ms,
                    const std::wstring& marks_file, long long* start_counter) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  std::wstring line = command;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  QueryPerformanceCounter(&start);
  *start_counter = start.QuadPart;
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
  // A program that takes marks is left to paint its window first.
  if (elapsed >= 0 && !ReadMarks(marks_file).empty()) {
    for (int waited = 0; waited < 5000 && !HasMark(marks_file, "painted"); waited += 5) {
      if (WaitForSingleObject(process.hProcess, 5) == WAIT_OBJECT_0) break;
    }
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
  bool marks = false;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == L'-'; i += 2) {
    if (std::wcscmp(argv[i], L"--marks") == 0) {
      marks = true;
      --i;
    } else if (std::wcscmp(argv[i], L"--runs") == 0) {
      runs = std::max(1, _wtoi(argv[i + 1]));
    } else if (std::wcscmp(argv[i], L"--warmup") == 0) {
      warmup = std::max(0, _wtoi(argv[i + 1]));
    } else {
      break;
    }
  }
  if (argc - i < 2) {
    std::fprintf(stderr,
                 "usage: window_start [--runs N] [--warmup N] [--marks] CLASS PROGRAM [ARGS...]\n");
    return 2;
  }
  const wchar_t* window_class = argv[i];
  std::wstring command = Quoted(argv[i + 1]);
  for (int a = i + 2; a < argc; ++a) command += L" " + Quoted(argv[a]);

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring marks_file =
      std::wstring(temp) + L"window_start-" + std::to_wstring(GetCurrentProcessId()) + L".marks";
  SetEnvironmentVariableW(L"QUILLON_START_MARKS", marks ? marks_file.c_str() : nullptr);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const double ms_per_tick = 1000.0 / static_cast<double>(frequency.QuadPart);

  std::vector<double> times;
  // Per mark: its order of first appearance, and per run its time from the start, from the
  // mark before it, or (spans) its total.
  std::vector<std::string> order;
  std::map<std::string, std::vector<double>> from_start, step, spans;
  for (int run = 0; run < warmup + runs; ++run) {
    DeleteFileW(marks_file.c_str());
    long long start = 0;
    const double ms = TimeOneStart(command, window_class, 60000, marks_file, &start);
    if (ms < 0) {
      std::fprintf(stderr, "window_start: no visible %ls window from %ls\n", window_class,
                   argv[i + 1]);
      return 1;
    }
    if (run < warmup) continue;
    times.push_back(ms);
    long long before = start;
    std::map<std::string, double> totals;
    for (const Mark& m : ReadMarks(marks_file)) {
      if (std::find(order.begin(), order.end(), m.name) == order.end()) order.push_back(m.name);
      if (m.span) {
        totals[m.name] += static_cast<double>(m.value) * ms_per_tick;
        continue;
      }
      from_start[m.name].push_back(static_cast<double>(m.value - start) * ms_per_tick);
      step[m.name].push_back(static_cast<double>(m.value - before) * ms_per_tick);
      before = m.value;
    }
    for (const auto& t : totals) spans[t.first].push_back(t.second);
  }
  DeleteFileW(marks_file.c_str());
  std::printf("runs (ms)");
  for (double t : times) std::printf(" %.0f", t);
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  std::printf("\nmin %.0f median %.0f max %.0f ms\n", times.front(), median, times.back());
  if (!order.empty()) {
    std::printf("marks, median ms: from the start, from the mark before\n");
    for (const std::string& name : order) {
      if (spans.count(name)) {
        std::printf("  %-14s %7s %7.1f  (total of its pieces)\n", name.c_str(), "",
                    Median(spans[name]));
      } else {
        std::printf("  %-14s %7.1f %7.1f\n", name.c_str(), Median(from_start[name]),
                    Median(step[name]));
      }
    }
  }
  return 0;
}
