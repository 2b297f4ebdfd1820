#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine_driver.h"
#include "layers/engine.h"
#include "main/profile_text.h"
#include "simulate_cases.h"
#include "tools/cli.h"

namespace quillon {
namespace {

// The first failure of a script replayed through the engine, then every key
// released: a broken invariant, busy() still true, or a key left down.
std::string leftOver(std::string_view profile, std::string_view script) {
  std::istringstream tokens{std::string(script)};
  std::vector<std::string> events;
  for (std::string token; tokens >> token;) events.push_back(token);
  return testing::scriptFailure(layout(profile), events);
}

TEST(SpaceLayer, TapsHoldsBackAndTranslates) {
  expectScripts(defaultProfile,
                {
                    {"d:Space u:Space", "d:Space swallow\nu:Space swallow dn:Space up:Space\n"},
                    {"d:Space d:h u:h u:Space",
                     "d:Space swallow\nd:H swallow\nu:H swallow dn:PageUp up:PageUp\n"
                     "u:Space swallow\n"},
                    {"d:Space d:h u:Space u:h",
                     "d:Space swallow\nd:H swallow\nu:Space swallow dn:Space up:Space dn:H\n"
                     "u:H swallow up:H\n"},
                    {"d:Space d:x u:x u:Space",
                     "d:Space swallow\nd:X swallow dn:Space up:Space dn:X\nu:X swallow up:X\n"
                     "u:Space swallow\n"},
                    {"d:Space d:h d:j u:h u:j u:Space",
                     "d:Space swallow\nd:H swallow\nd:J swallow dn:PageUp dn:Left\n"
                     "u:H swallow up:PageUp\nu:J swallow up:Left\nu:Space swallow\n"},
                    // Shift passes and leaves the layer unused: the system sees Shift+PageUp.
                    {"d:Space d:0xA0 d:h u:h u:0xA0 u:Space",
                     "d:Space swallow\nd:0xA0 pass\nd:H swallow\nu:H swallow dn:PageUp up:PageUp\n"
                     "u:0xA0 pass\nu:Space swallow\n"},
                    // The first repeat resolves the held-back press, then each repeat repeats.
                    {"d:Space d:h d:h d:h u:h u:Space",
                     "d:Space swallow\nd:H swallow\nd:H swallow dn:PageUp dn:PageUp\n"
                     "d:H swallow dn:PageUp\nu:H swallow up:PageUp\nu:Space swallow\n"},
                    {"d:Space d:h d:j u:Space u:h u:j",
                     "d:Space swallow\nd:H swallow\nd:J swallow dn:PageUp dn:Left\n"
                     "u:Space swallow\nu:H swallow up:PageUp\nu:J swallow up:Left\n"},
                    // H went down outside the layer, so it stays untranslated and unused.
                    {"d:h d:Space d:h u:h u:Space",
                     "d:H pass\nd:Space swallow\nd:H pass\nu:H pass\n"
                     "u:Space swallow dn:Space up:Space\n"},
                    {"d:Space d:Space d:Space u:Space",
                     "d:Space swallow\nd:Space swallow\nd:Space swallow\n"
                     "u:Space swallow dn:Space up:Space\n"},
                });
}

TEST(SpaceLayer, LongHoldSuppressesTheTap) {
  const std::string profile = "[Program]\nIgnoreLongHold=1\nHoldMs=500\n[Space]\nH=PageUp\n";
  expectScripts(
      profile,
      {
          {"d:Space t:600 u:Space", "d:Space swallow\nu:Space swallow\n"},
          {"d:Space t:500 u:Space", "d:Space swallow\nu:Space swallow dn:Space up:Space\n"},
          // Elapsed time is a 32-bit difference, so the clock wrapping is harmless.
          {"t:4294967000 d:Space t:600 u:Space", "d:Space swallow\nu:Space swallow\n"},
          {"t:4294967000 d:Space t:400 u:Space",
           "d:Space swallow\nu:Space swallow dn:Space up:Space\n"},
          {"d:Space t:600 d:x u:x u:Space",
           "d:Space swallow\nd:X swallow dn:X\nu:X swallow up:X\nu:Space swallow\n"},
      });
  expectScripts("[Program]\nTiming.0x20=80,1,2000\n[Space]\nH=PageUp\n",
                {{"d:Space t:1500 u:Space", "d:Space swallow\nu:Space swallow dn:Space up:Space\n"},
                 {"d:Space t:2001 u:Space", "d:Space swallow\nu:Space swallow\n"}});
}

TEST(NestedLayers, TheLastPressedLayerIsActive) {
  expectScripts(defaultProfile,
                {
                    // CapsLock is unbound in Space: it starts its layer and uses Space.
                    {"d:Space d:CapsLock u:Space u:CapsLock",
                     "d:Space swallow\nd:CapsLock swallow\nu:Space swallow\n"
                     "u:CapsLock swallow dn:CapsLock up:CapsLock\n"},
                    {"d:Space d:CapsLock d:j u:j u:CapsLock u:Space",
                     "d:Space swallow\nd:CapsLock swallow\nd:J swallow\nu:J swallow dn:4 up:4\n"
                     "u:CapsLock swallow\nu:Space swallow\n"},
                    // Space is bound in CapsLock (Space=0), so it is translated there.
                    {"d:CapsLock d:Space u:Space u:CapsLock",
                     "d:CapsLock swallow\nd:Space swallow dn:0\nu:Space swallow up:0\n"
                     "u:CapsLock swallow\n"},
                });
}

TEST(Modifiers, GoDownFirstAndComeUpLastWithoutFightingTheUser) {
  const std::string profile =
      "[Space]\nH=Ctrl+Shift+Left\nJ=Ctrl+Right\nK=LShift+Shift+End\nQ=Win+D\nW=RAlt+E\n";
  expectScripts(
      profile,
      {
          {"d:Space d:h u:h u:Space",
           "d:Space swallow\nd:H swallow\n"
           "u:H swallow dn:0xA2 dn:0xA0 dn:Left up:Left up:0xA0 up:0xA2\nu:Space swallow\n"},
          // Overlapping bindings share left Ctrl; it comes up with the last of them.
          {"d:Space d:h d:j u:h u:j u:Space",
           "d:Space swallow\nd:H swallow\nd:J swallow dn:0xA2 dn:0xA0 dn:Left dn:Right\n"
           "u:H swallow up:Left up:0xA0\nu:J swallow up:Right up:0xA2\nu:Space swallow\n"},
          // The user's right Ctrl satisfies the generic Ctrl: no left Ctrl at all.
          {"d:0xA3 d:Space d:j u:j u:Space u:0xA3",
           "d:0xA3 pass\nd:Space swallow\nd:J swallow\nu:J swallow dn:Right up:Right\n"
           "u:Space swallow\nu:0xA3 pass\n"},
          {"d:Space d:0xA2 d:j u:j u:0xA2 u:Space",
           "d:Space swallow\nd:0xA2 pass\nd:J swallow\nu:J swallow dn:Right up:Right\n"
           "u:0xA2 pass\nu:Space swallow\n"},
          // A modifier the user holds is never released under the finger.
          {"d:Space d:j d:k d:0xA2 u:j u:0xA2 u:k u:Space",
           "d:Space swallow\nd:J swallow\nd:K swallow dn:0xA2 dn:Right dn:0xA0 dn:End\n"
           "d:0xA2 pass\nu:J swallow up:Right\nu:0xA2 pass\nu:K swallow up:End up:0xA0\n"
           "u:Space swallow\n"},
          {"d:Space d:q u:q d:w u:w u:Space",
           "d:Space swallow\nd:Q swallow\nu:Q swallow dn:0x5B dn:D up:D up:0x5B\n"
           "d:W swallow dn:0xA5 dn:E\nu:W swallow up:E up:0xA5\nu:Space swallow\n"},
      });
}

TEST(SharedTargets, StayDownUntilTheLastSourceIsReleased) {
  expectScripts("[Space]\nH=Left\nJ=Left\n",
                {{"d:Space d:h d:j u:h u:j u:Space",
                  "d:Space swallow\nd:H swallow\nd:J swallow dn:Left dn:Left\nu:H swallow\n"
                  "u:J swallow up:Left\nu:Space swallow\n"}});
  // A mouse button goes down once and does not auto-repeat.
  expectScripts("[Space]\nH=0x01\nJ=0x01\n",
                {{"d:Space d:h d:j d:j u:h u:j u:Space",
                  "d:Space swallow\nd:H swallow\nd:J swallow dn:0x01\nd:J swallow\nu:H swallow\n"
                  "u:J swallow up:0x01\nu:Space swallow\n"}});
}

TEST(Exclude, LayerKeysTypeNormallyInExcludedPrograms) {
  expectScripts(defaultProfile,
                {
                    {"fg:Quakelive_Steam.EXE d:Space d:h u:h u:Space",
                     "d:Space pass\nd:H pass\nu:H pass\nu:Space pass\n"},
                    // Keys translated before the switch still release their targets.
                    {"d:Space d:h d:j fg:quakelive_steam.exe u:h u:j u:Space",
                     "d:Space swallow\nd:H swallow\nd:J swallow dn:PageUp dn:Left\n"
                     "u:H swallow up:PageUp\nu:J swallow up:Left\nu:Space swallow\n"},
                });
}

// A press's repeats and release follow the press, even when the foreground
// program enters or leaves Exclude while the key is down.
TEST(Exclude, DecidedOncePerPhysicalPress) {
  expectScripts(defaultProfile,
                {
                    {"fg:quakelive_steam.exe d:Space fg: d:Space d:h u:h u:Space",
                     "d:Space pass\nd:Space pass\nd:H pass\nu:H pass\nu:Space pass\n"},
                    {"d:Space fg:quakelive_steam.exe d:Space d:h u:h u:Space",
                     "d:Space swallow\nd:Space swallow\nd:H swallow\n"
                     "u:H swallow dn:PageUp up:PageUp\nu:Space swallow\n"},
                    // A new press after the release decides afresh.
                    {"fg:quakelive_steam.exe d:Space fg: u:Space d:Space u:Space",
                     "d:Space pass\nu:Space pass\nd:Space swallow\n"
                     "u:Space swallow dn:Space up:Space\n"},
                });
  // MouseOn that is also a layer key: swallowed by the engine, or passed by Exclude.
  const std::string profile =
      "[Program]\nExclude=game.exe\nMouseOn=Space\n[MouseMove]\nF=0x01\n[Space]\nH=PageUp\n";
  expectScripts(profile, {
                             {"fg:game.exe d:Space fg: d:Space u:Space",
                              "d:Space pass\nd:Space pass\nu:Space pass\n"},
                             {"d:Space fg:game.exe d:Space u:Space",
                              "d:Space swallow\nd:Space swallow\nu:Space swallow\n"},
                         });
  EXPECT_EQ(leftOver(defaultProfile, "fg:quakelive_steam.exe d:Space fg: d:Space d:h u:h u:Space"),
            "");
  EXPECT_EQ(leftOver(profile, "d:Space fg:game.exe d:Space u:Space"), "");
}

TEST(Modifiers, AKeyTranslatedIntoSomethingElseIsNotHeldByTheUser) {
  const std::string profile = "[Space]\nA=Ctrl+X\n0xA2=Y\n";
  expectScripts(profile, {
                             {"d:Space d:A d:0xA2 u:A u:0xA2 u:Space",
                              "d:Space swallow\nd:A swallow\nd:0xA2 swallow dn:0xA2 dn:X dn:Y\n"
                              "u:A swallow up:X up:0xA2\nu:0xA2 swallow up:Y\nu:Space swallow\n"},
                             // Left Ctrl became Y, so A's binding still needs a Ctrl of its own.
                             {"d:Space d:0xA2 d:A u:A u:0xA2 u:Space",
                              "d:Space swallow\nd:0xA2 swallow\nd:A swallow dn:Y dn:0xA2 dn:X\n"
                              "u:A swallow up:X up:0xA2\nu:0xA2 swallow up:Y\nu:Space swallow\n"},
                         });
  EXPECT_EQ(leftOver(profile, "d:Space d:A d:0xA2 u:A u:0xA2 u:Space"), "");
}

TEST(PendingKey, FastTypingKeepsItsOrder) {
  expectScripts(defaultProfile,
                {{"d:Space d:h d:x d:x u:x u:h u:Space",
                  "d:Space swallow\nd:H swallow\nd:X swallow dn:Space up:Space dn:H dn:X\n"
                  "d:X swallow dn:X\nu:X swallow up:X\nu:H swallow up:H\nu:Space swallow\n"}});
}

// A held-back modifier resolves on its own release even when another layer
// started while it was held back.
TEST(PendingKey, AHeldBackModifierIsResolvedByItsOwnRelease) {
  const std::string profile = "[0xA3]\n0x5B=H\n[0xA4]\n0xA2=0xA0\n";
  expectScripts(profile, {{"d:0xA4 d:0xA2 d:0xA3 u:0xA2 u:0xA3 u:0xA4",
                           "d:0xA4 swallow\nd:0xA2 swallow\nd:0xA3 swallow\n"
                           "u:0xA2 swallow dn:0xA3 up:0xA3 dn:0xA2 up:0xA2\nu:0xA3 swallow\n"
                           "u:0xA4 swallow\n"}});
  EXPECT_EQ(leftOver(profile, "d:0xA4 d:0xA2 d:0xA3 u:0xA2 u:0xA3 u:0xA4"), "");
}

TEST(Busy, WhileALayerOrATranslatedKeyIsDown) {
  Engine engine = keyboard(layout(defaultProfile));
  const auto ignore = [](KeyCode, bool) {};
  const auto noProgram = []() -> std::string_view { return {}; };
  const auto press = [&](KeyCode code, bool down) {
    translateKey(engine, code, down, true, 0, noProgram, ignore);
  };
  EXPECT_FALSE(busy(engine));
  press(32, true);
  EXPECT_TRUE(busy(engine));
  press('J', true);
  press('J', false);
  press('K', true);
  press(32, false);
  EXPECT_TRUE(busy(engine));  // K still holds Down
  press('K', false);
  EXPECT_FALSE(busy(engine));
}

TEST(Simulate, ReportsBadTokensAfterTheEventsBeforeThem) {
  const CliResult unknown = simulateProfile(defaultProfile, "d:Space\tu:Space\n jump d:h");
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_EQ(unknown.out, "d:Space swallow\nu:Space swallow dn:Space up:Space\n");
  EXPECT_EQ(unknown.err, "Unknown event: jump\n");
  const CliResult badKey = simulateProfile(defaultProfile, "d:x d:PgUp");
  EXPECT_EQ(badKey.exitCode, 2);
  EXPECT_EQ(badKey.out, "d:X pass\n");
  EXPECT_EQ(badKey.err, "Unknown key: PgUp\n");
  EXPECT_EQ(simulateProfile(defaultProfile, "t:4294967296").err, "Unknown event: t:4294967296\n");
  EXPECT_EQ(simulateProfile(defaultProfile, "t:-1").err, "Unknown event: t:-1\n");
  EXPECT_EQ(simulateProfile(defaultProfile, "t:4294967295 m b fg: fg:x.exe").exitCode, 0);
  EXPECT_EQ(simulateProfile(defaultProfile, "").out, "");
}

TEST(Simulate, ReportsAProfileErrorAsCheckDoes) {
  const CliResult result = simulateProfile("[Space]\nH=PgUp\n", "d:Space");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, checkProfile("[Space]\nH=PgUp\n").err);
  EXPECT_EQ(simulate("/nonexistent/layers.ini", "d:Space").exitCode, 1);
}

}  // namespace
}  // namespace quillon
