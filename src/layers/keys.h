#pragma once
// Key codes and the names a profile may use for them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// A Windows virtual-key code 0..255. 0 is "no key" (and the generic Win inside
// a modifier list); 255 is the layer key of the MouseMove layer. As targets,
// 1, 2, 4, 5 and 6 are the left, right, middle, X1 and X2 mouse buttons.
using KeyCode = std::int64_t;

inline constexpr KeyCode noKey = 0;
inline constexpr KeyCode mouseLayerKey = 255;

struct KeyName {
  std::string_view name;
  KeyCode code;
};

// The reader's named keys, compared after conversion to upper case.
extern const std::array<KeyName, 24> names;
// The writer's preferred spellings, in order of preference.
extern const std::array<std::string_view, 16> tokenNames;
// The modifier spellings the settings window writes; also the bit order of its
// modifier mask.
extern const std::array<std::string_view, 12> modifierNames;
// Modifier names accepted inside a binding's target, with the stored code.
extern const std::array<KeyName, 12> modifierTable;

// Name to code (1..254); raises ValueError "Unknown key: " + text as passed.
KeyCode key(std::string_view text);
// Section name to layer key: "MouseMove" in any case is 255, else key(text).
KeyCode layerKey(std::string_view text);
// Code to the canonical spelling that key() maps back to the same code.
std::string keyToken(KeyCode code);
// The modifier code for a trimmed, upper-cased modifier name.
std::optional<KeyCode> modifierCode(std::string_view upperName);

// Shift, Ctrl, Alt, both Wins and the sided Shift/Ctrl/Alt keys.
constexpr bool isModifierKey(KeyCode code) {
  return code == 16 || code == 17 || code == 18 || code == 91 || code == 92 ||
         (code >= 160 && code <= 165);
}

constexpr bool isMouseButton(KeyCode code) {
  return code == 1 || code == 2 || code == 4 || code == 5 || code == 6;
}

}  // namespace quillon
