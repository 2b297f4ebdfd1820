#include "layers/engine.h"

#include <algorithm>
#include <utility>

namespace quillon {

namespace {

enum class Stroke { press, repeat, release };

constexpr std::size_t at(KeyCode code) {
  return static_cast<std::size_t>(code);
}

const LayerTable* layerTable(const Engine& engine, KeyCode layer) {
  const std::uint8_t slot = engine.layerSlot[at(layer)];
  return slot == 0 ? nullptr : &engine.layerTables[slot - 1];
}

bool isLayerKey(const Engine& engine, KeyCode key) {
  return engine.layerSlot[at(key)] != 0;
}

bool hasMouseLayer(const Engine& engine) {
  return isLayerKey(engine, mouseLayerKey);
}

KeyCode boundTarget(const Engine& engine, KeyCode layer, KeyCode key) {
  const LayerTable* table = layerTable(engine, layer);
  return table == nullptr ? noKey : table->targets[at(key)];
}

bool mouseLayerLive(const Engine& engine, std::uint32_t time) {
  return engine.mouseLive && time - engine.mouseAt < engine.layout.options.mouseMs;
}

bool heldTooLong(const Engine& engine, const LayerTable& layer, std::uint32_t time) {
  const std::uint32_t held = time - engine.pressedAt[at(layer.key)];
  return layer.timing.enabled && held > layer.timing.hold;
}

// The user holds a key only when their own press of it reached the system as
// that key; a modifier the user pressed but a binding turned into something
// else is not under the finger.
bool heldByUser(const Engine& engine, KeyCode key) {
  const KeyCode output = engine.outputOf[at(key)];
  return engine.keysDown[at(key)] && (output == noKey || output == key);
}

int sourcesOf(const Engine& engine, KeyCode output) {
  return static_cast<int>(std::count(engine.outputOf.begin(), engine.outputOf.end(), output));
}

// The key a binding presses for one entry of its modifier list, or 0 when the
// user already holds a key that satisfies it.
KeyCode chooseModifier(const Engine& engine, std::uint8_t modifier) {
  const auto eitherSide = [&](KeyCode left, KeyCode right) {
    return heldByUser(engine, left) || heldByUser(engine, right) ? noKey : left;
  };
  switch (modifier) {
    case 16:
      return eitherSide(160, 161);
    case 17:
      return eitherSide(162, 163);
    case 18:
      return eitherSide(164, 165);
    case 0:
      return eitherSide(91, 92);
    default:
      return heldByUser(engine, modifier) ? noKey : modifier;
  }
}

void pressModifiers(Engine& engine, KeyCode source, const ModifierKeys& list, Emit emit) {
  ModifierKeys& pressed = engine.modsOf[at(source)];
  for (std::uint8_t i = 0; i < list.count; ++i) {
    const KeyCode chosen = chooseModifier(engine, list.keys[i]);
    if (chosen == noKey) continue;
    if (engine.modHolds[at(chosen)]++ == 0) emit(chosen, true);
    pressed.keys[pressed.count++] = static_cast<std::uint8_t>(chosen);
  }
}

// Modifiers come up after the target, in reverse order, and never while
// another binding or the user still holds them.
void releaseModifiers(Engine& engine, KeyCode source, Emit emit) {
  ModifierKeys& pressed = engine.modsOf[at(source)];
  for (std::uint8_t i = pressed.count; i-- > 0;) {
    const KeyCode modifier = pressed.keys[i];
    if (--engine.modHolds[at(modifier)] == 0 && !heldByUser(engine, modifier))
      emit(modifier, false);
  }
  pressed.count = 0;
}

bool outputKey(Engine& engine, KeyCode source, KeyCode output, Stroke stroke, Emit emit) {
  if (stroke != Stroke::release) {
    emit(output, true);
    return true;
  }
  if (sourcesOf(engine, output) == 0) emit(output, false);
  releaseModifiers(engine, source, emit);
  return true;
}

// Mouse buttons go down with the first source that holds them and up with the
// last; the button does not auto-repeat.
bool outputButton(Engine& engine, KeyCode source, KeyCode output, Stroke stroke, Emit emit,
                  std::uint32_t time) {
  if (stroke == Stroke::repeat) return true;
  mouseEvent(engine, false, time);
  if (stroke == Stroke::press) {
    if (sourcesOf(engine, output) == 1) emit(output, true);
    return true;
  }
  if (sourcesOf(engine, output) == 0) emit(output, false);
  releaseModifiers(engine, source, emit);
  return true;
}

bool outputStep(Engine& engine, KeyCode source, KeyCode output, Stroke stroke, Emit emit,
                std::uint32_t time) {
  if (output == noKey) return false;
  if (isMouseButton(output)) return outputButton(engine, source, output, stroke, emit, time);
  return outputKey(engine, source, output, stroke, emit);
}

void useHeldLayers(Engine& engine) {
  for (std::uint16_t i = 0; i < engine.heldLayers.count; ++i)
    engine.usedLayers.set(engine.heldLayers.keys[i]);
}

// A MouseOff key with its own layer enters that layer already used, so its
// release types nothing.
bool pressMouseOff(Engine& engine, KeyCode key, std::uint32_t time) {
  const LayerTable* table = layerTable(engine, key);
  if (table == nullptr) {
    engine.swallowed.set(at(key));
    return true;
  }
  useHeldLayers(engine);
  engine.usedLayers.set(at(key));
  engine.pressedAt[at(key)] = time - static_cast<std::uint32_t>(table->timing.delay);
  engine.heldLayers.push(key);
  return true;
}

bool releaseLayer(Engine& engine, KeyCode key, Emit emit, std::uint32_t time) {
  engine.heldLayers.remove(key);
  if (engine.usedLayers[at(key)]) return true;
  const LayerTable* table = layerTable(engine, key);
  if (table == nullptr || heldTooLong(engine, *table, time)) return true;
  emit(key, true);
  emit(key, false);
  return true;
}

void beginLayer(Engine& engine, KeyCode key, std::uint32_t time) {
  useHeldLayers(engine);
  engine.usedLayers.reset(at(key));
  engine.pressedAt[at(key)] = time;
  engine.heldLayers.push(key);
}

bool bindingOutput(Engine& engine, const LayerTable& layer, KeyCode key, Emit emit,
                   std::uint32_t time) {
  engine.usedLayers.set(at(layer.key));
  pressModifiers(engine, key, layer.modifiers[at(key)], emit);
  const KeyCode target = layer.targets[at(key)];
  engine.outputOf[at(key)] = target;
  return outputStep(engine, key, target, Stroke::press, emit, time);
}

// An unbound key in a layer. `typedThrough`: the press has just resolved a
// pending key as typing, so it must follow the events emitted for that
// rather than overtake them by passing.
bool unboundPress(Engine& engine, const LayerTable& layer, KeyCode key, Emit emit,
                  std::uint32_t time, bool typedThrough) {
  if (layer.key == mouseLayerKey || isModifierKey(key)) return false;
  if (engine.usedLayers[at(layer.key)]) {
    if (!typedThrough) return false;
  } else {
    engine.usedLayers.set(at(layer.key));
    if (!heldTooLong(engine, layer, time)) {
      emit(layer.key, true);
      emit(layer.key, false);
    }
  }
  engine.outputOf[at(key)] = key;
  return outputStep(engine, key, key, Stroke::press, emit, time);
}

bool newPress(Engine& engine, KeyCode key, Emit emit, std::uint32_t time, bool permitted,
              bool typedThrough) {
  engine.keysDown.set(at(key));
  KeyCode layerKey = noKey;
  if (!engine.heldLayers.empty())
    layerKey = engine.heldLayers.active();
  else if (permitted && engine.mouseLive)
    layerKey = mouseLayerKey;
  const LayerTable* layer = layerKey == noKey ? nullptr : layerTable(engine, layerKey);
  if (layer == nullptr) return false;
  if (layer->targets[at(key)] == noKey)
    return unboundPress(engine, *layer, key, emit, time, typedThrough);
  return bindingOutput(engine, *layer, key, emit, time);
}

void markTyping(Engine& engine, KeyCode key, std::uint32_t time, bool permitted) {
  if (engine.outputOf[at(key)] != noKey) return;
  if (permitted && engine.mouseLive && boundTarget(engine, mouseLayerKey, key) != noKey) return;
  engine.typedRecently = true;
  engine.typedAt = time;
}

// The MouseOn and MouseOff keys of a press; true when they decided the event.
bool mouseKeys(Engine& engine, KeyCode key, std::uint32_t time, bool& swallow) {
  const ProgramOptions& options = engine.layout.options;
  if (key == options.mouseOn) {
    engine.mouseLive = true;
    engine.mouseAt = time;
    engine.swallowed.set(at(key));
    swallow = true;
    return true;
  }
  if (engine.mouseLive && key == options.mouseOff) {
    engine.mouseLive = false;
    engine.mouseAt = time;
    swallow = pressMouseOff(engine, key, time);
    return true;
  }
  return false;
}

bool core(Engine& engine, KeyCode key, bool down, Emit emit, std::uint32_t time, bool permitted,
          bool typing, bool typedThrough) {
  if (time - engine.mouseAt >= engine.layout.options.mouseMs) engine.mouseLive = false;
  if (engine.swallowed[at(key)]) {
    if (!down) engine.swallowed.reset(at(key));
    return true;
  }
  if (down) {
    bool swallow = false;
    if (permitted && !engine.keysDown[at(key)] && !engine.heldLayers.contains(key) &&
        hasMouseLayer(engine) && mouseKeys(engine, key, time, swallow))
      return swallow;
    if (typing) markTyping(engine, key, time, permitted);
  }
  if (engine.heldLayers.contains(key)) return down || releaseLayer(engine, key, emit, time);
  if (!down) {
    engine.keysDown.reset(at(key));
    const KeyCode output = std::exchange(engine.outputOf[at(key)], noKey);
    return outputStep(engine, key, output, Stroke::release, emit, time);
  }
  if (beginsLayer(engine, key)) {
    beginLayer(engine, key, time);
    return true;
  }
  if (engine.keysDown[at(key)])
    return outputStep(engine, key, engine.outputOf[at(key)], Stroke::repeat, emit, time);
  return newPress(engine, key, emit, time, permitted, typedThrough);
}

// The held-back key and the layer key turn out to be typed text: they appear
// in the order they were pressed.
void resolveAsTyping(Engine& engine, KeyCode layer, KeyCode pending, Emit emit) {
  engine.pendingKey = noKey;
  engine.usedLayers.set(at(layer));
  emit(layer, true);
  emit(layer, false);
  engine.keysDown.set(at(pending));
  engine.outputOf[at(pending)] = pending;
  emit(pending, true);
}

bool mayBecomePending(const Engine& engine, KeyCode key, KeyCode layer) {
  return !engine.usedLayers[at(layer)] && !engine.keysDown[at(key)] &&
         !engine.heldLayers.contains(key) && !isLayerKey(engine, key) && !engine.swallowed[at(key)];
}

bool resolvePending(Engine& engine, KeyCode layer, bool bound, KeyCode key, bool down, Emit emit,
                    std::uint32_t time, bool permitted, bool typing) {
  const KeyCode pending = engine.pendingKey;
  if (key == layer) {
    if (down) return true;
    resolveAsTyping(engine, layer, pending, emit);
    return core(engine, layer, false, emit, time, permitted, typing, false);
  }
  // An unbound modifier leaves the key pending, but the pending key's own
  // release and repeats always resolve it, modifier or not.
  if (isModifierKey(key) && key != pending && !bound)
    return core(engine, key, down, emit, time, permitted, typing, false);
  if (bound) {
    engine.pendingKey = noKey;
    core(engine, pending, true, emit, time, permitted, false, false);
    return core(engine, key, down, emit, time, permitted, typing, false);
  }
  resolveAsTyping(engine, layer, pending, emit);
  return core(engine, key, down, emit, time, permitted, typing, down);
}

}  // namespace

bool HeldLayers::contains(KeyCode key) const {
  return std::find(keys.begin(), keys.begin() + count, key) != keys.begin() + count;
}

void HeldLayers::push(KeyCode key) {
  keys[count++] = static_cast<std::uint8_t>(key);
}

void HeldLayers::remove(KeyCode key) {
  const auto end = keys.begin() + count;
  const auto found = std::find(keys.begin(), end, key);
  if (found == end) return;
  std::copy(found + 1, end, found);
  --count;
}

Engine keyboard(Layout layout) {
  Engine engine;
  engine.layerTables.reserve(layout.layers.size());
  for (const auto& [layerKey, bindings] : layout.layers) {
    if (layerKey < 1 || layerKey > mouseLayerKey) continue;
    LayerTable& table = engine.layerTables.emplace_back();
    table.key = layerKey;
    table.timing = timing(layout, layerKey);
    for (const auto& [source, target] : bindings) {
      if (source < 1 || source > 254 || target < 1 || target > 254) continue;
      table.targets[at(source)] = static_cast<std::uint8_t>(target);
      const auto modifiers = layout.modifiers.find({layerKey, source});
      if (modifiers == layout.modifiers.end()) continue;
      ModifierKeys& list = table.modifiers[at(source)];
      for (KeyCode modifier : modifiers->second)
        if (list.count < list.keys.size())
          list.keys[list.count++] = static_cast<std::uint8_t>(modifier);
    }
    engine.layerSlot[at(layerKey)] = static_cast<std::uint8_t>(engine.layerTables.size());
  }
  engine.layout = std::move(layout);
  return engine;
}

bool translate(Engine& engine, KeyCode key, bool down, Emit emit, std::uint32_t time,
               bool permitted, bool typing) {
  if (key < 1 || key > 254) return false;
  if (engine.heldLayers.empty())
    return core(engine, key, down, emit, time, permitted, typing, false);
  const KeyCode layer = engine.heldLayers.active();
  const bool bound = boundTarget(engine, layer, key) != noKey;
  if (engine.pendingKey != noKey)
    return resolvePending(engine, layer, bound, key, down, emit, time, permitted, typing);
  if (down && bound && mayBecomePending(engine, key, layer)) {
    engine.pendingKey = key;
    return true;
  }
  return core(engine, key, down, emit, time, permitted, typing, false);
}

bool translateCore(Engine& engine, KeyCode key, bool down, Emit emit, std::uint32_t time,
                   bool permitted, bool typing) {
  if (key < 1 || key > 254) return false;
  return core(engine, key, down, emit, time, permitted, typing, false);
}

bool beginsLayer(const Engine& engine, KeyCode key) {
  if (key < 1 || key > 254 || !isLayerKey(engine, key)) return false;
  if (engine.heldLayers.contains(key) || engine.keysDown[at(key)]) return false;
  return engine.heldLayers.empty() || boundTarget(engine, engine.heldLayers.active(), key) == noKey;
}

bool mouseCandidate(const Engine& engine, KeyCode key, std::uint32_t time) {
  if (key < 1 || key > 254 || !hasMouseLayer(engine)) return false;
  const ProgramOptions& options = engine.layout.options;
  if (key == options.mouseOn) return true;
  if (!mouseLayerLive(engine, time)) return false;
  return key == options.mouseOff || boundTarget(engine, mouseLayerKey, key) != noKey;
}

bool excluded(const Engine& engine, std::string_view name) {
  const auto lowerAscii = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return std::any_of(engine.layout.options.exclude.begin(), engine.layout.options.exclude.end(),
                     [&](const std::string& entry) {
                       return entry.size() == name.size() &&
                              std::equal(name.begin(), name.end(), entry.begin(),
                                         [&](char a, char b) { return lowerAscii(a) == b; });
                     });
}

bool busy(const Engine& engine) {
  return !engine.heldLayers.empty() || engine.swallowed.any() ||
         std::any_of(engine.outputOf.begin(), engine.outputOf.end(),
                     [](KeyCode output) { return output != noKey; });
}

void mouseEvent(Engine& engine, bool moved, std::uint32_t time) {
  if (!hasMouseLayer(engine)) return;
  const ProgramOptions& options = engine.layout.options;
  if (engine.heldLayers.contains(options.mouseOff)) return;
  const bool live = time - engine.mouseAt < options.mouseMs;
  if (time - engine.typedAt >= options.mouseMs) engine.typedRecently = false;
  const bool movementStarts = moved && !(options.mouseGuard && engine.typedRecently);
  if (!live) engine.mouseLive = false;
  if ((live && engine.mouseLive) || movementStarts) {
    engine.mouseLive = true;
    engine.mouseAt = time;
  }
}

}  // namespace quillon
