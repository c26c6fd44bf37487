#pragma once
// quillon-pack as a library: what each command makes, for the command-line front end and
// for tests. Paths are UTF-8; texts inside the formats are wide strings.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/error.h"
#include "platform/ports/code_page.h"

namespace quillon::pack {

using Bytes = std::vector<uint8_t>;

// A wrong command line: reported with a hint to --help, exit code 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Runs one command line (arguments after the program name); returns the exit code: 0 done,
// 1 failed, 2 wrong usage. Normal output goes to `out`, messages to `err`.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// ---- pinfo: the product information file "PInfo.dat" ----

struct ProductNames {
  std::wstring product;      // a12
  std::wstring maker_full;   // a13
  std::wstring caption;      // a16
  std::wstring maker_short;  // a17
  std::wstring agent;        // a18
};

// A compressed record whose body is a data packet of one row with the string fields a12, a13,
// a16, a17, a18 (in that order). With `unicode` the fields are UNICODE (UTF-16LE) and read
// the same on every system; otherwise they are 8-bit strings (ZSTRING) in `code_page`, which
// must then be the ANSI code page of the systems that install it. Error when a name cannot
// be written in the code page.
Bytes MakeProductInfo(const ProductNames& names, bool unicode, CodePage& code_page, int level = 1);

// ---- iconset: the icon-set dataset "glyphs.ico" ----

struct NamedFile {
  std::wstring name;
  Bytes bytes;
};

// Longest image name, in bytes of the code page (the declared width of "sName").
constexpr size_t kIconNameWidth = 50;

// The icon-set data packet: columns "sName" (8-bit string, width 50) and "sFile" (bytes with a
// 4-byte length, SUBTYPE Binary), one row per image in the given order. Error for a name that
// the code page cannot hold or that is longer than 50 bytes.
Bytes MakeIconSet(const std::vector<NamedFile>& images, CodePage& code_page);
// The regular files of a folder, sorted by name (the order of their rows).
std::vector<NamedFile> ReadImageFolder(const std::filesystem::path& folder);

// ---- inspect ----

// A readable description of a compressed record (tag, length, text block, body) and/or a
// data packet (columns, dataset properties, rows): whatever the bytes are, the body of a
// record included. At most `max_rows` rows are listed. Error when the bytes are neither.
std::string Describe(const Bytes& bytes, CodePage& code_page, size_t max_rows = 50);

// ---- store: the payload store for the installer's resources ----

struct StoreOptions {
  std::filesystem::path payload_folder;      // the files named by the manifest
  std::filesystem::path manifest;            // "name=flag" lines in the code page
  std::filesystem::path output_folder;       // one record per entry, the manifest and the script
  std::filesystem::path script;              // resource script; default output_folder/payload.rc
  std::vector<std::wstring> twice;           // entry names packed twice (ASCII case ignored)
  std::vector<std::wstring> twice_patterns;  // wildcard patterns (* and ?) for the same
  int level = 1;
};

struct StoreEntry {
  std::wstring name;
  std::wstring flag;
  std::string blob;  // upper-case blob name
  bool twice = false;
  // Carried exactly as given, not packed: the menu datasets, which the installer writes
  // unchanged.
  bool as_given = false;
  // Set for a COM-registration entry that is not a program file.
  std::wstring warning;
  uintmax_t body_size = 0;
  uintmax_t record_size = 0;
};

// Name of the manifest's copy in the output folder (the resource INSTALLFILEINI).
inline constexpr char kStoreManifestFile[] = "INSTALLFILEINI";

// Packs every manifest entry into output_folder/BLOBNAME (the menu datasets, "NAVSET" in
// their names, go in as they are), copies the manifest there with CR LF line ends, and writes
// the resource script. Error, before anything is written, for an
// empty or duplicate name, two names with the same blob name, a missing file, or a blob name
// that a resource script cannot hold.
std::vector<StoreEntry> BuildStore(const StoreOptions& options, CodePage& code_page);

struct ScriptLine {
  std::string name;  // upper case
  std::string type;  // INIFILE or ZIPFILE
  std::filesystem::path file;
};
// A windres script: `NAME TYPE "file"` per line. windres upper-cases names itself and reads a
// digit-led name as a number; names that are not plain identifiers are quoted, and each quoted
// name follows a LANGUAGE line, since windres joins a quoted name to the string before it.
std::string ResourceScript(const std::vector<ScriptLine>& lines);

// Whether a blob name can go into a resource script at all: printable ASCII without quotes,
// backslashes or slashes.
bool IsStorableBlobName(const std::string& name);

// ---- list / unpack of a built store folder ----

struct ListedEntry {
  std::wstring name;
  std::wstring flag;
  std::string blob;
  bool present = false;
  uintmax_t record_size = 0;
  uintmax_t body_size = 0;
  bool body_is_record = false;  // packed twice
  std::wstring error;           // a damaged record
};

std::vector<ListedEntry> ListStore(const std::filesystem::path& store, CodePage& code_page);
// Writes every entry's body to out_folder/name (unpacked once, as the installer does; with
// `deep`, bodies that are records themselves are unpacked until they are not). Error for a
// missing or damaged record.
void UnpackStore(const std::filesystem::path& store, const std::filesystem::path& out_folder,
                 CodePage& code_page, bool deep);

}  // namespace quillon::pack
