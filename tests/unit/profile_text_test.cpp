#include <gtest/gtest.h>

#include "localization/language.h"
#include "main/profile_text.h"

namespace quillon {
namespace {

TEST(DefaultProfile, IsTwentyNineCrLfLinesOf250Bytes) {
  EXPECT_EQ(defaultProfile.size(), 250u);
  std::size_t lines = 0;
  for (std::size_t at = defaultProfile.find("\r\n"); at != std::string_view::npos;
       at = defaultProfile.find("\r\n", at + 2))
    ++lines;
  EXPECT_EQ(lines, 29u);
  EXPECT_TRUE(defaultProfile.ends_with("Space=0\r\n"));
}

TEST(ProgramOption, ReplacesOnlyTheOptionLine) {
  const std::string edited = programOption(defaultProfile, "Language", "en");
  EXPECT_EQ(edited.size(), 250u);
  std::string expected(defaultProfile);
  expected.replace(expected.find("Language=ru"), 11, "Language=en");
  EXPECT_EQ(edited, expected);
}

TEST(ProgramOption, InsertsAProgramSectionWhenThereIsNone) {
  EXPECT_EQ(programOption("[Space]\nH=PageUp", "Startup", "1"),
            "[Program]\r\nStartup=1\r\n[Space]\r\nH=PageUp");
  EXPECT_EQ(programOption("", "Startup", "1"), "[Program]\r\nStartup=1\r\n");
}

TEST(ProgramOption, ReplacesEveryMatchInEveryProgramSection) {
  EXPECT_EQ(programOption("[Program]\n startup = 0\n[Space]\nStartup=0\n[program]\nSTARTUP=0\n",
                          "Startup", "1"),
            "[Program]\r\nStartup=1\r\n[Space]\r\nStartup=0\r\n[program]\r\nStartup=1\r\n");
}

TEST(ProgramOption, InsertsAfterTheLastProgramHeader) {
  EXPECT_EQ(programOption("[Program]\nStartup=1\n[Space]\nH=Up\n[Program]\nDelayMs=5\n", "MouseMs",
                          "700"),
            "[Program]\r\nStartup=1\r\n[Space]\r\nH=Up\r\n[Program]\r\nMouseMs=700\r\n"
            "DelayMs=5\r\n");
}

TEST(ProgramOption, CommentsAreNotOptionsButBareNamesAre) {
  EXPECT_EQ(programOption("[Program]\r\n; Language=ru\r\nlanguage\r\n", "Language", "en"),
            "[Program]\r\n; Language=ru\r\nLanguage=en\r\n");
  // A header that never closes still starts a section, as a line that begins with "[".
  EXPECT_EQ(programOption("[Program]\r\n[Space\r\nLanguage=ru", "Language", "en"),
            "[Program]\r\nLanguage=en\r\n[Space\r\nLanguage=ru");
}

TEST(WithLanguage, RecordsTheLanguageInUse) {
  qlnSetUiLanguage(english);
  EXPECT_EQ(withLanguage("[Program]\nLanguage=ru\n"), "[Program]\r\nLanguage=en\r\n");
  qlnSetUiLanguage(russian);
  EXPECT_EQ(withLanguage("[Space]\nH=Up"), "[Program]\r\nLanguage=ru\r\n[Space]\r\nH=Up");
}

TEST(LanguageFromIni, FirstLanguageLineOfAProgramSectionDecides) {
  EXPECT_TRUE(languageFromIni("[program]\n  Language = EN \n"));
  EXPECT_FALSE(languageFromIni("[Space]\nLanguage=en\n"));
  EXPECT_FALSE(languageFromIni("[Program]\nLanguage=de\n"));
  EXPECT_FALSE(languageFromIni("[Program]\nStartup=1\n"));
  EXPECT_FALSE(languageFromIni(""));
  EXPECT_FALSE(languageFromIni("[Program]\nLanguage=ru\nLanguage=en\n"));
  EXPECT_TRUE(languageFromIni("[Program]\n# Language=ru\nLanguage=en\n"));
  EXPECT_TRUE(languageFromIni("[Program]\rLanguage=en"));
  EXPECT_FALSE(languageFromIni(defaultProfile));
}

}  // namespace
}  // namespace quillon
