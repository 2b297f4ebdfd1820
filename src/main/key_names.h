#pragma once
// The names the settings window shows for key codes, in the UI language. They
// are for reading only and never parsed back; the profile's own key names are
// in layers/keys.h. No Windows headers: the system's names come in through a
// callback.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "layers/function_ref.h"

namespace quillon {

// Side-specific modifier labels, also the captions of the modifier boxes, in
// the bit order of a ModifierMask.
extern const std::array<std::string_view, 12> modLabels;

struct KeyNames {
  // UTF-8 display name per key code; 0 stays empty, 255 names the mouse layer.
  std::array<std::string, 256> names;
  // True when the key has a proper name and is offered in the key boxes.
  std::array<bool, 256> namedKey{};
};

// The system's name of a key under the active keyboard layout, or nothing.
using SystemKeyName = FunctionRef<std::optional<std::string>(int code)>;

// Rebuilds the table for codes 1 to 254 and sets entry 255; run again after a
// change of the UI language.
void keyNames(KeyNames& table, SystemKeyName systemName);

// The form of a key without a proper name, "Special key (0x07)".
std::string specialKeyName(int code);

// UTF-8 of a fixed UI text.
std::string utf8(std::u16string_view text);

}  // namespace quillon
