#pragma once
// The notification-area icon, its callback and the menu commands of the main
// window.

#include <windows.h>

#include <shellapi.h>

namespace quillon {

// The icon record, filled once at start-up and kept for the life of the process.
extern NOTIFYICONDATAW tray;
// The id of "TaskbarCreated"; 0 until registered.
extern UINT taskbar;

// Fills `tray` for `window` with the small icon and adds it; false on failure.
bool addTray(HICON icon);
// Adds the icon again after the shell restarted; a failure is ignored.
void readdTray();
// Removes the icon, if it was added.
void deleteTray();

// The icon's callback: lParam is the mouse message.
void trayCallback(LPARAM lParam);
// Runs a menu command of the main window; false for an id it does not know.
bool trayCommand(WORD id);

}  // namespace quillon
