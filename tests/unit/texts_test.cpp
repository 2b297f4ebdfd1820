#include <gtest/gtest.h>

#include <string>

#include "localization/language.h"
#include "localization/texts.h"

namespace quillon {
namespace {

TEST(Language, OnlyOneMeansEnglish) {
  for (int value : {1, 0, 2, -1, 255}) {
    qlnSetUiLanguage(value);
    EXPECT_EQ(qlnUiLanguage(), value == 1 ? 1 : 0) << value;
  }
  qlnSetUiLanguage(russian);
}

TEST(Tr, RussianFirst) {
  qlnSetUiLanguage(english);
  EXPECT_EQ(tr("Выход", "Exit"), "Exit");
  qlnSetUiLanguage(russian);
  EXPECT_EQ(tr("Выход", "Exit"), "Выход");
}

TEST(Texts, TablesFollowTheLanguage) {
  qlnSetUiLanguage(english);
  EXPECT_EQ(std::u16string(text(TextId::menuExit)), u"Exit");
  EXPECT_EQ(std::u16string(text(TextId::windowTitle)), u"Quillon — layer settings");
  qlnSetUiLanguage(russian);
  EXPECT_EQ(std::u16string(text(TextId::menuExit)), u"Выход");
  EXPECT_EQ(std::u16string(text(TextId::close)), u"Закрыть");
}

TEST(Texts, RowsKeepTheirExactForm) {
  EXPECT_EQ(textCount, 46u);
  const auto en = [](TextId id) { return std::u16string(qlnEnText[static_cast<std::size_t>(id)]); };
  const auto ru = [](TextId id) { return std::u16string(qlnRuText[static_cast<std::size_t>(id)]); };
  EXPECT_EQ(en(TextId::mappingsFrame), u" Key mappings ");
  EXPECT_EQ(ru(TextId::layerFrame), u" Настройки слоя ");
  EXPECT_EQ(en(TextId::delayLabel), u"Delay before layer\nactivation, ms");
  EXPECT_EQ(ru(TextId::mouseGuard),
            u"После ввода текста не включать слой\nпо движению мыши в течение тайм-аута");
  EXPECT_EQ(en(TextId::specialKey), u"Special key (0x%02X)");
  EXPECT_EQ(en(TextId::save), u"Save");
  EXPECT_EQ(ru(TextId::pressKey), u"Введите…");
  EXPECT_TRUE(en(TextId::aboutTelegram).starts_with(u"Telegram: "));
  EXPECT_TRUE(ru(TextId::aboutEmail).starts_with(u"Почта: "));
  for (std::size_t i = 0; i < textCount; ++i) {
    EXPECT_NE(qlnEnText[i], nullptr);
    EXPECT_NE(qlnRuText[i], nullptr);
    EXPECT_FALSE(std::u16string(qlnEnText[i]).empty()) << i;
  }
}

}  // namespace
}  // namespace quillon
