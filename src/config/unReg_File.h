#pragma once
// The six registry operations every part of the installer uses instead of opening keys.
// Reads never create anything and read a missing key or value as the empty text; writes
// open the key with full access (creating it) and write only when the value is missing or
// different. Each call opens and closes its own key. Errors are raised as RegistryError.

#include <cstdint>
#include <string>

#include "base/error.h"
#include "platform/ports/registry.h"

namespace quillon {

// The product key, under both roots.
inline const std::wstring kProductKey = L"SoftWare\\Tovrin\\";

// The string value, or the empty text when the key or value is missing. A value of another
// type raises RegistryError.
std::wstring ReadRegString(Registry& reg, RootKey root, const std::wstring& path,
                           const std::wstring& name);
std::wstring ReadUserRegString(Registry& reg, const std::wstring& path, const std::wstring& name);

// Writes a string value when it is missing or differs (case-sensitive). RegistryError naming
// the value when the registry refuses, also when nothing would have changed.
void WriteRegString(Registry& reg, RootKey root, const std::wstring& path,
                    const std::wstring& name, const std::wstring& text);
void WriteUserRegString(Registry& reg, const std::wstring& path, const std::wstring& name,
                        const std::wstring& text);

// Writes a DWORD value when it is missing or its integer differs.
void WriteRegInteger(Registry& reg, RootKey root, const std::wstring& path,
                     const std::wstring& name, int32_t value);

// The errors of these operations, for code that writes registry values the same way: the
// registry refused to write or delete the named value, or the value has another type.
RegistryError SetDataError(const std::wstring& name);
RegistryError DataTypeError(const std::wstring& name);
RegistryError DeleteValueError(const std::wstring& name);

// Deletes a key with everything under it; a missing key is no error. RegistryError when the
// deletion is refused.
void DeleteRegKey(Registry& reg, RootKey root, const std::wstring& path);

}  // namespace quillon
