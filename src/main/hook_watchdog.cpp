#include "main/hook_watchdog.h"

namespace quillon {

namespace {

// Signed age of `time` at `now`: negative when `time` is a little later, as a
// message time can be against a tick count read before it.
std::int32_t elapsed(std::uint32_t now, std::uint32_t time) {
  return static_cast<std::int32_t>(now - time);
}

}  // namespace

void HookWatchdog::hookEvent(std::uint32_t time) noexcept {
  // Any call of the hook proves it is installed, so whatever waited is settled.
  hookSeen_ = true;
  hookAt_ = time;
  waiting_ = false;
}

bool HookWatchdog::rawKeyReport(std::uint32_t time) {
  if (waiting_ || hookSeenNear(time)) return false;
  waiting_ = true;
  waitingSince_ = time;
  return true;
}

WatchdogVerdict HookWatchdog::check(std::uint32_t now, bool layersActive) {
  if (!layersActive) waiting_ = false;
  if (!waiting_) return WatchdogVerdict::idle;
  if (elapsed(now, waitingSince_) < static_cast<std::int32_t>(hookGraceMs)) {
    return WatchdogVerdict::recheck;
  }
  if (reinstalled_ && now - reinstalledAt_ < reinstallPauseMs) return WatchdogVerdict::recheck;
  waiting_ = false;
  reinstalled_ = true;
  reinstalledAt_ = now;
  return WatchdogVerdict::reinstall;
}

bool HookWatchdog::hookSeenNear(std::uint32_t time) const {
  // Unsigned in both directions, so a stamp from long ago never counts as near.
  return hookSeen_ && (time - hookAt_ <= hookGraceMs || hookAt_ - time <= hookGraceMs);
}

}  // namespace quillon
