#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine_driver.h"
#include "simulate_cases.h"
#include "tools/cli.h"

namespace quillon {
namespace {

const std::string mouseProfile =
    "[Program]\nExclude=game.exe\nMouseOn=F9\nMouseOff=F10\n"
    "[MouseMove]\nF=0x01\nG=0x02\n[Space]\nH=PageUp\n";

TEST(MouseLayer, LivesWhileTheMouseIsInUse) {
  expectScripts(
      mouseProfile,
      {
          {"m t:200 d:f u:f", "d:F swallow dn:0x01\nu:F swallow up:0x01\n"},
          {"m t:700 d:f u:f", "d:F pass\nu:F pass\n"},
          // Dragging with F held keeps the layer alive; so does the button itself.
          {"m t:200 d:f t:400 m t:400 m t:400 m t:400 u:f t:100 d:g u:g",
           "d:F swallow dn:0x01\nu:F swallow up:0x01\nd:G swallow dn:0x02\nu:G swallow up:0x02\n"},
          {"m d:x u:x", "d:X pass\nu:X pass\n"},
          // A held layer key takes precedence over the mouse layer.
          {"m d:Space d:f u:f u:Space",
           "d:Space swallow\nd:F swallow dn:Space up:Space dn:F\nu:F swallow up:F\n"
           "u:Space swallow\n"},
          {"m d:Space d:h u:h u:Space",
           "d:Space swallow\nd:H swallow\nu:H swallow dn:PageUp up:PageUp\nu:Space swallow\n"},
          {"t:4294967000 m t:400 d:f u:f", "d:F swallow dn:0x01\nu:F swallow up:0x01\n"},
          {"fg:game.exe m d:f u:f d:F9 u:F9", "d:F pass\nu:F pass\nd:F9 pass\nu:F9 pass\n"},
      });
}

TEST(MouseLayer, OnAndOffKeys) {
  expectScripts(
      mouseProfile,
      {
          {"d:F9 d:F9 u:F9 t:300 d:f u:f",
           "d:F9 swallow\nd:F9 swallow\nu:F9 swallow\nd:F swallow dn:0x01\nu:F swallow up:0x01\n"},
          {"d:F9 u:F9 t:650 d:f u:f", "d:F9 swallow\nu:F9 swallow\nd:F pass\nu:F pass\n"},
          {"m d:F10 u:F10 d:f u:f m d:f u:f",
           "d:F10 swallow\nu:F10 swallow\nd:F pass\nu:F pass\nd:F swallow dn:0x01\n"
           "u:F swallow up:0x01\n"},
          {"d:F10 u:F10", "d:F10 pass\nu:F10 pass\n"},
      });
  // A MouseOff key with its own layer enters it at once, used, and mouse
  // activity is ignored while it is held.
  expectScripts("[Program]\nMouseOff=Space\n[MouseMove]\nF=0x01\n[Space]\nH=PageUp\n",
                {{"m d:Space m t:100 m d:f u:f u:Space d:f u:f m d:f u:f",
                  "d:Space swallow\nd:F pass\nu:F pass\nu:Space swallow\nd:F pass\nu:F pass\n"
                  "d:F swallow dn:0x01\nu:F swallow up:0x01\n"}});
  expectScripts("[Program]\nMouseOn=F9\n[Space]\nH=PageUp\n",
                {{"m d:F9 u:F9 d:f u:f", "d:F9 pass\nu:F9 pass\nd:F pass\nu:F pass\n"}});
}

TEST(MouseLayer, TheGuardKeepsTypingFromSwitchingItOn) {
  const std::string profile = "[Program]\nMouseGuard=1\n[MouseMove]\nF=0x01\n";
  expectScripts(profile, {
                             {"d:a u:a t:300 m t:400 m t:10 d:f u:f",
                              "d:A pass\nu:A pass\nd:F swallow dn:0x01\nu:F swallow up:0x01\n"},
                             // F typed into a dead layer counts as typing and re-arms the guard.
                             {"d:a u:a t:300 m t:100 d:f u:f t:500 m t:10 d:f u:f",
                              "d:A pass\nu:A pass\nd:F pass\nu:F pass\nd:F pass\nu:F pass\n"},
                             // The guard never kills a live layer.
                             {"m t:10 d:a u:a t:100 m t:500 m t:100 d:f u:f",
                              "d:A pass\nu:A pass\nd:F swallow dn:0x01\nu:F swallow up:0x01\n"},
                         });
}

// A key the MouseOn rule swallowed is never held back as a layer's pending
// key, or its release would be swallowed after it was typed.
TEST(MouseLayer, ASwallowedMouseOnKeyIsNeverPending) {
  const std::string profile = "[Program]\nMouseOn=I\n[CapsLock]\nI=Left\n[MouseMove]\n";
  const char* script = "d:CapsLock d:I d:I d:I u:CapsLock u:I";
  expectScripts(profile, {{script,
                           "d:CapsLock swallow\nd:I swallow\nd:I swallow\nd:I swallow\n"
                           "u:CapsLock swallow dn:CapsLock up:CapsLock\nu:I swallow\n"}});
  std::istringstream tokens(script);
  std::vector<std::string> events;
  for (std::string token; tokens >> token;) events.push_back(token);
  EXPECT_EQ(testing::scriptFailure(layout(profile), events), "");
}

}  // namespace
}  // namespace quillon
