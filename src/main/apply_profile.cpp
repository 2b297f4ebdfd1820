#include "main/apply_profile.h"

#include "main/autostart.h"
#include "main/input_hook.h"
#include "main/profile_store.h"
#include "main/settings_window.h"
#include "main/win_text.h"

namespace quillon {

ProfileInForce profileInForce() {
  return {current, startupEnabled, board};
}

bool WindowsProfile::setStartup(bool enable) {
  return quillon::setStartup(enable) == 0;
}

void WindowsProfile::persist(std::string_view text) {
  quillon::persist(text);
}

void WindowsProfile::showError(std::string_view message) {
  quillon::showError(window, message);
}

void WindowsProfile::showError(TextId id) {
  quillon::showError(window, uiText(id));
}

bool saveConfig(std::wstring_view draft) {
  WindowsProfile system;
  if (!saveProfile(narrow(draft), profileInForce(), system)) return false;
  // The engine now comes from `current`, so resetting the keyboard rebuilds it from there.
  boardFromCurrent = true;
  return true;
}

}  // namespace quillon
