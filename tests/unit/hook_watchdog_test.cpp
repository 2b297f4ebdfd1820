#include "main/hook_watchdog.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace quillon {
namespace {

// Runs a script of timed events through a fresh watchdog and lists what it
// asked for. "h:T" the hook saw a key, "r:T" a physical raw key report, "c:T" a
// check with layers active, "off:T" a check with layers switched off. Times
// may be hexadecimal. The answer lists "wait@T" for a report that asks for a
// check, and the verdict of every check.
std::string watch(const std::string& script) {
  HookWatchdog watchdog;
  std::istringstream in(script);
  std::string step, out;
  auto say = [&out](const std::string& what, std::uint32_t time) {
    if (!out.empty()) out += ' ';
    out += what + "@" + std::to_string(time);
  };
  auto verdictName = [](WatchdogVerdict verdict) {
    switch (verdict) {
      case WatchdogVerdict::idle:
        return "idle";
      case WatchdogVerdict::recheck:
        return "recheck";
      case WatchdogVerdict::reinstall:
        return "reinstall";
    }
    return "?";
  };
  while (in >> step) {
    const auto colon = step.find(':');
    const std::string kind = step.substr(0, colon);
    const auto time = static_cast<std::uint32_t>(std::stoul(step.substr(colon + 1), nullptr, 0));
    if (kind == "h") watchdog.hookEvent(time);
    if (kind == "r" && watchdog.rawKeyReport(time)) say("wait", time);
    if (kind == "c") say(verdictName(watchdog.check(time, true)), time);
    if (kind == "off") say(verdictName(watchdog.check(time, false)), time);
  }
  return out;
}

TEST(HookWatchdog, TypingThatTheHookSeesNeverReinstalls) {
  // The hook is usually called before the raw report is handled, but the
  // report may come first; a check may also come while a report is young.
  const std::pair<const char*, const char*> cases[] = {
      {"h:1000 r:1001 h:1100 r:1101 h:1200 r:1202 c:1800 c:6000", "idle@1800 idle@6000"},
      {"r:1000 h:1003 c:1500", "wait@1000 idle@1500"},
      {"h:1000 r:1000 r:1400 h:1410 c:1900", "idle@1900"},
      {"h:1000 r:1800 c:2100 h:2200 c:2300", "wait@1800 recheck@2100 idle@2300"},
      // Keys the program swallows or injects reach only the hook.
      {"h:1000 h:1050 h:1100 c:1600", "idle@1600"},
  };
  for (const auto& [script, expected] : cases) EXPECT_EQ(watch(script), expected) << script;
}

TEST(HookWatchdog, HookThatStopsSeeingKeysIsReinstalledOnce) {
  const std::pair<const char*, const char*> cases[] = {
      // The hook dies after 1000; the key at 2000 reaches only raw input.
      {"h:1000 r:1000 r:2000 c:2500", "wait@2000 reinstall@2500"},
      // A report within the grace of the last hook call is taken for the same
      // key; the next one is not.
      {"h:1000 r:1000 r:1400 r:1700 c:2200", "wait@1700 reinstall@2200"},
      // A hook that never saw anything at all.
      {"r:300 c:800", "wait@300 reinstall@800"},
      // The reinstalled hook sees the next keys: nothing more to do.
      {"h:1000 r:2000 c:2500 h:2700 r:2700 c:3200 h:4000 r:4001 c:4600",
       "wait@2000 reinstall@2500 idle@3200 idle@4600"},
      // A reinstall that does not help is tried again only after the pause,
      // however many keys arrive meanwhile.
      {"h:1000 r:2000 c:2500 r:2600 c:3100 r:3200 c:3700 c:7000 c:7500 r:7600 c:8100",
       "wait@2000 reinstall@2500 wait@2600 recheck@3100 recheck@3700 recheck@7000 "
       "reinstall@7500 wait@7600 recheck@8100"},
  };
  for (const auto& [script, expected] : cases) EXPECT_EQ(watch(script), expected) << script;
}

TEST(HookWatchdog, NothingWithoutKeyReportsOrWithLayersOff) {
  const std::pair<const char*, const char*> cases[] = {
      // Mouse reports never reach the watchdog: a hook idle for minutes while
      // only the mouse is used is fine.
      {"h:1000 c:1500 c:60000 c:600000", "idle@1500 idle@60000 idle@600000"},
      // Layers switched off before the check: the report is dropped for good.
      {"h:1000 r:2000 off:2500 c:3000", "wait@2000 idle@2500 idle@3000"},
      {"r:2000 off:2100 c:2600", "wait@2000 idle@2100 idle@2600"},
  };
  for (const auto& [script, expected] : cases) EXPECT_EQ(watch(script), expected) << script;
}

TEST(HookWatchdog, TimesWrapAround) {
  const std::pair<const char*, const char*> cases[] = {
      // The hook call just before the wrap and the report just after it match.
      {"h:0xFFFFFF00 r:0x10 c:0x300", "idle@768"},
      {"r:0xFFFFFFF0 h:0x20 c:0x300", "wait@4294967280 idle@768"},
      // A dead hook across the wrap, and the pause between reinstalls too.
      {"h:0xFFFFFC00 r:0xFFFFFF00 c:0x100", "wait@4294967040 reinstall@256"},
      {"h:0 r:0xFFFFF000 c:0xFFFFF200 r:0xFFFFF300 c:0x100 c:0x1000",
       "wait@4294963200 reinstall@4294963712 wait@4294963968 recheck@256 reinstall@4096"},
      // A check handled a little before the report's own stamp is early, not
      // 49 days late.
      {"h:0 r:5000 c:4990", "wait@5000 recheck@4990"},
      // A hook stamp more than 24 days old is not near, whatever the sign.
      {"h:0 r:0x80000100 c:0x80000400", "wait@2147483904 reinstall@2147484672"},
  };
  for (const auto& [script, expected] : cases) EXPECT_EQ(watch(script), expected) << script;
}

}  // namespace
}  // namespace quillon
