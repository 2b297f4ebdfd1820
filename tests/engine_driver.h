#pragma once
// Drives the engine through the hook's front end the way the system would,
// and checks what must hold after every event: the engine's invariants, and
// once every key is up, that nothing is left down or busy. Shared by the
// property test and the fuzz target.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "layers/engine.h"
#include "layers/keys.h"
#include "layers/profile.h"

namespace quillon::testing {

// Keys the generated profiles and event streams draw from: layer keys,
// letters, both sides of Shift/Ctrl/Alt, a Win key and keys that only ever
// appear as targets.
inline const std::vector<KeyCode> physicalKeys{32,   20,   65,   66,   70,   72,   74,
                                               0xA0, 0xA2, 0xA3, 0xA4, 0x5B, 0x10, 0x11};
inline const std::vector<KeyCode> targetKeys{33, 37, 65, 72, 0xA0, 0xA2, 1, 2, 4, 32, 20, 0x11};
inline const std::vector<std::string> modifierSpellings{"Shift",  "Ctrl",  "Alt",   "Win",
                                                        "LShift", "RCtrl", "LCtrl", "LWin"};

// A generated profile and the few keys its event stream presses: a small
// set, so that layer keys, bound keys, MouseOn and MouseOff often coincide.
struct GeneratedProfile {
  std::string text;
  std::vector<KeyCode> keys;
};

// Builds a valid profile from a stream of choices; pick(n) returns a number
// in 0..n-1.
template <typename Pick>
GeneratedProfile generateProfile(Pick&& pick) {
  std::vector<KeyCode> pool = physicalKeys;
  std::vector<KeyCode> keys;
  for (std::size_t count = 2 + pick(5); keys.size() < count;) {
    const std::size_t chosen = pick(pool.size());
    keys.push_back(pool[chosen]);
    pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(chosen));
  }
  std::string text = "[Program]\n";
  text += "Exclude=game.exe\n";
  text += "MouseGuard=" + std::to_string(pick(2)) + "\n";
  text += "MouseMs=" + std::to_string(1 + pick(900)) + "\n";
  text += "IgnoreLongHold=" + std::to_string(pick(2)) + "\n";
  const auto anyKey = [&] { return keys[pick(keys.size())]; };
  const KeyCode mouseOn = pick(3) == 0 ? 0 : anyKey();
  KeyCode mouseOff = pick(3) == 0 ? 0 : anyKey();
  if (mouseOff == mouseOn) mouseOff = 0;
  if (mouseOn != 0) text += "MouseOn=" + keyToken(mouseOn) + "\n";
  if (mouseOff != 0) text += "MouseOff=" + keyToken(mouseOff) + "\n";
  std::vector<KeyCode> layerKeys;
  const std::size_t layerCount = 1 + pick(3);
  for (std::size_t i = 0; i < layerCount; ++i) {
    const KeyCode layer = i == 0 && pick(2) == 0 ? mouseLayerKey : anyKey();
    bool seen = false;
    for (KeyCode existing : layerKeys) seen = seen || existing == layer;
    if (seen) continue;
    layerKeys.push_back(layer);
    if (layer != mouseLayerKey && pick(3) == 0)
      text += "[Program]\nTiming." + keyToken(layer) + "=" + std::to_string(pick(1001)) + "," +
              std::to_string(pick(2)) + "," + std::to_string(500 + pick(1000)) + "\n";
    text += "[" + keyToken(layer) + "]\n";
    std::vector<KeyCode> sources;
    const std::size_t bindingCount = 1 + pick(6);
    for (std::size_t j = 0; j < bindingCount; ++j) {
      const KeyCode source = anyKey();
      bool duplicate = false;
      for (KeyCode existing : sources) duplicate = duplicate || existing == source;
      if (duplicate) continue;
      sources.push_back(source);
      std::string target;
      std::vector<std::size_t> used;
      const std::size_t modifierCount = pick(4) == 0 ? 1 + pick(3) : 0;
      for (std::size_t m = 0; m < modifierCount; ++m) {
        const std::size_t choice = pick(modifierSpellings.size());
        bool twice = false;
        for (std::size_t u : used) twice = twice || u == choice;
        if (twice) continue;
        used.push_back(choice);
        target += modifierSpellings[choice] + "+";
      }
      target += keyToken(targetKeys[pick(targetKeys.size())]);
      text += keyToken(source) + "=" + target + "\n";
    }
  }
  return {text, keys};
}

class EngineDriver {
 public:
  explicit EngineDriver(Layout layout) : engine_(keyboard(std::move(layout))) {}

  const Engine& engine() const { return engine_; }
  bool physicallyDown(KeyCode code) const { return physical_[static_cast<std::size_t>(code)]; }
  std::uint32_t time() const { return time_; }

  void advance(std::uint32_t ms) { time_ += ms; }
  void setForeground(std::string name) { foreground_ = std::move(name); }
  void mouse(bool moved) { mouseEvent(engine_, moved, time_); }

  void key(KeyCode code, bool down) {
    const bool typing = producesCharacter(code) && !ctrlOrAltDown();
    const auto emit = [&](KeyCode output, bool outputDown) {
      pendingOutput_.push_back({output, outputDown});
    };
    const auto foreground = [&]() -> std::string_view { return foreground_; };
    pendingOutput_.clear();
    const bool swallow = translateKey(engine_, code, down, typing, time_, foreground, emit);
    if (!swallow) system_[static_cast<std::size_t>(code)] = down;
    for (const auto& [output, outputDown] : pendingOutput_)
      system_[static_cast<std::size_t>(output)] = outputDown;
    physical_[static_cast<std::size_t>(code)] = down;
  }

  void releaseAll() {
    for (std::size_t code = 1; code < 255; ++code)
      if (physical_[code]) key(static_cast<KeyCode>(code), false);
  }

  // The engine's data-model invariants; empty when they hold.
  std::string invariantFailure() const {
    std::array<std::int64_t, 256> holds{};
    for (const ModifierKeys& list : engine_.modsOf)
      for (std::uint8_t i = 0; i < list.count; ++i) ++holds[list.keys[i]];
    for (std::size_t k = 0; k < 256; ++k) {
      if (engine_.keysDown[k] && engine_.heldLayers.contains(static_cast<KeyCode>(k)))
        return "key both held as a layer and down: " + std::to_string(k);
      if (engine_.outputOf[k] != noKey && !engine_.keysDown[k])
        return "output without the key down: " + std::to_string(k);
      if (holds[k] != engine_.modHolds[k]) return "modifier holds disagree: " + std::to_string(k);
    }
    if (engine_.pendingKey != noKey && engine_.heldLayers.empty())
      return "pending key without a held layer";
    return {};
  }

  // After every key is up: nothing busy and nothing down in the system.
  std::string quietFailure() const {
    if (busy(engine_)) return "busy after every key was released";
    for (std::size_t code = 0; code < 256; ++code)
      if (system_[code]) return "left down: " + keyToken(static_cast<KeyCode>(code));
    return {};
  }

 private:
  static bool producesCharacter(KeyCode code) {
    return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9') || code == 32 ||
           code == 13 || code == 9 || code == 8 || code == 27 || (code >= 0xBA && code <= 0xC0) ||
           (code >= 0xDB && code <= 0xDF) || code == 0xE2;
  }

  bool ctrlOrAltDown() const {
    return system_[0x11] || system_[0x12] || system_[0xA2] || system_[0xA3] || system_[0xA4] ||
           system_[0xA5];
  }

  Engine engine_;
  std::array<bool, 256> physical_{};
  std::array<bool, 256> system_{};
  std::uint32_t time_ = 0;
  std::string foreground_;
  std::vector<std::pair<KeyCode, bool>> pendingOutput_;
};

// One random physical event, written as a simulate script token.
template <typename Pick>
std::string generateEvent(const EngineDriver& driver, const std::vector<KeyCode>& keys,
                          Pick&& pick) {
  switch (pick(16)) {
    case 0:
      return "t:" + std::to_string(pick(4) == 0 ? 500 + pick(5000) : pick(120));
    case 1:
      return pick(2) == 0 ? "m" : "b";
    case 2:
      return pick(2) == 0 ? "fg:game.exe" : "fg:";
    default:
      break;
  }
  const KeyCode code = keys[pick(keys.size())];
  if (!driver.physicallyDown(code)) return "d:" + keyToken(code);
  return (pick(3) == 0 ? "d:" : "u:") + keyToken(code);
}

// Applies one token of the form generateEvent writes.
inline void applyEvent(EngineDriver& driver, const std::string& token) {
  if (token == "m" || token == "b") return driver.mouse(token == "m");
  if (token.starts_with("t:"))
    return driver.advance(static_cast<std::uint32_t>(std::stoul(token.substr(2))));
  if (token.starts_with("fg:")) return driver.setForeground(token.substr(3));
  driver.key(key(token.substr(2)), token[0] == 'd');
}

// Runs a script and returns the first failure, or empty.
inline std::string scriptFailure(const Layout& profile, const std::vector<std::string>& script) {
  EngineDriver driver(profile);
  for (const std::string& token : script) {
    applyEvent(driver, token);
    if (std::string failure = driver.invariantFailure(); !failure.empty())
      return failure + " after " + token;
  }
  driver.releaseAll();
  if (std::string failure = driver.invariantFailure(); !failure.empty()) return failure;
  return driver.quietFailure();
}

}  // namespace quillon::testing
