#pragma once
// The settings window's edits of a draft profile text. Each edit rewrites only
// the lines it concerns, so the user's comments, blank lines, order and
// spelling survive; the result is checked by the profile parser before it is
// handed back, so a refused edit never leaves a half-edited draft. No Windows
// headers.

#include <cstdint>
#include <string>
#include <string_view>

#include "layers/keys.h"
#include "main/draft_list.h"

namespace quillon {

// "H=LCtrl+Shift+PageUp": the modifier tokens in bit order, then the target.
std::string rowLine(KeyCode source, ModifierMask mask, KeyCode target);

// "[Space]", "[MouseMove]".
std::string sectionHeader(KeyCode layer);

// The draft with one row of `layer` written: the row of `oldSource` replaced
// (or a new row added at the end of the section, or the section appended), or
// with `newSource` 0 the row of `oldSource` removed. Raises ValueError with
// "This key is already assigned." or the parser's message.
std::string editRow(std::string_view text, KeyCode layer, KeyCode oldSource, KeyCode newSource,
                    KeyCode target, ModifierMask mask);

// The draft without the layer's section and its Timing option. Raises
// ValueError with the parser's message.
std::string removeLayerDraft(std::string_view text, KeyCode layer);

// The draft with the layer's Timing option set to delay,enabled,hold.
std::string timingDraft(std::string_view text, KeyCode layer, std::int64_t delay, bool enabled,
                        std::int64_t hold);

// The draft with MouseMs, MouseGuard, MouseOn and MouseOff set.
std::string mouseDraft(std::string_view text, std::int64_t timeout, bool guard, KeyCode on,
                       KeyCode off);

// The number in an input's text when it is only digits and within lowest to
// highest; else -1.
std::int64_t readTime(std::string_view text, std::int64_t lowest, std::int64_t highest);

// The timing inputs of a layer, as typed.
struct TimingInputs {
  std::string_view delay;
  bool holdChecked = false;
  std::string_view hold;
  // The hold loaded with the layer; written back when the threshold is off
  // and its input holds no valid number.
  std::int64_t savedHold = 500;
};

struct TimingCheck {
  // Which input is refused; the delay wins when both are.
  enum class Refused { none, delay, hold } refused = Refused::none;
  std::int64_t delay = 0;
  bool enabled = false;
  std::int64_t hold = 0;
};

TimingCheck checkTiming(const TimingInputs& inputs);

}  // namespace quillon
