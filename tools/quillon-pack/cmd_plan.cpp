// plan: what an installer would do on a clean machine, as text or JSON.
#include <algorithm>
#include <cctype>
#include <ostream>

#include "base/text.h"
#include "commands.h"
#include "plan.h"
#include "tool_io.h"

namespace quillon::pack {

namespace {

std::string Json(const std::wstring& text) {
  std::string out = "\"";
  for (char c : ToUtf8(text)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static const char hex[] = "0123456789abcdef";
          out += "\\u00";
          out += hex[(c >> 4) & 0xF];
          out += hex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string JsonList(const std::vector<std::wstring>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + Json(items[i]);
  return out + "]";
}

std::wstring DriveNames(const std::vector<std::wstring>& drives) {
  std::wstring out;
  for (const auto& d : drives) out += (out.empty() ? L"" : L", ") + d;
  return out;
}

void WriteJson(const InstallPlan& p, std::ostream& out) {
  out << "{\n  \"installer_folder\": " << Json(p.installer_folder)
      << ",\n  \"destination\": " << Json(p.destination)
      << ",\n  \"drives\": " << JsonList(p.drives)
      << ",\n  \"drives_stated\": " << (p.drives_stated ? "true" : "false")
      << ",\n  \"finished\": " << (p.finished ? "true" : "false")
      << ",\n  \"exit_code\": " << p.exit_code << ",\n  \"files\": [";
  for (size_t i = 0; i < p.files.size(); ++i) {
    out << (i ? ",\n    " : "\n    ") << "{\"path\": " << Json(p.files[i].path)
        << ", \"size\": " << p.files[i].size << "}";
  }
  out << "\n  ],\n  \"commands\": " << JsonList(p.commands)
      << ",\n  \"complus\": " << JsonList(p.complus) << ",\n  \"shortcuts\": [";
  for (size_t i = 0; i < p.shortcuts.size(); ++i) {
    const PlannedShortcut& s = p.shortcuts[i];
    out << (i ? ",\n    " : "\n    ") << "{\"file\": " << Json(s.file)
        << ", \"target\": " << Json(s.target) << ", \"arguments\": " << Json(s.arguments)
        << ", \"working_folder\": " << Json(s.working_folder) << ", \"icon\": " << Json(s.icon)
        << "}";
  }
  out << "\n  ],\n  \"registry\": [";
  for (size_t i = 0; i < p.registry.size(); ++i) {
    const PlannedValue& v = p.registry[i];
    out << (i ? ",\n    " : "\n    ") << "{\"hive\": " << Json(v.hive)
        << ", \"key\": " << Json(v.key) << ", \"name\": " << Json(v.name)
        << ", \"data\": " << Json(v.data) << "}";
  }
  out << "\n  ],\n  \"messages\": [";
  for (size_t i = 0; i < p.messages.size(); ++i) {
    const PlannedMessage& m = p.messages[i];
    out << (i ? ",\n    " : "\n    ") << "{\"kind\": " << Json(m.kind)
        << ", \"caption\": " << Json(m.caption) << ", \"text\": " << Json(m.text) << "}";
  }
  out << "\n  ]\n}\n";
}

void WriteText(const InstallPlan& p, std::ostream& out) {
  out << "installer folder: " << ToUtf8(p.installer_folder) << "\n"
      << "destination: " << ToUtf8(p.destination) << "\n"
      << "drives: " << ToUtf8(DriveNames(p.drives))
      << (p.drives_stated ? " (as stated)" : " (assumed: every drive the run names, fixed)") << "\n"
      << "result: " << (p.finished ? "installed, Finish pressed" : "not installed to the end")
      << " (exit code " << p.exit_code << ")\n\nfiles (" << p.files.size() << "):\n";
  for (const auto& f : p.files) out << "  " << ToUtf8(f.path) << "  " << f.size << " bytes\n";
  out << "\nprograms started (" << p.commands.size() << "):\n";
  for (const auto& c : p.commands) out << "  " << ToUtf8(c) << "\n";
  out << "\nCOM+ steps (" << p.complus.size() << "):\n";
  for (const auto& c : p.complus) out << "  " << ToUtf8(c) << "\n";
  out << "\nshortcuts (" << p.shortcuts.size() << "):\n";
  for (const auto& s : p.shortcuts) {
    out << "  " << ToUtf8(s.file) << "\n    -> " << ToUtf8(s.target);
    if (!s.arguments.empty()) out << " " << ToUtf8(s.arguments);
    out << "\n    in " << ToUtf8(s.working_folder);
    if (!s.icon.empty()) out << ", icon " << ToUtf8(s.icon);
    out << "\n";
  }
  out << "\nregistry values (" << p.registry.size() << "):\n";
  for (const auto& v : p.registry) {
    out << "  " << ToUtf8(v.hive) << "\\" << ToUtf8(v.key) << "  " << ToUtf8(v.name) << " = "
        << ToUtf8(v.data) << "\n";
  }
  out << "\nmessages (" << p.messages.size() << "):\n";
  for (const auto& m : p.messages) {
    out << "  [" << ToUtf8(m.kind) << "] " << ToUtf8(m.caption) << ": " << ToUtf8(m.text) << "\n";
  }
}

// "C,D" or "c:, d:" -> "C:", "D:"; C: is always among them, the system being on it.
std::vector<std::wstring> DriveList(const std::string& text) {
  std::vector<std::wstring> drives{L"C:"};
  std::string item;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != ',') {
      if (text[i] != ' ') item += text[i];
      continue;
    }
    if (!item.empty() && item.back() == ':') item.pop_back();
    const bool letter = item.size() == 1 && std::isalpha(static_cast<unsigned char>(item[0]));
    if (!letter) throw UsageError("--drives takes drive letters separated by commas, as C,D");
    const std::wstring drive{
        static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(item[0]))), L':'};
    if (std::find(drives.begin(), drives.end(), drive) == drives.end()) drives.push_back(drive);
    item.clear();
  }
  return drives;
}

}  // namespace

int CommandPlan(const std::vector<std::string>& raw, std::ostream& out) {
  const Args args(raw, {"--dir", "--lang", "--code-page", "--drives"}, {"--json"});
  // The installer's switches (/VERYSILENT, /DIR=..., all starting with "/") go to the installer
  // with the launch role and base folder, wherever they stand.
  size_t switches = 0;
  for (size_t i = 1; i < args.positional().size(); ++i) {
    if (args.positional()[i].rfind("/", 0) == 0) ++switches;
  }
  args.ExpectPositional(1, 3 + switches,
                        "the installer, and optionally a launch role, a base folder and the "
                        "installer's switches");
  PlanOptions options;
  options.installer = PathOf(args.positional()[0]);
  if (args.Has("--dir")) options.folder = PathOf(args.Value("--dir"));
  const std::string lang = args.Value("--lang");
  if (!lang.empty() && lang != "A" && lang != "B" && lang != "C") {
    throw UsageError("--lang takes A, B or C");
  }
  options.language = FromUtf8(lang);
  options.code_page = args.Value("--code-page");
  if (args.Has("--drives")) options.drives = DriveList(args.Value("--drives"));
  for (size_t i = 1; i < args.positional().size(); ++i) {
    options.args.push_back(FromUtf8(args.positional()[i]));
  }
  const InstallPlan plan = MakePlan(options);
  if (args.Has("--json")) {
    WriteJson(plan, out);
  } else {
    WriteText(plan, out);
  }
  return 0;
}

}  // namespace quillon::pack
