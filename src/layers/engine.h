#pragma once
// The layer engine: decides, event by event, whether a physical key event
// passes, is swallowed, or is swallowed and replaced by other events. It calls
// no platform service and allocates nothing per event.

#include <array>
#include <bitset>
#include <cstdint>
#include <string_view>
#include <vector>

#include "layers/function_ref.h"
#include "layers/keys.h"
#include "layers/profile.h"

namespace quillon {

// The engine's output: one synthetic event, in output order.
using Emit = FunctionRef<void(KeyCode code, bool down)>;
// The image file name of the foreground program (for Exclude); asked only for
// presses that need it.
using ForegroundName = FunctionRef<std::string_view()>;

using KeySet = std::bitset<256>;

// The modifier keys of one binding, or those pressed on behalf of one source
// key; a binding has at most 12 modifiers.
struct ModifierKeys {
  std::array<std::uint8_t, 12> keys{};
  std::uint8_t count = 0;

  bool operator==(const ModifierKeys&) const = default;
};

// Held layer keys in the order they went down; the last is the active layer.
// Each layer key is held at most once, so 255 places always suffice.
struct HeldLayers {
  std::array<std::uint8_t, 255> keys{};
  std::uint16_t count = 0;

  bool empty() const { return count == 0; }
  KeyCode active() const { return keys[count - 1]; }
  bool contains(KeyCode key) const;
  void push(KeyCode key);
  void remove(KeyCode key);
};

// One layer's bindings, indexed by source key: target 0 means unbound.
struct LayerTable {
  KeyCode key = noKey;
  LayerTiming timing;
  std::array<std::uint8_t, 256> targets{};
  std::array<ModifierKeys, 256> modifiers{};
};

struct Engine {
  Layout layout;

  // Lookups built once by keyboard(): layerSlot[key] is 1 + the index of the
  // key's table in layerTables, or 0 when the key has no layer.
  std::array<std::uint8_t, 256> layerSlot{};
  std::vector<LayerTable> layerTables;

  bool mouseLive = false;
  bool typedRecently = false;
  std::uint32_t mouseAt = 0;
  std::uint32_t typedAt = 0;
  KeyCode pendingKey = noKey;
  KeySet swallowed;
  HeldLayers heldLayers;
  std::array<std::uint32_t, 256> pressedAt{};
  KeySet usedLayers;
  KeySet keysDown;
  std::array<ModifierKeys, 256> modsOf{};
  std::array<std::int64_t, 256> modHolds{};
  std::array<KeyCode, 256> outputOf{};

  // The hook front end's memory of where each physical press went, so that a
  // key's repeats and release follow its first press.
  KeySet pressedToEngine;
  KeySet pressedPast;
};

// Builds an engine from a parsed profile; every runtime field starts empty.
Engine keyboard(Layout layout);

bool translate(Engine& engine, KeyCode key, bool down, Emit emit, std::uint32_t time,
               bool permitted, bool typing);
bool translateCore(Engine& engine, KeyCode key, bool down, Emit emit, std::uint32_t time,
                   bool permitted, bool typing);
bool beginsLayer(const Engine& engine, KeyCode key);
bool mouseCandidate(const Engine& engine, KeyCode key, std::uint32_t time);
bool excluded(const Engine& engine, std::string_view name);
bool busy(const Engine& engine);
void mouseEvent(Engine& engine, bool moved, std::uint32_t time);

// The hook's front end: applies the Exclude rule once per physical press and
// feeds the event to the engine. True: swallow the event.
bool translateKey(Engine& engine, KeyCode vk, bool down, bool typing, std::uint32_t time,
                  ForegroundName foreground, Emit emit);

}  // namespace quillon
