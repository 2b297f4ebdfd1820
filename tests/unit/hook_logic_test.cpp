#include "main/hook_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layers/profile.h"
#include "main/profile_text.h"

namespace quillon {
namespace {

// A system whose answers the test sets and whose calls it records.
struct FakeSystem {
  bool isStopping = false;
  bool windowInFront = false;
  bool ctrl = false;
  bool alt = false;
  std::string foreground = "notepad.exe";
  std::string log;  // output events and captures, in order
  int foregroundAsks = 0;
  int altAsks = 0;

  bool stopping() const { return isStopping; }
  bool captureWindowInFront() const { return windowInFront; }
  void postCaptured(int field, std::uint32_t vk) {
    log += "capture:" + std::to_string(field) + "," + std::to_string(vk) + " ";
  }
  bool producesCharacter(std::uint32_t vk) const { return vk >= 'A' && vk <= 'Z'; }
  bool ctrlDown() const { return ctrl; }
  bool altDown() {
    ++altAsks;
    return alt;
  }
  std::string_view foregroundName() {
    ++foregroundAsks;
    return foreground;
  }
  void emit(KeyCode code, bool down) { log += (down ? "dn:" : "up:") + std::to_string(code) + " "; }
};

class Hook : public ::testing::Test {
 protected:
  void useProfile(std::string_view text) { board = keyboard(layout(text)); }

  // Replays "d:32 u:72 ..." and returns what the hook answered, "S" swallow
  // and "P" pass, one letter per event.
  std::string replay(std::string_view script, bool injected = false) {
    std::string answers;
    std::size_t at = 0;
    while (at < script.size()) {
      std::size_t end = script.find(' ', at);
      if (end == std::string_view::npos) end = script.size();
      const std::string_view step = script.substr(at, end - at);
      const HookEvent event{static_cast<std::uint32_t>(std::stoul(std::string(step.substr(2)))),
                            injected, step[0] == 'u', time += 10};
      answers += hookSwallows(board, captureField, capturedKey, event, system) ? 'S' : 'P';
      at = end + 1;
    }
    return answers;
  }

  Engine board = keyboard(layout(defaultProfile));
  std::int32_t captureField = 0;
  std::int32_t capturedKey = 0;
  FakeSystem system;
  std::uint32_t time = 1000;
};

TEST_F(Hook, TranslatesPhysicalEventsThroughTheEngine) {
  EXPECT_EQ(replay("d:32 d:72 u:72 u:32"), "SSSS");
  EXPECT_EQ(system.log, "dn:33 up:33 ");
  system.log.clear();
  EXPECT_EQ(replay("d:32 u:32"), "SS");
  EXPECT_EQ(system.log, "dn:32 up:32 ");
}

TEST_F(Hook, InjectedEventsAndCodesOutsideTheEnginePassUntouched) {
  // The program's own output comes back through the hook flagged injected.
  EXPECT_EQ(replay("d:32 d:72 u:72 u:32", true), "PPPP");
  EXPECT_EQ(replay("d:0 u:0 d:255 u:255"), "PPPP");
  EXPECT_EQ(system.log, "");
  EXPECT_FALSE(busy(board));
}

TEST_F(Hook, PassesEverythingOnceStopping) {
  system.isStopping = true;
  EXPECT_EQ(replay("d:32 d:72 u:72 u:32"), "PPPP");
  EXPECT_EQ(system.log, "");
}

TEST_F(Hook, CapturesTheNextPressForTheSettingsWindowInFront) {
  system.windowInFront = true;
  captureField = 2;
  // The press is posted and swallowed, and so are its repeats and its release.
  EXPECT_EQ(replay("d:72 d:72 u:72"), "SSS");
  EXPECT_EQ(system.log, "capture:2,72 ");
  EXPECT_EQ(captureField, 0);
  EXPECT_EQ(capturedKey, 0);
  // Disarmed: the next keys are translated again.
  EXPECT_EQ(replay("d:32 d:72 u:72 u:32"), "SSSS");
  EXPECT_EQ(system.log, "capture:2,72 dn:33 up:33 ");
}

TEST_F(Hook, CaptureWaitsWhileTheSettingsWindowIsBehind) {
  captureField = 1;
  EXPECT_EQ(replay("d:65 u:65"), "PP");
  EXPECT_EQ(captureField, 1);
  system.windowInFront = true;
  // A release alone is no press to capture; code 255 is not a key to enter.
  EXPECT_EQ(replay("u:66 d:255"), "PP");
  EXPECT_EQ(captureField, 1);
  EXPECT_EQ(replay("d:32 u:32"), "SS");
  EXPECT_EQ(system.log, "capture:1,32 ");
}

TEST_F(Hook, ExcludedProgramTypesLayerKeysNormally) {
  system.foreground = "QuakeLive_Steam.exe";
  EXPECT_EQ(replay("d:32 d:72 u:72 u:32"), "PPPP");
  EXPECT_EQ(system.log, "");
  // Only the press that would begin a layer asks for the program.
  EXPECT_EQ(system.foregroundAsks, 1);
}

TEST_F(Hook, AsksForTheForegroundProgramOnlyWhenAPressBeginsALayer) {
  EXPECT_EQ(replay("d:65 u:65 d:32 d:72 u:72 u:32"), "PPSSSS");
  EXPECT_EQ(system.foregroundAsks, 1);
}

// With the mouse guard on, a typed letter keeps mouse movement from switching
// the mouse layer on; a letter typed with Ctrl or Alt held is no typing.
TEST_F(Hook, TypingFlagArmsTheMouseGuardOnlyWithoutCtrlOrAlt) {
  const std::string profile = "[Program]\nMouseGuard=1\n[MouseMove]\nF=0x01\n";
  const struct {
    bool ctrl, alt;
    std::string expected;
  } cases[] = {
      {false, false, ""},
      {true, false, "dn:1 up:1 "},
      {false, true, "dn:1 up:1 "},
  };
  for (const auto& c : cases) {
    useProfile(profile);
    system.log.clear();
    system.ctrl = c.ctrl;
    system.alt = c.alt;
    replay("d:65 u:65");
    system.ctrl = system.alt = false;
    mouseEvent(board, true, time += 10);
    replay("d:70 u:70");
    EXPECT_EQ(system.log, c.expected) << "ctrl " << c.ctrl << " alt " << c.alt;
  }
}

TEST_F(Hook, AsksForAltOnlyWhileCtrlIsUp) {
  system.ctrl = true;
  replay("d:65 u:65");
  EXPECT_EQ(system.altAsks, 0);
  system.ctrl = false;
  replay("d:65 u:65");
  EXPECT_EQ(system.altAsks, 2);
}

}  // namespace
}  // namespace quillon
