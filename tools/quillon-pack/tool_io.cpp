#include "tool_io.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "base/text.h"
#include "deflate_pack.h"

namespace quillon::pack {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& utf8) {
  return fs::u8path(utf8);
}

std::string Utf8Of(const fs::path& path) {
  return path.u8string();
}

Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error(L"Cannot open \"" + FromUtf8(Utf8Of(path)) + L"\"");
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw Error(L"Cannot read \"" + FromUtf8(Utf8Of(path)) + L"\"");
  return bytes;
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  fs::path temp = path;
  temp += ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw Error(L"Cannot create \"" + FromUtf8(Utf8Of(temp)) + L"\"");
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      throw Error(L"Cannot write \"" + FromUtf8(Utf8Of(temp)) + L"\"");
    }
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw Error(L"Cannot replace \"" + FromUtf8(Utf8Of(path)) + L"\": " + FromUtf8(ec.message()));
  }
}

void WriteText(const fs::path& path, const std::string& text) {
  WriteBytes(path, Bytes(text.begin(), text.end()));
}

Args::Args(const std::vector<std::string>& args, const std::vector<std::string>& valued,
           const std::vector<std::string>& flags) {
  auto is = [](const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  bool only_positional = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (only_positional || a.size() < 2 || a[0] != '-') {
      positional_.push_back(a);
      continue;
    }
    if (a == "--") {
      only_positional = true;
      continue;
    }
    std::string name = a;
    std::string value;
    bool has_value = false;
    const size_t eq = a.find('=');
    if (a.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = a.substr(0, eq);
      value = a.substr(eq + 1);
      has_value = true;
    }
    if (is(flags, name)) {
      if (has_value) throw UsageError("option " + name + " takes no value");
      values_[name].push_back("");
    } else if (is(valued, name)) {
      if (!has_value) {
        if (i + 1 >= args.size()) throw UsageError("option " + name + " needs a value");
        value = args[++i];
      }
      values_[name].push_back(value);
    } else {
      throw UsageError("unknown option " + name);
    }
  }
}

std::string Args::Value(const std::string& option, const std::string& fallback) const {
  const auto it = values_.find(option);
  if (it == values_.end()) return fallback;
  if (it->second.size() > 1) throw UsageError("option " + option + " is given more than once");
  return it->second.front();
}

std::string Args::Required(const std::string& option) const {
  if (!Has(option)) throw UsageError("option " + option + " is required");
  return Value(option);
}

std::vector<std::string> Args::All(const std::string& option) const {
  const auto it = values_.find(option);
  return it == values_.end() ? std::vector<std::string>() : it->second;
}

void Args::ExpectPositional(size_t min, size_t max, const std::string& what) const {
  if (positional_.size() < min || positional_.size() > max) {
    throw UsageError("expected " + what);
  }
}

int ParseLevel(const std::string& text) {
  const bool digits = !text.empty() && text.size() <= 2 &&
                      text.find_first_not_of("0123456789") == std::string::npos;
  const int level = digits ? std::stoi(text) : -1;
  if (level < 0 || level > kMaxPackLevel || (text.size() == 2 && text[0] == '0')) {
    throw UsageError("--level takes a compression level from 0 to " +
                     std::to_string(kMaxPackLevel) + ", not \"" + text + "\"");
  }
  return level;
}

}  // namespace quillon::pack
