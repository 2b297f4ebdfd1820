#include "main/key_names.h"

#include <cstdio>
#include <variant>

#include "localization/texts.h"

namespace quillon {

const std::array<std::string_view, 12> modLabels{
    "L Shift", "R Shift", "L Ctrl", "R Ctrl", "L Alt", "R Alt",
    "L Win",   "R Win",   "Shift",  "Ctrl",   "Alt",   "Win",
};

namespace {

// A fixed name: the same in both languages, or a UI text.
struct FixedName {
  int code;
  std::variant<std::string_view, TextId> name;
};

constexpr FixedName fixedNames[] = {
    {1, TextId::leftButton},
    {2, TextId::rightButton},
    {3, "Ctrl+Break"},
    {4, TextId::middleButton},
    {5, "XButton1"},
    {6, "XButton2"},
    {8, "Backspace"},
    {9, "Tab"},
    {12, "Clear"},
    {13, "Enter"},
    {16, "Shift"},
    {17, "Ctrl"},
    {18, "Alt"},
    {19, "Pause"},
    {20, "CapsLock"},
    {27, "Esc"},
    {32, "Space"},
    {33, "PageUp"},
    {34, "PageDown"},
    {35, "End"},
    {36, "Home"},
    {37, "Left"},
    {38, "Up"},
    {39, "Right"},
    {40, "Down"},
    {44, "PrintScreen"},
    {45, "Insert"},
    {46, "Delete"},
    {93, "Menu"},
    {95, "Sleep"},
    {106, "Num *"},
    {107, "Num +"},
    {108, "Num Separator"},
    {109, "Num -"},
    {110, "Num Decimal"},
    {111, "Num /"},
    {144, "NumLock"},
    {145, "ScrollLock"},
    {166, "Browser Back"},
    {167, "Browser Forward"},
    {168, "Browser Refresh"},
    {169, "Browser Stop"},
    {170, "Browser Search"},
    {171, "Browser Favorites"},
    {172, "Browser Home"},
    {173, "Volume Mute"},
    {174, "Volume Down"},
    {175, "Volume Up"},
    {176, "Next Track"},
    {177, "Previous Track"},
    {178, "Media Stop"},
    {179, "Play / Pause"},
    {180, "Launch Mail"},
    {181, "Media Select"},
    {182, "Launch App 1"},
    {183, "Launch App 2"},
    {186, ";"},
    {187, "+"},
    {188, ","},
    {189, "-"},
    {190, "."},
    {191, "/"},
    {192, "`"},
    {219, "["},
    {220, "\\"},
    {221, "]"},
    {222, "'"},
};

// The sided modifiers, named after their boxes whatever the loop gave them.
constexpr std::array<int, 8> sidedCodes{0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x5B, 0x5C};

// At most 79 characters fit a name in the window's buffers.
constexpr std::size_t nameLimit = 79;

std::optional<std::string> fixedName(int code) {
  for (const FixedName& entry : fixedNames) {
    if (entry.code != code) continue;
    if (const auto* plain = std::get_if<std::string_view>(&entry.name)) return std::string(*plain);
    return utf8(text(std::get<TextId>(entry.name)));
  }
  return std::nullopt;
}

std::optional<std::string> generatedName(int code) {
  // Appended rather than concatenated: "F" + to_string trips a false
  // -Wrestrict in the cross g++ 12 at -O3.
  std::string name;
  if (code >= 112 && code <= 135) return (name = "F") += std::to_string(code - 111);
  if (code >= 96 && code <= 105) return (name = "Num") += std::to_string(code - 96);
  if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
    return std::string(1, static_cast<char>(code));
  return std::nullopt;
}

// Cuts at a character boundary so a long system name stays valid UTF-8.
std::string limited(std::string name) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if ((static_cast<unsigned char>(name[i]) & 0xC0) == 0x80) continue;
    if (++characters > nameLimit) return name.substr(0, i);
  }
  return name;
}

}  // namespace

std::string utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string specialKeyName(int code) {
  // The table's form holds the one "%02X" the code fills in.
  const std::string form = utf8(text(TextId::specialKey));
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(code) & 0xFF);
  const std::size_t at = form.find("%02X");
  if (at == std::string::npos) return form;
  return form.substr(0, at) + digits + form.substr(at + 4);
}

void keyNames(KeyNames& table, SystemKeyName systemName) {
  for (int code = 1; code <= 254; ++code) {
    std::optional<std::string> name = fixedName(code);
    if (!name) name = generatedName(code);
    if (!name) name = systemName(code);
    table.namedKey[code] = name.has_value();
    table.names[code] = name ? limited(std::move(*name)) : specialKeyName(code);
  }
  for (std::size_t i = 0; i < sidedCodes.size(); ++i) {
    table.names[sidedCodes[i]] = modLabels[i];
    table.namedKey[sidedCodes[i]] = true;
  }
  table.names[255] = utf8(text(TextId::mouseMovementName));
}

}  // namespace quillon
