#pragma once
// What the settings window lists from a draft profile text: its layers in
// text order, the rows of the selected layer with their modifier bits, and the
// selection after the rebuild. No Windows headers.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "layers/keys.h"
#include "layers/profile.h"
#include "main/key_names.h"

namespace quillon {

// Bits 0 to 11 in the order of modifierNames: L Shift .. R Win, then the
// generic Shift, Ctrl, Alt and Win.
using ModifierMask = std::uint32_t;

struct BindingRow {
  std::int32_t target = 0;
  ModifierMask mask = 0;

  bool operator==(const BindingRow&) const = default;
};

struct DraftListing {
  Layout layout;
  // Layer keys in the order of their sections.
  std::vector<KeyCode> layers;
  // Source keys of the selected layer's rows, in text order.
  std::vector<KeyCode> rows;
  // The rows of the selected layer by source key; entry 0 stays zero.
  std::array<BindingRow, 255> bindings{};
  // The selection kept by key code; 0 took the first layer or row. A kept
  // key may be missing from the lists, which then select nothing.
  KeyCode selectedLayer = noKey;
  KeyCode selectedSource = noKey;
  // The selected layer's timing.
  LayerTiming timing;
};

// Parses the draft and lists it; raises ValueError with the parser's message.
DraftListing listRows(std::string_view text, KeyCode selectedLayer, KeyCode selectedSource);

// A row as the row list shows it: source, a tab, each modifier label + " + ",
// then the target.
std::string rowText(const KeyNames& names, KeyCode source, const BindingRow& row);

}  // namespace quillon
