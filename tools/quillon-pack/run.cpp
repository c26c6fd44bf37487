// Command dispatch, help texts and exit codes.
#include <map>
#include <ostream>

#include "base/text.h"
#include "commands.h"
#include "platform/fake/fake_code_page.h"

namespace quillon::pack {

namespace {

const char kHelp[] =
    "usage: quillon-pack COMMAND [ARGUMENTS]\n"
    "\n"
    "Builds and inspects the packed formats of the Quillon client set-up.\n"
    "\n"
    "commands:\n"
    "  pinfo --product TEXT --maker-full TEXT --caption TEXT --maker-short TEXT --agent TEXT\n"
    "        [-o PInfo.dat] [--code-page NAME | --unicode] [--level N]\n"
    "      The product information file: a compressed record holding a data packet of one\n"
    "      row with the fields a12 (product), a13 (maker's full name), a16 (symbol line\n"
    "      caption), a17 (maker's short name) and a18 (agent name). The fields are 8-bit\n"
    "      strings in the code page (default GBK), which must be the ANSI code page of the\n"
    "      systems that install the product; with --unicode they are UTF-16 strings, read\n"
    "      the same on every system. An empty TEXT (\"\") is allowed.\n"
    "  encode-config SysSetup.ini [-o SysSetup2.ini] [--single-line]\n"
    "        [--from-utf8 [--code-page NAME]]\n"
    "      The encoded twin of a setup configuration: base64 five times over, each level in\n"
    "      lines of 76 characters (one line with --single-line). The file is taken as it is\n"
    "      (ANSI code page), or converted from UTF-8 with --from-utf8.\n"
    "  decode-config SysSetup2.ini [-o SysSetup.ini]\n"
    "      The configuration inside an encoded twin (to standard output without -o).\n"
    "  inspect FILE [--code-page NAME] [--rows N]\n"
    "      What a compressed record (tag, length, text block, body) or a data packet\n"
    "      (columns, properties, rows) holds; a record's body is inspected too.\n"
    "  iconset FOLDER -o glyphs.ico [--code-page NAME]\n"
    "      The icon-set dataset: one row per file of FOLDER, in name order, with the file\n"
    "      name (at most 50 bytes in the code page) and the file's bytes.\n"
    "  store PAYLOAD_FOLDER MANIFEST -o STORE_FOLDER [--twice NAME]... [--twice-match PATTERN]...\n"
    "        [--rc FILE] [--level N] [--code-page NAME]\n"
    "      The payload store: for each manifest line name=flag, the file PAYLOAD_FOLDER/name\n"
    "      packed as a compressed record into STORE_FOLDER/BLOBNAME (the name upper-cased\n"
    "      with every \".\" removed), packed twice when named by --twice or matched by a\n"
    "      --twice-match pattern (* and ?); the manifest as STORE_FOLDER/INSTALLFILEINI with\n"
    "      CR LF line ends; and a windres script (default STORE_FOLDER/payload.rc) with the\n"
    "      lines INSTALLFILEINI INIFILE \"path\" and BLOBNAME ZIPFILE \"path\".\n"
    "  list STORE_FOLDER [--code-page NAME]\n"
    "      The entries of a built store with their sizes; exit code 1 when one is missing\n"
    "      or damaged.\n"
    "  unpack STORE_FOLDER -o FOLDER [--deep] [--code-page NAME]\n"
    "      Every entry unpacked once, as the installer does (--deep: until the body is no\n"
    "      compressed record).\n"
    "  plan INSTALLER [--dir FOLDER] [--lang A|B|C] [--code-page NAME] [--drives C,D] [--json]\n"
    "       [ROLE [BASE]] [/SILENT|/VERYSILENT /SUPPRESSMSGBOXES /DIR=FOLDER /LANG=A|B|C ...]\n"
    "      What the installer would do on a clean Windows machine when started from FOLDER\n"
    "      (default: its own folder) with the SysSetup.ini, SysSetup2.ini, PInfo.dat... lying\n"
    "      there, in that language and launch role, a user taking every default: the\n"
    "      destination, the files written with their sizes, the programs started, the COM+\n"
    "      steps, the shortcuts, every registry value, the messages shown (or answered\n"
    "      unseen) and the exit code. The installer's switches act as on the machine. The\n"
    "      installer's own logic runs over an in-memory machine with a 32-bit Excel; nothing\n"
    "      is installed. The machine has every fixed drive the run names (the destination, a\n"
    "      base folder, /DIR=), or with --drives only C: and those given; the plan says which\n"
    "      it assumed.\n"
    "\n"
    "Text arguments are UTF-8. --level is the compression level (default 1, the fastest): 0 to 9\n"
    "zlib's, 10 to 12 libdeflate's, smaller and slower to pack; the installer inflates all alike.\n"
    "Exit codes: 0 done, 1 failed, 2 wrong usage.\n";

}  // namespace

std::unique_ptr<CodePage> OpenCodePage(const std::string& name) {
  try {
    return std::make_unique<FakeCodePage>(name);
  } catch (const Error&) {
    throw UsageError("unknown code page \"" + name + "\"");
  }
}

std::string ToCodePage(CodePage& code_page, const std::wstring& text, const std::wstring& what) {
  const std::string bytes = code_page.ToAnsi(text);
  if (code_page.FromAnsi(bytes) != text) {
    throw Error(L"The text of " + what + L" (\"" + text +
                L"\") cannot be written in the chosen code page");
  }
  return bytes;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  using Command = int (*)(const std::vector<std::string>&, std::ostream&);
  static const std::map<std::string, Command> kCommands = {
      {"pinfo", CommandPinfo},
      {"encode-config", CommandEncodeConfig},
      {"decode-config", CommandDecodeConfig},
      {"inspect", CommandInspect},
      {"iconset", CommandIconset},
      {"store", CommandStore},
      {"list", CommandList},
      {"unpack", CommandUnpack},
      {"plan", CommandPlan},
  };
  if (args.empty()) {
    err << kHelp;
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    out << kHelp;
    return 0;
  }
  const auto command = kCommands.find(args[0]);
  if (command == kCommands.end()) {
    err << "quillon-pack: unknown command \"" << args[0] << "\" (see quillon-pack --help)\n";
    return 2;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  for (const std::string& a : rest) {
    if (a == "--help" || a == "-h") {
      out << kHelp;
      return 0;
    }
  }
  try {
    return command->second(rest, out);
  } catch (const UsageError& e) {
    err << "quillon-pack " << args[0] << ": " << e.what() << " (see quillon-pack --help)\n";
    return 2;
  } catch (const std::exception& e) {
    err << "quillon-pack " << args[0] << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace quillon::pack
