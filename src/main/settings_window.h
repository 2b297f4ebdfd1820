#pragma once
// The settings window, which is also the program's hidden main window: the
// target of raw mouse input, the tray icon's callbacks and the menu commands.

#include <windows.h>

namespace quillon {

inline constexpr int settingsWidth = 748;
inline constexpr int settingsHeight = 730;
inline constexpr DWORD settingsStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// The main window; null until created.
extern HWND window;
// The profile editor inside it; null until the window builds its controls.
extern HWND editor;

LRESULT CALLBACK settingsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the window restored, in front and focused.
void openEditor(HWND target);

}  // namespace quillon
