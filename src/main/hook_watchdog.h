#pragma once
// Notices a low-level keyboard hook that Windows removed without a word (it
// does so when one callback runs past LowLevelHooksTimeout). Raw keyboard input
// reaches the program without the hook chain, so a physical key report that the
// hook never saw means the hook is gone. Only timestamps go in; the Windows side
// feeds them and reinstalls the hook when told to.

#include <cstdint>

namespace quillon {

// How far apart a raw report and the hook's sight of the same key may be. The
// two travel separately, so either may be handled first.
inline constexpr std::uint32_t hookGraceMs = 500;
// The least time between two reinstalls: a hook that keeps missing keys for a
// reason a reinstall does not cure is not reinstalled in a loop.
inline constexpr std::uint32_t reinstallPauseMs = 5000;

enum class WatchdogVerdict {
  idle,       // nothing is waiting to be checked
  recheck,    // a report is still waiting: check again after hookGraceMs
  reinstall,  // the hook missed a key: reinstall it now
};

// Times are 32-bit millisecond stamps that wrap around; only differences count.
class HookWatchdog {
 public:
  // The hook saw a key event, injected or physical.
  void hookEvent(std::uint32_t time) noexcept;
  // A physical key report arrived through raw input; true when it waits for
  // the hook, and so wants a check after hookGraceMs.
  bool rawKeyReport(std::uint32_t time);
  // A check at `now`. `layersActive` tells whether the hook is meant to be
  // installed; while it is not, nothing is ever reinstalled.
  WatchdogVerdict check(std::uint32_t now, bool layersActive);

 private:
  bool hookSeenNear(std::uint32_t time) const;

  bool hookSeen_ = false;
  std::uint32_t hookAt_ = 0;
  // The oldest raw report the hook has not been seen to match.
  bool waiting_ = false;
  std::uint32_t waitingSince_ = 0;
  bool reinstalled_ = false;
  std::uint32_t reinstalledAt_ = 0;
};

}  // namespace quillon
