// store: the payload store (manifest and one compressed record per entry) and the resource
// script that puts it into the installer.
#include <algorithm>
#include <map>
#include <ostream>
#include <set>

#include "base/text.h"
#include "commands.h"
#include "deflate_pack.h"
#include "deploy/install_manifest.h"
#include "formats/pe_header.h"
#include "formats/record_writer.h"
#include "tool_io.h"

namespace quillon::pack {

namespace fs = std::filesystem;

namespace {

// "*" any run of characters, "?" one character; ASCII letter case ignored.
bool WildcardMatch(const std::wstring& pattern, const std::wstring& text) {
  const std::wstring p = UpperAscii(pattern);
  const std::wstring t = UpperAscii(text);
  size_t pi = 0, ti = 0, star = std::wstring::npos, mark = 0;
  while (ti < t.size()) {
    if (pi < p.size() && (p[pi] == L'?' || p[pi] == t[ti])) {
      ++pi;
      ++ti;
    } else if (pi < p.size() && p[pi] == L'*') {
      star = pi++;
      mark = ti;
    } else if (star != std::wstring::npos) {
      pi = star + 1;
      ti = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == L'*') ++pi;
  return pi == p.size();
}

bool IsPlainIdentifier(const std::string& name) {
  static const std::set<std::string> kKeywords = {
      "ACCELERATORS",   "BEGIN",       "BITMAP",      "CURSOR",  "DIALOG",
      "DIALOGEX",       "END",         "FONT",        "HTML",    "ICON",
      "LANGUAGE",       "MANIFEST",    "MENU",        "MENUEX",  "MESSAGETABLE",
      "RCDATA",         "STRINGTABLE", "VERSIONINFO", "TOOLBAR", "DLGINIT",
      "ANICURSOR",      "ANIICON",     "PLUGPLAY",    "VXD",     "CHARACTERISTICS",
      "VERSION",        "CAPTION",     "CLASS",       "STYLE",   "EXSTYLE",
      "MENUITEM",       "POPUP",       "SEPARATOR",   "VIRTKEY", "ASCII",
      "NOINVERT",       "ALT",         "SHIFT",       "CONTROL", "FILEVERSION",
      "PRODUCTVERSION", "MOVEABLE",    "FIXED",       "PURE",    "IMPURE",
      "PRELOAD",        "LOADONCALL",  "DISCARDABLE", "NOT"};
  if (name.empty()) return false;
  const char first = name[0];
  if (!((first >= 'A' && first <= 'Z') || first == '_')) return false;
  for (char c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return kKeywords.count(name) == 0;
}

std::string RcString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') {
      out += "\"\"";
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

bool IsStorableBlobName(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (c < 0x20 || c > 0x7E || c == '"' || c == '\\' || c == '/') return false;
  }
  return true;
}

std::string ResourceScript(const std::vector<ScriptLine>& lines) {
  std::string out =
      "// The installer's payload store, written by quillon-pack: the install manifest and one\n"
      "// compressed record per manifest entry.\n";
  for (const ScriptLine& line : lines) {
    const std::string file = RcString(fs::absolute(line.file).u8string());
    if (IsPlainIdentifier(line.name)) {
      out += line.name + " " + line.type + " " + file + "\n";
    } else {
      // Quoted: windres would read a digit-led name as a number or fail on other characters.
      // The LANGUAGE line (windres's own default) keeps the quoted name from being joined to
      // the file name string of the line before.
      out += "LANGUAGE 9, 1\n" + RcString(line.name) + " " + line.type + " " + file + "\n";
    }
  }
  return out;
}

std::vector<StoreEntry> BuildStore(const StoreOptions& options, CodePage& code_page) {
  const Bytes manifest_bytes = ReadBytes(options.manifest);
  const std::wstring manifest_text =
      code_page.FromAnsi(std::string(manifest_bytes.begin(), manifest_bytes.end()));
  const InstallManifest manifest = InstallManifest::Parse(manifest_text);
  if (manifest.entries().empty()) throw Error(L"The install manifest has no entries");

  // Everything is checked before anything is written.
  std::vector<StoreEntry> entries;
  std::map<std::string, std::wstring> blobs;
  std::vector<std::wstring> lines;
  std::vector<fs::path> sources;
  for (size_t i = 0; i < manifest.entries().size(); ++i) {
    const ManifestEntry& e = manifest.entries()[i];
    const std::wstring where =
        L"Line " + IntToText(static_cast<long long>(i + 1)) + L" of the install manifest";
    if (e.name.empty()) throw Error(where + L" has no file name");
    if (e.name.find_first_of(L"\\/") != std::wstring::npos) {
      throw Error(where + L": \"" + e.name + L"\" is not a plain file name");
    }
    StoreEntry entry;
    entry.name = e.name;
    entry.flag = e.flag;
    entry.blob = ToUtf8(UpperAscii(PayloadBlobName(e.name)));
    if (!IsStorableBlobName(entry.blob)) {
      throw Error(where + L": the name \"" + e.name +
                  L"\" gives a resource name that a resource script cannot hold");
    }
    const auto [it, fresh] = blobs.emplace(entry.blob, e.name);
    if (!fresh) {
      throw Error(where + L": \"" + e.name + L"\" has the same resource name " +
                  FromUtf8(entry.blob) + L" as \"" + it->second + L"\"");
    }
    entry.as_given = UpperAscii(e.name).find(L"NAVSET") != std::wstring::npos;
    for (const std::wstring& name : options.twice) entry.twice |= SameTextAscii(name, e.name);
    for (const std::wstring& pattern : options.twice_patterns) {
      entry.twice |= WildcardMatch(pattern, e.name);
    }
    // The file as named; failing that, the one file whose name differs only in letter case.
    fs::path source = options.payload_folder / PathOf(ToUtf8(e.name));
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) {
      std::vector<fs::path> matches;
      if (fs::is_directory(options.payload_folder, ec)) {
        for (const auto& f : fs::directory_iterator(options.payload_folder)) {
          if (f.is_regular_file() && SameTextAscii(FromUtf8(Utf8Of(f.path().filename())), e.name)) {
            matches.push_back(f.path());
          }
        }
      }
      if (matches.size() != 1) {
        throw Error(where + L": no file \"" + FromUtf8(Utf8Of(source)) + L"\"");
      }
      source = matches.front();
    }
    sources.push_back(source);
    lines.push_back(e.name + L"=" + e.flag);
    entries.push_back(entry);
  }
  for (const std::wstring& name : options.twice) {
    if (!manifest.Contains(name)) {
      throw Error(L"--twice names \"" + name + L"\", which the install manifest does not list");
    }
  }
  const std::string manifest_out =
      ToCodePage(code_page, JoinLinesCrLf(lines), L"the install manifest");

  std::error_code ec;
  fs::create_directories(options.output_folder, ec);
  if (!fs::is_directory(options.output_folder)) {
    throw Error(L"Cannot create the folder \"" + FromUtf8(Utf8Of(options.output_folder)) + L"\"");
  }
  std::vector<ScriptLine> script;
  const fs::path manifest_file = options.output_folder / kStoreManifestFile;
  WriteText(manifest_file, manifest_out);
  script.push_back({kStoreManifestFile, "INIFILE", manifest_file});
  RecordOptions record;
  record.level = options.level;
  for (size_t i = 0; i < entries.size(); ++i) {
    StoreEntry& entry = entries[i];
    Bytes body = ReadBytes(sources[i]);
    entry.body_size = body.size();
    if (entry.flag == L"1" &&
        !PeMachine(Bytes(body.begin(), body.begin() + std::min<size_t>(body.size(), 65536)))) {
      entry.warning =
          L"\"" + entry.name + L"\" is to be registered as a COM server but is no program file";
    }
    if (entry.twice && !entry.as_given) body = PackRecord(body, record);
    const Bytes packed = entry.as_given ? body : PackRecord(body, record);
    entry.record_size = packed.size();
    const fs::path file = options.output_folder / PathOf(entry.blob);
    WriteBytes(file, packed);
    script.push_back({entry.blob, "ZIPFILE", file});
  }
  const fs::path script_path =
      options.script.empty() ? options.output_folder / "payload.rc" : options.script;
  WriteText(script_path, ResourceScript(script));
  return entries;
}

int CommandStore(const std::vector<std::string>& raw, std::ostream& out) {
  const Args args(
      raw, {"--twice", "--twice-match", "--level", "--rc", "--code-page", "-o", "--output"}, {});
  args.ExpectPositional(2, 2, "the payload folder and the install manifest");
  StoreOptions options;
  options.payload_folder = PathOf(args.positional()[0]);
  options.manifest = PathOf(args.positional()[1]);
  const std::string output = args.Value("-o", args.Value("--output"));
  if (output.empty()) throw UsageError("option -o (the store folder to write) is required");
  options.output_folder = PathOf(output);
  if (args.Has("--rc")) options.script = PathOf(args.Value("--rc"));
  for (const std::string& name : args.All("--twice")) options.twice.push_back(FromUtf8(name));
  for (const std::string& p : args.All("--twice-match")) {
    options.twice_patterns.push_back(FromUtf8(p));
  }
  options.level = ParseLevel(args.Value("--level", "1"));
  const auto code_page = OpenCodePage(args.Value("--code-page", "GBK"));
  const std::vector<StoreEntry> entries = BuildStore(options, *code_page);
  for (const StoreEntry& e : entries) {
    out << e.blob << "  " << ToUtf8(e.name) << "=" << ToUtf8(e.flag) << "  " << e.body_size
        << " -> " << e.record_size << " bytes"
        << (e.as_given ? " (as given)"
            : e.twice  ? " (packed twice)"
                       : "")
        << "\n";
  }
  for (const StoreEntry& e : entries) {
    if (!e.warning.empty()) out << "warning: " << ToUtf8(e.warning) << "\n";
  }
  out << "wrote " << entries.size() << " records and the manifest to " << output << "\n";
  return 0;
}

}  // namespace quillon::pack
