#pragma once
// Keeps the keyboard hook alive. Windows drops a low-level hook without notice
// when one of its calls runs too long; raw keyboard input, which does not pass
// through the hook chain, shows keys the hook no longer sees, and the hook is
// then reinstalled. The decisions are in hook_watchdog.h.

#include <windows.h>

namespace quillon {

// Called by the hook for every key event it is handed, first thing. Touches
// only memory: the hook path neither blocks nor allocates.
void hookSawKey(DWORD time) noexcept;

// Registers raw keyboard input to `target` beside the mouse, and removes it.
// Layers work without it; only the watch is lost.
void watchKeyboard(HWND target);
void unwatchKeyboard();

// One WM_INPUT report; keyboard reports are checked against what the hook saw,
// everything else is left to the mouse path.
void rawKeyboard(LPARAM lParam);

}  // namespace quillon
