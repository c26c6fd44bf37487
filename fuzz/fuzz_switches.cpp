// The command line's switches: any bytes as UTF-8 text, split into arguments as Windows
// splits a command line, then sorted into switches and the rest.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "app/setup_switches.h"
#include "base/text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text =
      quillon::FromUtf8(std::string(reinterpret_cast<const char*>(data), size));
  const std::vector<std::wstring> args = quillon::SplitArguments(text);
  const quillon::SetupSwitches s = quillon::ParseSetupSwitches(args);
  // Nothing is lost or made up: every argument is either a switch or kept in order.
  FUZZ_CHECK(s.rest.size() <= args.size());
  size_t kept = 0;
  for (const std::wstring& arg : args) {
    if (!arg.empty() && arg[0] == L'/') continue;
    FUZZ_CHECK(kept < s.rest.size() && s.rest[kept] == arg);
    ++kept;
  }
  FUZZ_CHECK(kept == s.rest.size());
  // A fault always names its argument.
  FUZZ_CHECK((s.fault == quillon::SetupSwitches::Fault::None) == s.bad_argument.empty());
  FUZZ_CHECK(s.lang.empty() || s.lang == L"A" || s.lang == L"B" || s.lang == L"C");
  FUZZ_CHECK(!s.dir || !quillon::Trim(*s.dir).empty());
  return 0;
}
