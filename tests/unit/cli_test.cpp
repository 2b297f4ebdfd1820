#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "localization/language.h"
#include "main/profile_text.h"
#include "tools/cli.h"

namespace quillon {
namespace {

TEST(Check, CountsLayersAndBindings) {
  const CliResult result = checkProfile(defaultProfile);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "ok: 2 layers, 21 bindings\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(checkProfile("[MouseMove]\n[Space]\nH=Up\n").out, "ok: 2 layers, 1 bindings\n");
}

TEST(Check, ReportsTheFirstErrorOnOneLine) {
  const CliResult result = checkProfile("[Program]\n\n\n\n\n[Space]\nH=PgUp\n");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Line 7: Unknown key: PgUp\n");
  EXPECT_EQ(checkProfile("# nothing\n").err, "No layers defined\n");
}

TEST(Check, SpeaksTheProfilesLanguage) {
  EXPECT_EQ(checkProfile("[Program]\nMouseOn=M\nMouseOff=M\n[Space]\nH=Up").err,
            "Выберите разные клавиши включения и выключения.\n");
  EXPECT_EQ(checkProfile("[Program]\nLanguage=en\nMouseOn=M\nMouseOff=M\n[Space]\nH=Up").err,
            "Choose different enable and disable keys.\n");
  qlnSetUiLanguage(russian);
}

TEST(Check, ReadsTheFileAsBytes) {
  const auto dir = std::filesystem::temp_directory_path() / "quillon-cli-test";
  std::filesystem::create_directories(dir);
  const auto file = dir / "layers.ini";
  std::ofstream(file, std::ios::binary) << "[Space]\rH=Up\r";
  EXPECT_EQ(check(file.string()).out, "ok: 1 layers, 1 bindings\n");

  const CliResult missing = check((dir / "absent.ini").string());
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("absent.ini"), std::string::npos);
  EXPECT_EQ(missing.err.back(), '\n');
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quillon
