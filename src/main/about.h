#pragma once
// The About window: a modal dialog from template 300, opened from the tray
// menu, with the program's version and the maker's two links.

#include <windows.h>

namespace quillon {

inline constexpr int aboutTemplate = 300;
inline constexpr int messengerButton = 301;
inline constexpr int emailButton = 302;
inline constexpr int versionLabel = 304;

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the texts of the UI language in use into the dialog.
void localizeAbout(HWND dialog);

// The tray menu's "About…": shows the dialog and returns when it closes.
void openAbout();

}  // namespace quillon
