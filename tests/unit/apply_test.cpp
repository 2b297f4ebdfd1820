// Saving a profile from the settings window and the start-with-Windows
// toggle, against a fake system that logs what reaches the file, the Run
// value and the user.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "layers/engine.h"
#include "layers/profile.h"
#include "localization/language.h"
#include "localization/texts.h"
#include "main/about_text.h"
#include "main/apply_logic.h"
#include "main/profile_text.h"
#include "main/run_value.h"

namespace quillon {
namespace {

struct FakeSystem {
  bool registryFails = false;  // the first change of the Run value
  bool rollbackFails = false;  // any later one
  bool fileFails = false;
  int runChanges = 0;
  std::vector<std::string> log;

  bool setStartup(bool enable) {
    log.push_back(std::string("run ") + (enable ? "on" : "off"));
    return ++runChanges == 1 ? !registryFails : !rollbackFails;
  }
  void persist(std::string_view text) {
    log.push_back("persist " + std::string(text));
    if (fileFails) throw std::runtime_error("Could not replace the profile layers.ini");
  }
  void showError(std::string_view message) { log.push_back("error " + std::string(message)); }
  void showError(TextId id) { log.push_back("error #" + std::to_string(static_cast<int>(id))); }
};

// The profile in force, as start-up leaves it after loading `text`.
struct InForce {
  std::string current;
  bool startupEnabled;
  Engine board;

  explicit InForce(std::string_view text)
      : current(text),
        startupEnabled(layout(text).options.startup),
        board(keyboard(layout(text))) {}
  ProfileInForce state() { return {current, startupEnabled, board}; }
};

// What a key sequence produces through the engine in force.
std::string keys(Engine& board, std::initializer_list<std::pair<KeyCode, bool>> events) {
  std::string out;
  std::uint32_t time = 1000;
  for (const auto& [code, down] : events) {
    const auto emit = [&](KeyCode output, bool outputDown) {
      out += (outputDown ? "dn:" : "up:") + keyToken(output) + " ";
    };
    const auto foreground = [] { return std::string_view("notepad.exe"); };
    translateKey(board, code, down, false, time += 10, foreground, emit);
  }
  return out;
}

constexpr KeyCode space = 32;
constexpr KeyCode h = 'H';

class Saving : public ::testing::Test {
 protected:
  void SetUp() override { qlnSetUiLanguage(english); }
  void TearDown() override { qlnSetUiLanguage(russian); }

  InForce profile{defaultProfile};
  FakeSystem system;
};

TEST_F(Saving, StoresTheDraftWithTheLanguageInUseAndPutsItInForce) {
  const std::string draft = "[Program]\r\nStartup=0\r\n[Space]\r\nH=End\r\n";
  ASSERT_TRUE(saveProfile(draft, profile.state(), system));
  const std::string stored = "[Program]\r\nLanguage=en\r\nStartup=0\r\n[Space]\r\nH=End\r\n";
  EXPECT_EQ(system.log, (std::vector<std::string>{"persist " + stored, "run off"}));
  EXPECT_EQ(profile.current, stored);
  EXPECT_FALSE(profile.startupEnabled);
  EXPECT_EQ(keys(profile.board, {{space, true}, {h, true}, {h, false}, {space, false}}),
            "dn:End up:End ");
}

TEST_F(Saving, LanguageTypedIntoTheDraftGivesWayToTheLanguageInUse) {
  ASSERT_TRUE(saveProfile("[Program]\nLanguage=de\n[Space]\nH=End", profile.state(), system));
  EXPECT_EQ(profile.current, "[Program]\r\nLanguage=en\r\n[Space]\r\nH=End");
}

// Line numbers count the stored text: the Language line saving adds after the
// last [Program] header (or with a header at the top) moves later lines down.
TEST_F(Saving, ParseErrorsCountTheStoredLines) {
  const struct {
    const char* draft;
    const char* message;
  } cases[] = {
      {"[Program]\nLanguage=ru\nExclude=a.exe\nStartup=2\n[Space]\nH=End\n",
       "Line 4: Startup expects 0 or 1"},
      {"[Program]\nExclude=a.exe\nDelayMs=5\nStartup=2\n[Space]\nH=End\n",
       "Line 5: Startup expects 0 or 1"},
      {"; mine\n[Space]\nH=End\nJ=Nothing\n", "Line 6: Unknown key"},
      {"[Program]\nStartup=1\n[Space]\nH=End\n[Program]\nStartup=3\n",
       "Line 7: Startup expects 0 or 1"},
      {"[Program]\nStartup=1\n[Space]\nH=End\n[Program]\nStartup=3\n[Space]\n",
       "Line 7: Startup expects 0 or 1"},
      {"[Program]\nStartup=1\n", "No layers defined"},
  };
  for (const auto& [draft, message] : cases) {
    system.log.clear();
    EXPECT_FALSE(saveProfile(draft, profile.state(), system));
    ASSERT_EQ(system.log.size(), 1u) << draft;
    EXPECT_TRUE(system.log[0].starts_with(std::string("error ") + message)) << system.log[0];
  }
  EXPECT_EQ(profile.current, defaultProfile);
}

TEST_F(Saving, RefusedWhileALayerKeyIsHeldThenSavedOnceReleased) {
  const std::string draft = "[Space]\r\nH=End\r\n";
  keys(profile.board, {{space, true}});
  EXPECT_FALSE(saveProfile(draft, profile.state(), system));
  EXPECT_EQ(system.log,
            (std::vector<std::string>{"error Release the layer keys and try saving again."}));
  EXPECT_EQ(profile.current, defaultProfile);
  // The engine in force is the old one, still holding the layer.
  EXPECT_EQ(keys(profile.board, {{h, true}, {h, false}, {space, false}}), "dn:PageUp up:PageUp ");

  system.log.clear();
  EXPECT_TRUE(saveProfile(draft, profile.state(), system));
  EXPECT_EQ(keys(profile.board, {{space, true}, {h, true}, {h, false}, {space, false}}),
            "dn:End up:End ");
}

TEST_F(Saving, AFileThatCannotBeWrittenChangesNothing) {
  system.fileFails = true;
  EXPECT_FALSE(saveProfile("[Program]\nStartup=0\n[Space]\nH=End\n", profile.state(), system));
  ASSERT_EQ(system.log.size(), 2u);
  EXPECT_EQ(system.log[1], "error Could not replace the profile layers.ini");
  EXPECT_EQ(profile.current, defaultProfile);
  EXPECT_TRUE(profile.startupEnabled);
  EXPECT_EQ(keys(profile.board, {{space, true}, {h, true}, {h, false}, {space, false}}),
            "dn:PageUp up:PageUp ");
}

TEST_F(Saving, ARunValueThatCannotChangeStillCountsAsSaved) {
  system.registryFails = true;
  EXPECT_TRUE(saveProfile("[Program]\nStartup=0\n[Space]\nH=End\n", profile.state(), system));
  ASSERT_EQ(system.log.size(), 3u);
  EXPECT_EQ(system.log[1], "run off");
  EXPECT_EQ(system.log[2], "error Profile saved. Windows could not change startup.");
  EXPECT_FALSE(profile.startupEnabled);
  EXPECT_TRUE(profile.current.find("H=End") != std::string::npos);
}

class Toggling : public Saving {};

TEST_F(Toggling, ChangesTheRunValueFirstThenTheFileAndTheEditorsDraft) {
  // The file gets the option set in the text in force, the editor keeps its
  // own unsaved edits with the option set in them.
  const auto editor = toggleStartup("[Space]\r\nH=End", false, profile.state(), system);
  ASSERT_TRUE(editor);
  EXPECT_EQ(*editor, "[Program]\r\nLanguage=en\r\nStartup=0\r\n[Space]\r\nH=End");
  std::string stored =
      programOption(programOption(defaultProfile, "Startup", "0"), "Language", "en");
  EXPECT_EQ(system.log, (std::vector<std::string>{"run off", "persist " + stored}));
  EXPECT_EQ(profile.current, stored);
  EXPECT_FALSE(profile.startupEnabled);
}

TEST_F(Toggling, ARefusedRunValueLeavesTheFileAlone) {
  system.registryFails = true;
  EXPECT_FALSE(toggleStartup("", false, profile.state(), system));
  EXPECT_EQ(system.log,
            (std::vector<std::string>{"run off", "error Could not change Windows startup."}));
  EXPECT_EQ(profile.current, defaultProfile);
  EXPECT_TRUE(profile.startupEnabled);
}

TEST_F(Toggling, AFileThatCannotBeWrittenPutsTheRunValueBack) {
  system.fileFails = true;
  EXPECT_FALSE(toggleStartup("", true, profile.state(), system));
  ASSERT_EQ(system.log.size(), 4u);
  EXPECT_EQ(system.log[0], "run on");
  EXPECT_EQ(system.log[2], "run off");
  EXPECT_EQ(system.log[3], "error Could not replace the profile layers.ini");
  EXPECT_EQ(profile.current, defaultProfile);
  EXPECT_TRUE(profile.startupEnabled);

  system = FakeSystem{};
  system.fileFails = true;
  system.rollbackFails = true;
  EXPECT_FALSE(toggleStartup("", true, profile.state(), system));
  ASSERT_EQ(system.log.size(), 5u);
  EXPECT_EQ(system.log[3], "error Could not restore the previous startup setting.");
  EXPECT_EQ(system.log[4], "error Could not replace the profile layers.ini");
}

TEST(RunValue, DataIsTheWholeQuotedPathWithItsTerminator) {
  EXPECT_FALSE(wholeModulePath(0));
  EXPECT_TRUE(wholeModulePath(1));
  EXPECT_TRUE(wholeModulePath(32767));
  // A path that fills the buffer may be cut short: nothing is written.
  EXPECT_FALSE(wholeModulePath(32768));
  EXPECT_FALSE(wholeModulePath(40000));
  // "C:\q.exe" in quotes is 10 characters: 11 with the NUL, 22 bytes.
  EXPECT_EQ(runDataBytes(10), 22u);
  EXPECT_EQ(runDataCapacity, 32772u);
  EXPECT_FALSE(runValueCounts(0));
  EXPECT_FALSE(runValueCounts(2));
  EXPECT_TRUE(runValueCounts(4));
}

TEST(About, VersionIsTakenFromTheTemplatesLabel) {
  EXPECT_EQ(versionIn(u"Версия 1.1.2"), u"1.1.2");
  EXPECT_EQ(versionIn(u"1.1.2"), u"1.1.2");
  EXPECT_EQ(versionIn(u"Version"), u"");
}

// The buttons name the maker's contacts in every language and open exactly
// what they name, the dialog template included.
TEST(About, LinkButtonsOpenWhatTheyName) {
  const std::u16string channel = messengerChannel;
  const std::u16string address = emailAddress;
  const auto row = [](const auto& table, TextId id) {
    return std::u16string(table[static_cast<std::size_t>(id)]);
  };
  EXPECT_EQ(std::u16string(messengerLink.data()), u"https://t.me/" + channel);
  EXPECT_EQ(std::u16string(emailLink.data()), u"mailto:" + address);
  EXPECT_EQ(row(qlnEnText, TextId::aboutTelegram), u"Telegram: @" + channel);
  EXPECT_EQ(row(qlnRuText, TextId::aboutTelegram), u"Telegram: @" + channel);
  EXPECT_EQ(row(qlnEnText, TextId::aboutEmail), u"Email: " + address);
  EXPECT_EQ(row(qlnRuText, TextId::aboutEmail), u"Почта: " + address);

  std::ifstream file(QUILLON_SOURCE_DIR "/src/resources/quillon.rc");
  std::stringstream resources;
  resources << file.rdbuf();
  const std::string ascii(channel.begin(), channel.end());
  const std::string mail(address.begin(), address.end());
  EXPECT_NE(resources.str().find("\"Telegram: @" + ascii + "\", 301"), std::string::npos);
  EXPECT_NE(resources.str().find("\"Почта: " + mail + "\", 302"), std::string::npos);
}

}  // namespace
}  // namespace quillon
