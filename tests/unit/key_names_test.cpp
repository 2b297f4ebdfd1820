#include <gtest/gtest.h>

#include "localization/language.h"
#include "main/key_names.h"

namespace quillon {
namespace {

// A keyboard layout that knows a few OEM keys, as the system would name them.
std::optional<std::string> systemName(int code) {
  if (code == 0xE2) return "<>";
  if (code == 0x5D || code == 0x41) return "never asked";
  return std::nullopt;
}

KeyNames built(int language) {
  qlnSetUiLanguage(language);
  KeyNames table;
  keyNames(table, [](int code) { return systemName(code); });
  return table;
}

TEST(KeyNames, FixedAndGeneratedNamesWhateverTheLayout) {
  const KeyNames table = built(english);
  const std::pair<int, const char*> expected[] = {
      {0x41, "A"},          {0x30, "0"},
      {0x60, "Num0"},       {0x69, "Num9"},
      {0x70, "F1"},         {0x87, "F24"},
      {0xBA, ";"},          {0xDC, "\\"},
      {0x23, "End"},        {0x7D, "F14"},
      {0x63, "Num3"},       {0x5D, "Menu"},
      {0x6A, "Num *"},      {0xB3, "Play / Pause"},
      {0x03, "Ctrl+Break"}, {0x10, "Shift"},
  };
  for (const auto& [code, name] : expected) {
    EXPECT_EQ(table.names[code], name) << code;
    EXPECT_TRUE(table.namedKey[code]) << code;
  }
}

TEST(KeyNames, SidedModifiersTakeTheBoxLabels) {
  const KeyNames table = built(english);
  EXPECT_EQ(table.names[0xA0], "L Shift");
  EXPECT_EQ(table.names[0xA3], "R Ctrl");
  EXPECT_EQ(table.names[0xA5], "R Alt");
  EXPECT_EQ(table.names[0x5B], "L Win");
  EXPECT_EQ(table.names[0x5C], "R Win");
  EXPECT_TRUE(table.namedKey[0x5C]);
}

TEST(KeyNames, SystemNamesAndTheSpecialForm) {
  KeyNames table = built(english);
  EXPECT_EQ(table.names[0xE2], "<>");
  EXPECT_TRUE(table.namedKey[0xE2]);
  EXPECT_EQ(table.names[0x07], "Special key (0x07)");
  EXPECT_FALSE(table.namedKey[0x07]);
  EXPECT_EQ(table.names[0xFE], "Special key (0xFE)");

  table = built(russian);
  EXPECT_EQ(table.names[0x07], "Особая клавиша (0x07)");
  EXPECT_FALSE(table.namedKey[0x07]);
}

TEST(KeyNames, LanguageRenamesButtonsSpecialKeysAndTheMouseLayer) {
  const KeyNames en = built(english);
  const KeyNames ru = built(russian);
  EXPECT_EQ(en.names[1], "Left mouse button");
  EXPECT_EQ(ru.names[1], "Левая кнопка мыши");
  EXPECT_EQ(ru.names[2], "Правая кнопка мыши");
  EXPECT_EQ(ru.names[4], "Средняя кнопка мыши");
  EXPECT_EQ(ru.names[5], "XButton1");
  EXPECT_EQ(en.names[255], "Mouse movement");
  EXPECT_EQ(ru.names[255], "Движение мыши");
  EXPECT_EQ(ru.names[0], "");
  EXPECT_FALSE(ru.namedKey[0]);
  EXPECT_FALSE(ru.namedKey[255]);
  EXPECT_EQ(ru.names[0xE2], "<>");
}

TEST(KeyNames, LongSystemNamesAreCutAtACharacter) {
  qlnSetUiLanguage(english);
  KeyNames table;
  keyNames(table, [](int code) -> std::optional<std::string> {
    if (code != 0xE2) return std::nullopt;
    std::string name;
    for (int i = 0; i < 100; ++i) name += "ж";
    return name;
  });
  EXPECT_EQ(table.names[0xE2].size(), 79u * 2);
}

TEST(Utf8, EncodesEveryPlane) {
  EXPECT_EQ(utf8(u"A→ж\U0001F600"), "A\xE2\x86\x92\xD0\xB6\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace quillon
