#pragma once
// Applying a profile from the settings window: saving the draft, and the
// Windows side that saving and the start-with-Windows toggle share.

#include <windows.h>

#include <string_view>

#include "localization/texts.h"
#include "main/apply_logic.h"

namespace quillon {

// The profile in force: `current`, `startupEnabled` and `board`.
ProfileInForce profileInForce();

// The system that saving and the toggle act on: the Run value, layers.ini and
// message boxes owned by the main window.
struct WindowsProfile {
  bool setStartup(bool enable);
  void persist(std::string_view text);
  void showError(std::string_view message);
  void showError(TextId id);
};

// Validates, stores and applies the settings window's whole profile text;
// true when the profile was stored. Every failure has been shown when it
// returns false.
bool saveConfig(std::wstring_view draft);

}  // namespace quillon
