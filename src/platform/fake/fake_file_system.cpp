#include "platform/fake/fake_file_system.h"

#include <stdexcept>

#include "base/error.h"
#include "base/text.h"

namespace quillon {

struct FakeFileSystem::Node {
  std::wstring name;  // as first created
  bool folder = false;
  Bytes data;
  bool locked = false;
  bool read_only = false;
  std::map<std::wstring, std::unique_ptr<Node>> children;  // by upper-cased name
};

namespace {

using Node = FakeFileSystem::Node;

// The system's own texts, so messages read like those of the real adapter.
const wchar_t kInUse[] =
    L"The process cannot access the file because it is being used by another process.";
const wchar_t kDenied[] = L"Access is denied.";
const wchar_t kNoFile[] = L"The system cannot find the file specified.";
const wchar_t kNoPath[] = L"The system cannot find the path specified.";
const wchar_t kBadName[] = L"The filename, directory name, or volume label syntax is incorrect.";

[[noreturn]] void Fail(const wchar_t* what, const std::wstring& path, const wchar_t* reason) {
  throw FileError(std::wstring(what) + L" \"" + path + L"\". " + reason);
}

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool IsAsciiLetter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool IsBadNameChar(wchar_t c) {
  return c < 0x20 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'|' || c == L'?' ||
         c == L'*';
}

// An absolute path taken apart: drive, the names below it ("." and ".." resolved), and
// whether it ended with a separator.
struct Parsed {
  bool valid = false;
  std::wstring drive;
  std::vector<std::wstring> parts;
  bool trailing = false;
};

Parsed Parse(const std::wstring& path) {
  Parsed p;
  // Only "X:" and "X:\..." are absolute; "X:name" is relative to that drive's current folder.
  if (path.size() < 2 || path[1] != L':' || !IsAsciiLetter(path[0])) return p;
  if (path.size() > 2 && !IsSeparator(path[2])) return p;
  p.drive = UpperAscii(path.substr(0, 2));
  std::wstring part;
  for (size_t i = 2; i <= path.size(); ++i) {
    if (i == path.size() || IsSeparator(path[i])) {
      if (part == L"..") {
        if (!p.parts.empty()) p.parts.pop_back();
      } else if (!part.empty() && part != L".") {
        p.parts.push_back(part);
      }
      part.clear();
    } else {
      if (IsBadNameChar(path[i])) return Parsed{};
      part += path[i];
    }
  }
  p.trailing = IsSeparator(path.back()) && !p.parts.empty();
  p.valid = true;
  return p;
}

Node* Child(Node* folder, const std::wstring& name) {
  if (!folder || !folder->folder) return nullptr;
  auto it = folder->children.find(UpperAscii(name));
  return it == folder->children.end() ? nullptr : it->second.get();
}

Node* AddChild(Node* folder, const std::wstring& name, bool is_folder) {
  auto node = std::make_unique<Node>();
  node->name = name;
  node->folder = is_folder;
  Node* raw = node.get();
  folder->children[UpperAscii(name)] = std::move(node);
  return raw;
}

// Whether anything in the tree would stop its deletion.
bool Pinned(const Node& node) {
  if (node.locked || node.read_only) return true;
  for (const auto& child : node.children) {
    if (Pinned(*child.second)) return true;
  }
  return false;
}

std::unique_ptr<Node> Clone(const Node& node, const std::wstring& name) {
  auto copy = std::make_unique<Node>();
  copy->name = name;
  copy->folder = node.folder;
  copy->data = node.data;
  for (const auto& child : node.children) {
    copy->children[child.first] = Clone(*child.second, child.second->name);
  }
  return copy;
}

void Walk(const Node& folder, const std::wstring& prefix, std::vector<std::wstring>& out) {
  for (const auto& child : folder.children) {
    const Node& node = *child.second;
    if (node.folder) {
      out.push_back(prefix + node.name + L"\\");
      Walk(node, prefix + node.name + L"\\", out);
    } else {
      out.push_back(prefix + node.name);
    }
  }
}

// Whether `inner` lies below `outer`.
bool Inside(const Parsed& inner, const Parsed& outer) {
  if (inner.drive != outer.drive || inner.parts.size() <= outer.parts.size()) return false;
  for (size_t i = 0; i < outer.parts.size(); ++i) {
    if (UpperAscii(inner.parts[i]) != UpperAscii(outer.parts[i])) return false;
  }
  return true;
}

}  // namespace

// Where a path leads: its parts, the folder that holds its last name (nullptr when that
// folder is missing; also nullptr for a drive root) and the entry itself (nullptr when
// missing).
struct FakeFileSystem::Location {
  Parsed parsed;
  Node* parent = nullptr;
  Node* node = nullptr;
};

FakeFileSystem::FakeFileSystem() {
  AddDrive(L"C:");
}

FakeFileSystem::~FakeFileSystem() = default;

FakeFileSystem::Location FakeFileSystem::Locate(const std::wstring& path) const {
  Location loc;
  loc.parsed = Parse(path);
  if (!loc.parsed.valid) return loc;
  auto drive = drives_.find(loc.parsed.drive);
  if (drive == drives_.end()) {
    if (!drives_on_demand_) return loc;
    drive = drives_.emplace(loc.parsed.drive, NewDriveRoot(loc.parsed.drive)).first;
  }
  Node* node = drive->second.get();
  for (const auto& part : loc.parsed.parts) {
    if (!node || !node->folder) return Location{loc.parsed, nullptr, nullptr};
    loc.parent = node;
    node = Child(node, part);
  }
  loc.node = node;
  return loc;
}

bool FakeFileSystem::FileExists(const std::wstring& path) {
  const Location loc = Locate(path);
  return loc.node && !loc.node->folder && !loc.parsed.trailing;
}

bool FakeFileSystem::DirectoryExists(const std::wstring& path) {
  const Location loc = Locate(path);
  return loc.node && loc.node->folder;
}

Bytes FakeFileSystem::ReadFile(const std::wstring& path) {
  const Location loc = Locate(path);
  if (!loc.parsed.valid) Fail(L"Cannot open file", path, kBadName);
  if (!loc.node) Fail(L"Cannot open file", path, loc.parent ? kNoFile : kNoPath);
  if (loc.node->folder) Fail(L"Cannot open file", path, kDenied);
  if (loc.parsed.trailing) Fail(L"Cannot open file", path, kBadName);
  return loc.node->data;
}

Bytes FakeFileSystem::ReadFileStart(const std::wstring& path, size_t max_bytes) {
  Bytes data = ReadFile(path);
  if (data.size() > max_bytes) data.resize(max_bytes);
  return data;
}

void FakeFileSystem::WriteFile(const std::wstring& path, const Bytes& data) {
  const Location loc = Locate(path);
  if (!loc.parsed.valid || loc.parsed.trailing) Fail(L"Cannot create file", path, kBadName);
  if (!loc.parent) Fail(L"Cannot create file", path, loc.node ? kDenied : kNoPath);
  if (loc.node && loc.node->folder) Fail(L"Cannot create file", path, kDenied);
  if (loc.node && loc.node->locked) Fail(L"Cannot create file", path, kInUse);
  if (loc.parent->read_only) Fail(L"Cannot create file", path, kDenied);
  Node* file = loc.node ? loc.node : AddChild(loc.parent, loc.parsed.parts.back(), false);
  file->data = data;
}

namespace {

class FakeReplacement : public FileReplacement {
 public:
  FakeReplacement(FakeFileSystem& fs, std::wstring path) : fs_(fs), path_(std::move(path)) {}
  size_t Read(void*, size_t) override { throw FileError(L"Cannot read file \"" + path_ + L"\""); }
  void Write(const void* buffer, size_t count) override { bytes_.Write(buffer, count); }
  size_t Size() const override { return bytes_.Size(); }
  size_t Position() const override { return bytes_.Position(); }
  void Seek(size_t position) override { bytes_.Seek(position); }
  void SetSize(size_t size) override { bytes_.SetSize(size); }
  void Commit() override { fs_.WriteFile(path_, bytes_.bytes()); }

 private:
  FakeFileSystem& fs_;
  std::wstring path_;
  MemoryStream bytes_;
};

}  // namespace

std::unique_ptr<FileReplacement> FakeFileSystem::BeginReplace(const std::wstring& path) {
  // The temporary place is made in the target's folder, so a missing or read-only folder
  // fails here, as on a disk.
  const Location loc = Locate(path);
  if (!loc.parsed.valid || loc.parsed.trailing) Fail(L"Cannot create file", path, kBadName);
  if (!loc.parent) Fail(L"Cannot create file", path, loc.node ? kDenied : kNoPath);
  if (loc.parent->read_only) Fail(L"Cannot create file", path, kDenied);
  return std::make_unique<FakeReplacement>(*this, path);
}

void FakeFileSystem::DeleteFile(const std::wstring& path) {
  const Location loc = Locate(path);
  if (!loc.node) return;
  if (loc.node->folder || !loc.parent) Fail(L"Cannot delete file", path, kDenied);
  if (loc.node->locked) Fail(L"Cannot delete file", path, kInUse);
  if (loc.parent->read_only) Fail(L"Cannot delete file", path, kDenied);
  loc.parent->children.erase(UpperAscii(loc.node->name));
}

bool FakeFileSystem::CreateDirectory(const std::wstring& path) {
  const Location loc = Locate(path);
  if (loc.node) return loc.node->folder;
  if (!loc.parent || !loc.parent->folder || loc.parent->read_only) return false;
  AddChild(loc.parent, loc.parsed.parts.back(), true);
  return true;
}

bool FakeFileSystem::CopyFile(const std::wstring& from, const std::wstring& to) {
  if (!FileExists(from)) return false;
  try {
    WriteFile(to, ReadFile(from));
  } catch (const FileError&) {
    return false;
  }
  return true;
}

std::vector<std::wstring> FakeFileSystem::ListDirectory(const std::wstring& path) {
  std::vector<std::wstring> names;
  const Location loc = Locate(path);
  if (!loc.node || !loc.node->folder) return names;
  for (const auto& child : loc.node->children) names.push_back(child.second->name);
  return names;
}

std::vector<std::wstring> FakeFileSystem::Drives() const {
  std::vector<std::wstring> out;
  for (const auto& drive : drives_) out.push_back(drive.first);
  return out;
}

void FakeFileSystem::AddDrive(const std::wstring& drive) {
  const Parsed p = Parse(drive);
  if (!p.valid || !p.parts.empty()) throw std::invalid_argument("not a drive: " + ToUtf8(drive));
  auto& root = drives_[p.drive];
  if (!root) root = NewDriveRoot(p.drive);
}

std::unique_ptr<FakeFileSystem::Node> FakeFileSystem::NewDriveRoot(const std::wstring& drive) {
  auto root = std::make_unique<Node>();
  root->name = drive;
  root->folder = true;
  return root;
}

FakeFileSystem::Node* FakeFileSystem::MakeFolders(const std::wstring& path, bool include_last) {
  const Parsed p = Parse(path);
  if (!p.valid) throw std::invalid_argument("not an absolute path: " + ToUtf8(path));
  auto drive = drives_.find(p.drive);
  if (drive == drives_.end()) throw std::invalid_argument("no such drive: " + ToUtf8(path));
  Node* node = drive->second.get();
  const size_t levels = include_last ? p.parts.size() : p.parts.size() - (p.parts.empty() ? 0 : 1);
  for (size_t i = 0; i < levels; ++i) {
    Node* next = Child(node, p.parts[i]);
    if (!next) next = AddChild(node, p.parts[i], true);
    if (!next->folder) throw std::invalid_argument("a file is in the way: " + ToUtf8(path));
    node = next;
  }
  return node;
}

void FakeFileSystem::AddFolder(const std::wstring& path) {
  MakeFolders(path, true);
}

void FakeFileSystem::AddFile(const std::wstring& path, const Bytes& data) {
  const Parsed p = Parse(path);
  if (!p.valid || p.parts.empty() || p.trailing) {
    throw std::invalid_argument("not a file path: " + ToUtf8(path));
  }
  Node* folder = MakeFolders(path, false);
  Node* file = Child(folder, p.parts.back());
  if (file && file->folder) throw std::invalid_argument("a folder is in the way: " + ToUtf8(path));
  if (!file) file = AddChild(folder, p.parts.back(), false);
  file->data = data;
}

void FakeFileSystem::AddFile(const std::wstring& path, const std::string& text) {
  AddFile(path, Bytes(text.begin(), text.end()));
}

void FakeFileSystem::Lock(const std::wstring& file, bool locked) {
  const Location loc = Locate(file);
  if (!loc.node || loc.node->folder) throw std::invalid_argument("no such file: " + ToUtf8(file));
  loc.node->locked = locked;
}

void FakeFileSystem::SetReadOnly(const std::wstring& folder, bool read_only) {
  const Location loc = Locate(folder);
  if (!loc.node || !loc.node->folder) {
    throw std::invalid_argument("no such folder: " + ToUtf8(folder));
  }
  loc.node->read_only = read_only;
}

std::optional<Bytes> FakeFileSystem::Contents(const std::wstring& path) const {
  const Location loc = Locate(path);
  if (!loc.node || loc.node->folder) return std::nullopt;
  return loc.node->data;
}

std::optional<std::string> FakeFileSystem::Text(const std::wstring& path) const {
  auto bytes = Contents(path);
  if (!bytes) return std::nullopt;
  return std::string(bytes->begin(), bytes->end());
}

std::vector<std::wstring> FakeFileSystem::ListAll() const {
  std::vector<std::wstring> out;
  for (const auto& drive : drives_) {
    out.push_back(drive.second->name + L"\\");
    Walk(*drive.second, drive.second->name + L"\\", out);
  }
  return out;
}

bool FakeFileSystem::RemoveTree(const std::wstring& folder) {
  const Location loc = Locate(folder);
  if (!loc.node || !loc.node->folder || !loc.parent) return false;
  if (loc.parent->read_only || Pinned(*loc.node)) return false;
  loc.parent->children.erase(UpperAscii(loc.node->name));
  return true;
}

bool FakeFileSystem::CopyTree(const std::wstring& from, const std::wstring& to) {
  const Location source = Locate(from);
  const Location target = Locate(to);
  if (!source.node || !source.node->folder) return false;
  if (!target.parsed.valid || target.node || !target.parent || target.parent->read_only) {
    return false;
  }
  // The shell refuses to copy a folder into a folder inside it.
  if (Inside(target.parsed, source.parsed)) return false;
  const std::wstring name = target.parsed.parts.back();
  target.parent->children[UpperAscii(name)] = Clone(*source.node, name);
  return true;
}

}  // namespace quillon
