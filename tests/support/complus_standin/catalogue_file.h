#pragma once
// The stand-in catalogue's store (complus_standin.h): one line per application, each followed
// by the lines of its components, in collection order; UTF-8, CR LF:
//
//   application {KEY} Name="VXKALDERServer" Identity="Interactive User" RunForever=true
//     component {KEY} Name="DivoZaze.MainSvc" DLL="C:\Tovrin\CLIENT\DivoZaze.dll" Transaction=1
//
// Properties stand in the order they were first set: texts in double quotes (a quote inside
// doubled), numbers in decimal, Booleans as true or false. The stand-in and the tests that read
// its state share this reader and writer.

#include <windows.h>

#include <string>
#include <variant>
#include <vector>

namespace complus_standin {

using Value = std::variant<std::wstring, long, bool>;

struct Property {
  std::wstring name;
  Value value;
};

struct Object {
  std::wstring key;
  std::vector<Property> properties;
  std::vector<Object> components;  // of an application

  const Value* Find(const std::wstring& name) const {
    for (const Property& p : properties) {
      if (p.name == name) return &p.value;
    }
    return nullptr;
  }
  // Replaces the value in its place, or appends the property.
  void Set(const std::wstring& name, const Value& value) {
    for (Property& p : properties) {
      if (p.name == name) {
        p.value = value;
        return;
      }
    }
    properties.push_back({name, value});
  }
  std::wstring Name() const {
    const Value* v = Find(L"Name");
    const std::wstring* text = v ? std::get_if<std::wstring>(v) : nullptr;
    return text ? *text : std::wstring();
  }
};

struct Store {
  std::vector<Object> applications;
};

inline std::wstring FormatValue(const Value& value) {
  if (const auto* text = std::get_if<std::wstring>(&value)) {
    std::wstring out = L"\"";
    for (wchar_t c : *text) out += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
    return out + L"\"";
  }
  if (const auto* number = std::get_if<long>(&value)) return std::to_wstring(*number);
  return std::get<bool>(value) ? L"true" : L"false";
}

// One object's line: KIND, its key and its properties.
inline std::wstring FormatObject(const wchar_t* kind, const Object& object) {
  std::wstring line = std::wstring(kind) + L" " + object.key;
  for (const Property& p : object.properties) line += L" " + p.name + L"=" + FormatValue(p.value);
  return line;
}

inline std::wstring FormatStore(const Store& store) {
  std::wstring text;
  for (const Object& app : store.applications) {
    text += FormatObject(L"application", app) + L"\r\n";
    for (const Object& c : app.components) text += FormatObject(L"  component", c) + L"\r\n";
  }
  return text;
}

// Reads `text` into `store`; false with the faulty line in `error`.
inline bool ParseStore(const std::wstring& text, Store* store, std::wstring* error) {
  store->applications.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (line.find_first_not_of(L' ') == std::wstring::npos) continue;

    size_t i = line.find_first_not_of(L' ');
    auto word = [&]() {
      const size_t from = i;
      while (i < line.size() && line[i] != L' ' && line[i] != L'=') ++i;
      return line.substr(from, i - from);
    };
    const std::wstring kind = word();
    ++i;
    Object object;
    object.key = word();
    bool ok = (kind == L"application" || (kind == L"component" && !store->applications.empty())) &&
              !object.key.empty();
    while (ok && i < line.size()) {
      if (line[i] != L' ') {
        ok = false;
        break;
      }
      ++i;
      const std::wstring name = word();
      if (name.empty() || i >= line.size() || line[i] != L'=') {
        ok = false;
        break;
      }
      ++i;
      if (i < line.size() && line[i] == L'"') {
        std::wstring value;
        bool closed = false;
        for (++i; i < line.size(); ++i) {
          if (line[i] != L'"') {
            value += line[i];
          } else if (i + 1 < line.size() && line[i + 1] == L'"') {
            value += L'"';
            ++i;
          } else {
            closed = true;
            ++i;
            break;
          }
        }
        ok = closed;
        object.properties.push_back({name, value});
      } else {
        const std::wstring value = word();
        if (value == L"true" || value == L"false") {
          object.properties.push_back({name, value == L"true"});
        } else {
          size_t used = 0;
          long number = 0;
          try {
            number = std::stol(value, &used);
          } catch (...) {
            used = 0;
          }
          ok = !value.empty() && used == value.size();
          object.properties.push_back({name, number});
        }
      }
    }
    if (!ok) {
      *error = L"cannot read the line: " + line;
      return false;
    }
    if (kind == L"application") {
      store->applications.push_back(object);
    } else {
      store->applications.back().components.push_back(object);
    }
  }
  return true;
}

// Reads the store file; a missing file is an empty store. False with the reason in `error`.
inline bool ReadStore(const std::wstring& path, Store* store, std::wstring* error) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    store->applications.clear();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return true;
    *error = L"cannot open " + path + L", error " + std::to_wstring(code);
    return false;
  }
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  std::wstring text(bytes.size(), L'\0');
  const int n = bytes.empty()
                    ? 0
                    : MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                          &text[0], static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(n));
  return ParseStore(text, store, error);
}

// Writes the store file whole, through a new file that then takes its place.
inline bool WriteStore(const std::wstring& path, const Store& store) {
  const std::wstring text = FormatStore(store);
  std::string bytes;
  if (!text.empty()) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n,
                        nullptr, nullptr);
  }
  const std::wstring fresh = path + L".new";
  HANDLE file = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                              &written, nullptr) &&
                                    written == bytes.size());
  CloseHandle(file);
  return ok && MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace complus_standin
