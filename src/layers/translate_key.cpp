#include "layers/engine.h"

namespace quillon {

// The Exclude decision is made once per physical press: a key pressed in a
// game keeps passing until it is released, and a key the engine took keeps
// going to the engine, so the foreground program changing under a held key
// never leaves a half-translated key down.
bool translateKey(Engine& engine, KeyCode vk, bool down, bool typing, std::uint32_t time,
                  ForegroundName foreground, Emit emit) {
  if (vk < 1 || vk > 254) return false;
  const auto code = static_cast<std::size_t>(vk);
  if (!down) {
    if (engine.pressedPast[code]) {
      engine.pressedPast.reset(code);
      return false;
    }
    engine.pressedToEngine.reset(code);
    return translate(engine, vk, false, emit, time, true, typing);
  }
  if (engine.pressedPast[code]) return false;
  const bool begins = beginsLayer(engine, vk);
  bool permitted = true;
  if (begins || mouseCandidate(engine, vk, time)) {
    permitted = !excluded(engine, foreground());
    if (begins && !permitted && !engine.pressedToEngine[code]) {
      engine.pressedPast.set(code);
      return false;
    }
  }
  engine.pressedToEngine.set(code);
  return translate(engine, vk, true, emit, time, permitted, typing);
}

}  // namespace quillon
