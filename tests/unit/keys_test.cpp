#include <gtest/gtest.h>

#include "layers/keys.h"
#include "layers/value_error.h"

namespace quillon {
namespace {

std::string keyError(std::string_view text) {
  try {
    return "accepted " + std::to_string(key(text));
  } catch (const ValueError& error) {
    return error.what();
  }
}

TEST(Key, AcceptsNamesInAnyCaseWithBlanksAround) {
  const std::pair<const char*, KeyCode> cases[] = {
      {"space", 32}, {"SPACE", 32}, {"sPaCe", 32},    {" \tSpace \r\n", 32}, {"h", 72},
      {"H", 72},     {"7", 55},     {"CapsLock", 20}, {"rshift", 161},       {"Esc", 27},
  };
  for (const auto& [text, code] : cases) EXPECT_EQ(key(text), code) << text;
}

TEST(Key, FunctionKeys) {
  EXPECT_EQ(key("F1"), 112);
  EXPECT_EQ(key("f24"), 135);
  EXPECT_EQ(key("F01"), 112);
  EXPECT_EQ(key("F"), 70);  // the letter F
  for (const char* text : {"F0", "F25", "F100", "F1x", "F-1", "F+1"})
    EXPECT_EQ(keyError(text), std::string("Unknown key: ") + text);
}

TEST(Key, HexadecimalCodes) {
  EXPECT_EQ(key("0xBC"), 188);
  EXPECT_EQ(key("0XbC"), 188);
  EXPECT_EQ(key("0x01"), 1);
  EXPECT_EQ(key("0xFE"), 254);
  for (const char* text : {"0x0", "0x100", "0x00", "0xFF", "0xG1", "x20", "0x 2"})
    EXPECT_EQ(keyError(text), std::string("Unknown key: ") + text);
}

TEST(Key, RefusesWhatIsNoKeyWithTheTextAsWritten) {
  for (const char* text : {";", ",", "-", "", " PgUp ", "Escape", "Del", "Return", "Page_Up",
                           "Page Up", "Shift", "Ctrl", "Alt", "Win", "MouseMove", "\xD0\xAF"})
    EXPECT_EQ(keyError(text), std::string("Unknown key: ") + text);
}

TEST(LayerKey, MouseMoveIsTheMouseLayer) {
  EXPECT_EQ(layerKey("mousemove"), 255);
  EXPECT_EQ(layerKey("  MouseMove\t"), 255);
  EXPECT_EQ(layerKey(" Space "), 32);
  try {
    layerKey(" Mouse Move ");
    FAIL();
  } catch (const ValueError& error) {
    EXPECT_STREQ(error.what(), "Unknown key:  Mouse Move ");
  }
}

TEST(KeyToken, CanonicalSpellings) {
  EXPECT_EQ(keyToken(20), "CapsLock");
  EXPECT_EQ(keyToken(160), "0xA0");
  EXPECT_EQ(keyToken(162), "0xA2");
  EXPECT_EQ(keyToken(188), "0xBC");
  EXPECT_EQ(keyToken(113), "F2");
  EXPECT_EQ(keyToken(135), "F24");
  EXPECT_EQ(keyToken(32), "Space");
  EXPECT_EQ(keyToken(33), "PageUp");
  EXPECT_EQ(keyToken(65), "A");
  EXPECT_EQ(keyToken(48), "0");
  EXPECT_EQ(keyToken(1), "0x01");
  EXPECT_EQ(keyToken(255), "MouseMove");
}

TEST(KeyToken, EveryCodeReadsBackToItself) {
  for (KeyCode code = 1; code <= 254; ++code) EXPECT_EQ(key(keyToken(code)), code) << code;
}

TEST(ModifierTable, GenericAndSidedNames) {
  EXPECT_EQ(modifierCode("SHIFT"), 0x10);
  EXPECT_EQ(modifierCode("WIN"), 0);
  EXPECT_EQ(modifierCode("RWIN"), 0x5C);
  EXPECT_EQ(modifierCode("Shift"), std::nullopt);  // callers upper-case first
  EXPECT_EQ(modifierCode(""), std::nullopt);
  // Every spelling the settings window writes is one the reader accepts.
  for (std::string_view name : modifierNames) {
    std::string upperName(name);
    for (char& c : upperName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(modifierCode(upperName).has_value()) << name;
  }
}

}  // namespace
}  // namespace quillon
