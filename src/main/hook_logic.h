#pragma once
// What the keyboard hook decides for one low-level key event, apart from
// Windows: the pass-through of injected events, the key-capture hand-off to the
// settings window, the typing flag and the call into the engine. The hook hands
// in the system it runs on; tests and the benchmark hand in a fake one.

#include <concepts>
#include <cstdint>
#include <string_view>

#include "layers/engine.h"

namespace quillon {

struct HookEvent {
  std::uint32_t vk = 0;
  bool injected = false;
  bool up = false;
  std::uint32_t time = 0;
};

// The system side, as the hook asks it. `foregroundName` is the file name of
// the foreground program; `emit` queues one output event.
template <typename System>
concept HookSystem = requires(System& system, std::uint32_t vk, KeyCode code, bool down) {
  { system.stopping() } -> std::convertible_to<bool>;
  { system.captureWindowInFront() } -> std::convertible_to<bool>;
  system.postCaptured(1, vk);
  { system.producesCharacter(vk) } -> std::convertible_to<bool>;
  { system.ctrlDown() } -> std::convertible_to<bool>;
  { system.altDown() } -> std::convertible_to<bool>;
  { system.foregroundName() } -> std::convertible_to<std::string_view>;
  system.emit(code, down);
};

// True: swallow the event; false: hand it on to the next hook. The capture
// state is shared with the settings window: `captureField` is the field waiting
// for a key (0 none, 1 source, 2 target), `capturedKey` the key just captured
// for it, whose repeats and release are swallowed too (0 none).
template <HookSystem System>
bool hookSwallows(Engine& board, std::int32_t& captureField, std::int32_t& capturedKey,
                  const HookEvent& event, System& system) {
  // Injected events pass untranslated, ours and other programs' alike: this is
  // what keeps the program from translating its own output.
  if (system.stopping() || event.injected) return false;
  if (capturedKey != 0 && static_cast<std::uint32_t>(capturedKey) == event.vk) {
    if (event.up) capturedKey = 0;
    return true;
  }
  if (captureField != 0 && !event.up && event.vk <= 254 && system.captureWindowInFront()) {
    capturedKey = static_cast<std::int32_t>(event.vk);
    system.postCaptured(captureField, event.vk);
    captureField = 0;
    return true;
  }
  // Alt is asked only while Ctrl is up.
  const bool typing = system.producesCharacter(event.vk) && !system.ctrlDown() && !system.altDown();
  auto name = [&system] { return std::string_view(system.foregroundName()); };
  auto emit = [&system](KeyCode code, bool down) { system.emit(code, down); };
  return translateKey(board, static_cast<KeyCode>(event.vk), !event.up, typing, event.time, name,
                      emit);
}

}  // namespace quillon
