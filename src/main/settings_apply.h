#pragma once
// What the settings window does with its draft as a whole: saving it,
// closing the window, and switching the UI language.

#include <windows.h>

namespace quillon {

// Save (101): pending timing and mouse input go into the draft first, then
// the draft is saved; false when it was not.
bool saveDraft();

// True when the window may let its draft go: nothing unsaved, or the user
// agreed to discard it. Close and the tray's Exit ask this.
bool confirmDiscard();

// WM_CLOSE: hides the window unless the user keeps unsaved changes.
void closeSettings(HWND hwnd);

// Relabels every visible text of the settings window and the tray icon in
// the UI language in use.
void applyLanguage();

// The window's commands handled here (Save, RU, EN); false for other ids.
bool applyCommand(WORD id, WORD notification);

}  // namespace quillon
