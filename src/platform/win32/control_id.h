#pragma once
// Control identifiers of the wizard's windows: a stable number derived from the model
// control's name, so an automation program can find a control by the name the code uses.

#include <cstdint>
#include <string>

namespace quillon {

// FNV-1a over the name's UTF-16 units, folded into 1000..60999.
inline int ControlIdOfName(const std::wstring& name) {
  uint32_t h = 2166136261u;
  for (wchar_t c : name) {
    h ^= static_cast<uint16_t>(c);
    h *= 16777619u;
  }
  return 1000 + static_cast<int>(h % 60000u);
}

}  // namespace quillon
