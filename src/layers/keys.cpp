#include "layers/keys.h"

#include "layers/text.h"
#include "layers/value_error.h"

namespace quillon {

const std::array<KeyName, 24> names{{
    {"SPACE", 32},  {"CAPSLOCK", 20}, {"ENTER", 13},   {"TAB", 9},       {"BACKSPACE", 8},
    {"ESC", 27},    {"LEFT", 37},     {"UP", 38},      {"RIGHT", 39},    {"DOWN", 40},
    {"HOME", 36},   {"END", 35},      {"PAGEUP", 33},  {"PAGEDOWN", 34}, {"INSERT", 45},
    {"LCTRL", 162}, {"LALT", 164},    {"LWIN", 91},    {"RWIN", 92},     {"DELETE", 46},
    {"RALT", 165},  {"RCTRL", 163},   {"LSHIFT", 160}, {"RSHIFT", 161},
}};

const std::array<std::string_view, 16> tokenNames{
    "Space", "Tab",  "Enter", "Backspace", "Esc",      "Left",   "Right",  "Up",
    "Down",  "Home", "End",   "PageUp",    "PageDown", "Insert", "Delete", "CapsLock",
};

const std::array<std::string_view, 12> modifierNames{
    "LShift", "RShift", "LCtrl", "RCtrl", "LAlt", "RAlt",
    "LWin",   "RWin",   "Shift", "Ctrl",  "Alt",  "Win",
};

const std::array<KeyName, 12> modifierTable{{
    {"SHIFT", 0x10},
    {"CTRL", 0x11},
    {"ALT", 0x12},
    {"WIN", 0},
    {"LSHIFT", 0xA0},
    {"RSHIFT", 0xA1},
    {"LCTRL", 0xA2},
    {"RCTRL", 0xA3},
    {"LALT", 0xA4},
    {"RALT", 0xA5},
    {"LWIN", 0x5B},
    {"RWIN", 0x5C},
}};

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

KeyCode key(std::string_view text) {
  const std::string name = upper(trim(text));
  if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || isDigit(name[0])))
    return static_cast<unsigned char>(name[0]);
  for (const KeyName& row : names)
    if (row.name == name) return row.code;
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F' && isDigit(name[1]) &&
      (name.size() == 2 || isDigit(name[2]))) {
    const int number = name.size() == 2 ? name[1] - '0' : (name[1] - '0') * 10 + (name[2] - '0');
    if (number >= 1 && number <= 24) return 111 + number;
  }
  if (name.size() == 4 && name[0] == '0' && name[1] == 'X') {
    const int high = hexValue(name[2]);
    const int low = hexValue(name[3]);
    const int value = high * 16 + low;
    if (high >= 0 && low >= 0 && value >= 1 && value <= 254) return value;
  }
  throw ValueError("Unknown key: " + std::string(text));
}

KeyCode layerKey(std::string_view text) {
  if (lower(trim(text)) == "mousemove") return mouseLayerKey;
  return key(text);
}

std::string keyToken(KeyCode code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
    return std::string(1, static_cast<char>(code));
  if (code >= 112 && code <= 135) return "F" + std::to_string(code - 111);
  if (code == mouseLayerKey) return "MouseMove";
  for (std::string_view name : tokenNames)
    for (const KeyName& row : names)
      if (row.code == code && upper(name) == row.name) return std::string(name);
  static constexpr char digits[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned>(code) & 0xFF;
  return {'0', 'x', digits[byte >> 4], digits[byte & 15]};
}

std::optional<KeyCode> modifierCode(std::string_view upperName) {
  for (const KeyName& row : modifierTable)
    if (row.name == upperName) return row.code;
  return std::nullopt;
}

}  // namespace quillon
