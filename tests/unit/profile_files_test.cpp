#include "main/profile_files.h"

#include <gtest/gtest.h>

#include <cctype>

#include "main/profile_text.h"

namespace quillon {
namespace {

TEST(EditorText, EveryLineEndBecomesCrLf) {
  EXPECT_EQ(editorText("[Space]\nH=PageUp\n"), "[Space]\r\nH=PageUp\r\n");
  EXPECT_EQ(editorText("a\rb\r\nc\nd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(editorText("a\n\n\nb"), "a\r\n\r\n\r\nb");
  EXPECT_EQ(editorText(""), "");
  EXPECT_EQ(editorText(defaultProfile), defaultProfile);
  // Bytes that are not ASCII pass unchanged: the conversion to UTF-16 comes later.
  EXPECT_EQ(editorText("; \xD0\xBC\xD0\xBE\xD0\xB9\n"), "; \xD0\xBC\xD0\xBE\xD0\xB9\r\n");
}

TEST(TemporaryName, IsLayersEightAlphanumericsTmp) {
  EXPECT_EQ(temporaryName({0, 1, 25, 26, 51, 52, 61, 62}), "layers-abzAZ09a.tmp");
  EXPECT_EQ(temporaryName({255, 255, 255, 255, 255, 255, 255, 255}).size(), 19u);
  for (int first = 0; first < 256; ++first) {
    const auto byte = static_cast<std::uint8_t>(first);
    const std::string name = temporaryName({byte, byte, byte, byte, byte, byte, byte, byte});
    ASSERT_EQ(name.substr(0, 7), "layers-");
    ASSERT_EQ(name.substr(15), ".tmp");
    for (char c : name.substr(7, 8)) ASSERT_TRUE(std::isalnum(static_cast<unsigned char>(c)));
  }
}

}  // namespace
}  // namespace quillon
