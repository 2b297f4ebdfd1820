#pragma once
// The boundary between the layer engine and Windows: the low-level keyboard
// hook, the foreground-program cache for Exclude, raw mouse input, and
// switching layers on and off.

#include <windows.h>

#include <cstdint>

#include "layers/engine.h"

namespace quillon {

// The engine; every call into it runs on the hook-owner thread.
extern Engine board;
// False while the profile in force failed to load at start-up: the program then
// runs with no layers, although `current` holds the default text for the
// editor. Applying a saved profile sets it.
extern bool boardFromCurrent;

// Key capture for the settings window: the field waiting for a key (0 none,
// 1 source, 2 target) and the key just captured, whose remaining events are
// swallowed (0 none).
extern std::int32_t captureField;
extern std::int32_t capturedKey;

LRESULT CALLBACK keyboardHook(int code, WPARAM wParam, LPARAM lParam);

// The foreground-change callback; its arguments are ignored, so start-up calls
// it directly to prime the record.
void CALLBACK refreshForeground(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG object, LONG child,
                                DWORD thread, DWORD time);

// One WM_INPUT report for the mouse layer.
void rawMouse(LPARAM lParam);

// Installs the hook and raw mouse input; true when they are in place.
bool enableLayers();
// Removes them and has the sender release every key it holds.
void disableLayers();
// True while the hook is meant to be installed.
bool layersEnabled();

#ifdef QUILLON_TEST_BUILD
// Test build only: removes the hook behind the program's back, as Windows does
// with a hook that ran too long; the program still holds the dead handle.
void dropHookForTest();
#endif

// Rebuilds the engine from `current`, dropping held layers, pending keys and
// output; a text that no longer parses leaves the engine as it was.
void qlnResetKeyboard();

}  // namespace quillon
