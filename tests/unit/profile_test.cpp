#include <gtest/gtest.h>

#include "layers/profile.h"
#include "layers/value_error.h"
#include "localization/language.h"
#include "main/profile_text.h"

namespace quillon {
namespace {

// The parser's message for a profile, or "ok".
std::string parseError(std::string_view text) {
  try {
    layout(text);
    return "ok";
  } catch (const ValueError& error) {
    return error.what();
  }
}

// A profile with one layer, so program options can be checked on their own.
std::string withLayer(std::string_view program) {
  return "[Program]\n" + std::string(program) + "\n[Space]\nH=PageUp\n";
}

Layout parsedProgram(std::string_view program) {
  return layout(withLayer(program));
}

TEST(Layout, DefaultProfile) {
  const Layout parsed = layout(defaultProfile);
  ASSERT_EQ(parsed.layers.size(), 2u);
  EXPECT_EQ(parsed.layers.at(32).size(), 11u);
  EXPECT_EQ(parsed.layers.at(20).size(), 10u);
  EXPECT_EQ(parsed.layers.at(32).at('H'), 33);
  EXPECT_EQ(parsed.layers.at(20).at(0xBC), '2');
  EXPECT_EQ(parsed.layers.at(20).at(32), '0');
  EXPECT_TRUE(parsed.options.startup);
  EXPECT_EQ(parsed.options.exclude, std::vector<std::string>{"quakelive_steam.exe"});
  EXPECT_EQ(parsed.options.delayMs, 80);
  EXPECT_FALSE(parsed.options.ignoreLongHold);
  EXPECT_EQ(parsed.options.holdMs, 500);
  EXPECT_EQ(parsed.options.mouseMs, 650u);
  EXPECT_FALSE(parsed.options.mouseGuard);
  EXPECT_EQ(parsed.options.mouseOn, 0);
  EXPECT_EQ(parsed.options.mouseOff, 0);
  EXPECT_TRUE(parsed.timings.empty());
  EXPECT_EQ(parsed.modifiers.size(), 21u);
  for (const auto& [where, list] : parsed.modifiers) EXPECT_TRUE(list.empty());
}

TEST(Layout, StructuralErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "No layers defined"},
      {"\n\n# only comments\n; and more\n  \n", "No layers defined"},
      {"[Program]\nStartup=1\n", "No layers defined"},
      {"[Space]\n", "Empty layer"},
      {"[Space]\nH=Up\n[CapsLock]\n", "Empty layer"},
      {"[MouseMove]\n", "ok"},
      {"Startup=1\n[Space]\nH=Up", "Line 1: Expected [key] or source=target"},
      {"\xEF\xBB\xBF[Program]\n[Space]\nH=Up", "Line 1: Expected [key] or source=target"},
      {"[Space]\nH\n", "Line 2: Expected [key] or source=target"},
      {"[Program]\nStartup\n[Space]\nH=Up", "Line 2: Expected [key] or source=target"},
      {"[Space\nH=Up", "Line 1: Expected [key] or source=target"},
      {"[Space]\nH=Up\n[0x20]\nJ=Left", "Line 3: Duplicate layer"},
      {"[MouseMove]\n[mousemove]", "Line 2: Duplicate layer"},
      {"[ Program ]\n", "Line 1: Unknown key:  Program "},
      {"[]\n", "Line 1: Unknown key: "},
      {"[Space]\nEsc=1\n0x1B=2", "Line 3: Duplicate binding"},
      {"[Space]\nH=PageUp ; comment", "Line 2: Unknown key: PageUp ; comment"},
      {"[Space]\nH=Shift+shift+Left", "Line 2: Duplicate modifier"},
      {"[Space]\nH=+Left", "Line 2: Unknown modifier"},
      {"[Space]\nH=Ctrl++Left", "Line 2: Unknown modifier"},
      {"[Space]\nH=Hyper+Left", "Line 2: Unknown modifier"},
      {"[Space]\nH=Ctrl+", "Line 2: Unknown key: "},
      {"[Space]\nCtrl+H=Left", "Line 2: Unknown key: Ctrl+H"},
      {"[Space]\nH=Shift", "Line 2: Unknown key: Shift"},
      {"[Space]\nH=Left\n[Program]\nJ=Left", "Line 4: Unknown program option"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(parseError(text), message) << text;
}

TEST(Layout, ProgramOptionErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"Startup=2", "Startup expects 0 or 1"},
      {"Startup=", "Startup expects 0 or 1"},
      {"Language=de", "Language expects ru or en"},
      {"MouseGuard=yes", "MouseGuard expects 0 or 1"},
      {"MouseMs=0", "MouseMs expects 1..600000"},
      {"MouseMs=600001", "MouseMs expects 1..600000"},
      {"MouseMs=1.5", "invalid integer: 1.5"},
      {"HoldMs=499", "HoldMs expects 500..5000"},
      {"HoldSeconds=6", "HoldSeconds expects 2..5"},
      {"IgnoreLongHold=2", "IgnoreLongHold expects 0 or 1"},
      {"DelayMs=-1", "DelayMs expects 0..1000"},
      {"DelayMs=", "invalid integer: "},
      {"DelayMs=  12a ", "invalid integer: 12a"},
      {"DelayMs=_1", "invalid integer: _1"},
      {"DelayMs=1_", "invalid integer: 1_"},
      {"DelayMs=+", "invalid integer: +"},
      {"DelayMs=0x10", "invalid integer: 0x10"},
      {"DelayMs=9223372036854775808", "Parsed integer outside of valid range"},
      {"DelayMs=-9223372036854775809", "Parsed integer outside of valid range"},
      {"DelayMs=1234567890123456789012345678901234567890", "Parsed integer outside of valid range"},
      {"DelayMs=-9223372036854775808", "DelayMs expects 0..1000"},
      {"MouseOn=MouseMove", "Unknown key: MouseMove"},
      {"MouseOff=00", "Unknown key: 00"},
      {"Timing.Space=100,2,2000", "Invalid layer timing"},
      {"Timing.Space=1001,1,2000", "Invalid layer timing"},
      {"Timing.Space=100,1,499", "Invalid layer timing"},
      {"Timing.Space=100,1", "Expected delay,enabled,hold"},
      {"Timing.Space=100,1,2000,4", "Expected delay,enabled,hold"},
      {"Timing.Space=x,9,y", "invalid integer: x"},
      {"Timing.Space=1,9,y", "invalid integer: y"},
      {"Timing.MouseMove=100,1,2000", "Unknown key: mousemove"},
      {"Timing.PgUp=100,1,2000", "Unknown key: pgup"},
      {"Mouse_Ms=5", "Unknown program option"},
      {"Mouse Ms=5", "Unknown program option"},
  };
  for (const auto& [line, message] : cases)
    EXPECT_EQ(parseError(withLayer(line)), std::string("Line 2: ") + message) << line;
}

TEST(Layout, ProgramOptionValues) {
  EXPECT_EQ(parsedProgram("HoldSeconds=3").options.holdMs, 3000);
  EXPECT_EQ(parsedProgram("HoldSeconds=3\nHoldMs=700").options.holdMs, 700);
  EXPECT_EQ(parsedProgram("HoldMs=700\nHoldSeconds=3").options.holdMs, 3000);
  EXPECT_EQ(parsedProgram("DelayMs=1_000").options.delayMs, 1000);
  EXPECT_EQ(parsedProgram("DelayMs=+0_0_7").options.delayMs, 7);
  EXPECT_EQ(parsedProgram(" MOUSEMS = 600000 ").options.mouseMs, 600000u);
  EXPECT_TRUE(parsedProgram("IgnoreLongHold=1").options.ignoreLongHold);
  EXPECT_TRUE(parsedProgram("MouseGuard=1").options.mouseGuard);
  EXPECT_EQ(parsedProgram("Language=EN").options.exclude.size(), 0u);
  EXPECT_EQ(parsedProgram("SpaceByRelease=whatever, really").options.delayMs, 80);

  const Layout excluded = parsedProgram("Exclude=Game.EXE, ,other.exe\nExclude=third.exe,");
  EXPECT_EQ(excluded.options.exclude,
            (std::vector<std::string>{"game.exe", "other.exe", "third.exe"}));

  const Layout mouse = parsedProgram("MouseOn=0\nMouseOff=0x30");
  EXPECT_EQ(mouse.options.mouseOn, 0);
  EXPECT_EQ(mouse.options.mouseOff, 0x30);
  EXPECT_EQ(parsedProgram("MouseOn=0\nMouseOff=0").options.mouseOff, 0);

  const Layout timed = parsedProgram("Timing.0x20=100,1,2000\ntiming.capslock = 5 , 0 , 900");
  EXPECT_EQ(timed.timings.at(32), (LayerTiming{100, true, 2000}));
  EXPECT_EQ(timed.timings.at(20), (LayerTiming{5, false, 900}));
  EXPECT_EQ(parsedProgram("Timing.F5=1,1,500").timings.count(116), 1u);  // no section needed
  EXPECT_EQ(parsedProgram("Timing.Space=1,0,500\nTiming.0x20=2,1,600").timings.at(32),
            (LayerTiming{2, true, 600}));
}

TEST(Layout, ProgramSectionAnywhereAndAnyCase) {
  const Layout parsed = layout("[Space]\nH=Up\n[program]\nDelayMs=5\n[PROGRAM]\nHoldMs=900\n");
  EXPECT_EQ(parsed.options.delayMs, 5);
  EXPECT_EQ(parsed.options.holdMs, 900);
}

TEST(Layout, MouseKeysMustDiffer) {
  qlnSetUiLanguage(english);
  EXPECT_EQ(parseError(withLayer("MouseOn=M\nMouseOff=M")),
            "Choose different enable and disable keys.");
  qlnSetUiLanguage(russian);
  EXPECT_EQ(parseError(withLayer("MouseOn=M\nMouseOff=0x4d")),
            "Выберите разные клавиши включения и выключения.");
}

TEST(Layout, ErrorsArriveInLineOrder) {
  // The first bad line wins; the checks after the last line come only then.
  EXPECT_EQ(parseError("[Space]\n[CapsLock]\nH=Nope\n"), "Line 3: Unknown key: Nope");
  qlnSetUiLanguage(english);
  EXPECT_EQ(parseError("[Program]\nMouseOn=M\nMouseOff=M\n[Space]\n"),
            "Choose different enable and disable keys.");
  EXPECT_EQ(parseError("[Program]\nMouseOn=M\nMouseOff=M\n"), "No layers defined");
  qlnSetUiLanguage(russian);
}

TEST(Layout, BindingsKeepTheirModifiersInWrittenOrder) {
  const Layout parsed = layout("[Space]\nH = Ctrl + Left\nJ=LShift+Shift+Left\nK=Win+RAlt+0x41\n");
  EXPECT_EQ(parsed.layers.at(32).at(72), 37);
  EXPECT_EQ(parsed.modifiers.at({32, 72}), std::vector<KeyCode>{0x11});
  EXPECT_EQ(parsed.modifiers.at({32, 74}), (std::vector<KeyCode>{0xA0, 0x10}));
  EXPECT_EQ(parsed.modifiers.at({32, 75}), (std::vector<KeyCode>{0, 0xA5}));
  EXPECT_EQ(parsed.layers.at(32).at(75), 0x41);
  const Layout mouse = layout("[MouseMove]\nF=0x01\nG=Ctrl+0x02\nH=1\n");
  EXPECT_EQ(mouse.layers.at(255).at('F'), 1);    // the left button
  EXPECT_EQ(mouse.layers.at(255).at('H'), '1');  // the digit key
  EXPECT_EQ(mouse.modifiers.at({255, 'G'}), std::vector<KeyCode>{0x11});
}

TEST(Layout, LineEndsNumberLinesAlike) {
  const std::string crlf = "[Space]\r\nH=Up\r\n\r\nJ=Nope\r\n";
  const std::string mixed = "[Space]\nH=Up\r\rJ=Nope\r\n";
  const std::string crOnly = "[Space]\rH=Up\r\rJ=Nope";
  EXPECT_EQ(parseError(crlf), "Line 4: Unknown key: Nope");
  EXPECT_EQ(parseError(mixed), "Line 4: Unknown key: Nope");
  EXPECT_EQ(parseError(crOnly), "Line 4: Unknown key: Nope");
}

TEST(Layout, HostileInputGetsAMessage) {
  EXPECT_EQ(parseError(std::string(100000, 'x')), "Line 1: Expected [key] or source=target");
  EXPECT_EQ(parseError("[Space]\n" + std::string(100000, 'A') + "=B"),
            "Line 2: Unknown key: " + std::string(100000, 'A'));
  // A NUL byte ends the shown message, as in any message box.
  EXPECT_EQ(parseError(std::string("[Space]\nH=U\0p", 13)), "Line 2: Unknown key: U");
  std::string garbage(1 << 20, '\0');
  for (std::size_t i = 0; i < garbage.size(); ++i)
    garbage[i] = static_cast<char>((i * 2654435761u) >> 13);
  EXPECT_NE(parseError(garbage), "ok");
}

TEST(LayerTimingLookup, OwnLineThenProgramTripleForSpaceThenDefaults) {
  const Layout parsed =
      parsedProgram("DelayMs=10\nIgnoreLongHold=1\nHoldMs=900\nTiming.CapsLock=1,0,600");
  EXPECT_EQ(timing(parsed, 32), (LayerTiming{10, true, 900}));
  EXPECT_EQ(timing(parsed, 20), (LayerTiming{1, false, 600}));
  EXPECT_EQ(timing(parsed, 9), (LayerTiming{80, false, 500}));
  const Layout spaceTimed = parsedProgram("DelayMs=10\nTiming.Space=3,0,700");
  EXPECT_EQ(timing(spaceTimed, 32), (LayerTiming{3, false, 700}));
}

}  // namespace
}  // namespace quillon
