#pragma once
// The parsed profile and its parser.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "layers/keys.h"

namespace quillon {

struct LayerTiming {
  std::int32_t delay = 80;
  bool enabled = false;  // long-hold suppression
  std::int64_t hold = 500;

  bool operator==(const LayerTiming&) const = default;
};

struct ProgramOptions {
  std::int32_t delayMs = 80;
  bool ignoreLongHold = false;
  std::int64_t holdMs = 500;
  std::uint32_t mouseMs = 650;
  bool mouseGuard = false;
  KeyCode mouseOn = noKey;
  KeyCode mouseOff = noKey;
  bool startup = false;
  std::vector<std::string> exclude;  // lower-case program file names
};

// One layer: source key to target key.
using Layer = std::map<KeyCode, KeyCode>;
// (layer key, source key) to the binding's modifier codes in written order.
using ModifierLists = std::map<std::pair<KeyCode, KeyCode>, std::vector<KeyCode>>;

struct Layout {
  std::map<KeyCode, LayerTiming> timings;
  ProgramOptions options;
  ModifierLists modifiers;
  std::map<KeyCode, Layer> layers;
};

// Parses a whole profile text. Raises ValueError with the user-facing message;
// messages about one line carry the "Line N: " prefix.
Layout layout(std::string_view text);

// The timing of a layer: its own Timing line, else the [Program] triple for
// the Space layer, else the defaults.
LayerTiming timing(const Layout& layout, KeyCode layer);

}  // namespace quillon
