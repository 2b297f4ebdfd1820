#pragma once
// The settings window's controls and its view of the draft profile: the
// state other parts of the program (saving, the language switch, the
// self-check) reach, and the operations they call. The decisions behind them
// are in the pure files draft_list, draft_edit, key_names and settings_layout.

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "main/draft_list.h"
#include "main/key_names.h"
#include "main/settings_layout.h"

namespace quillon {

// Control ids of the settings window, also its WM_COMMAND ids.
namespace control {
inline constexpr WORD save = 101;
inline constexpr WORD close = 102;
inline constexpr WORD layerList = 210;
inline constexpr WORD rowList = 211;
inline constexpr WORD sourceBox = 212;
inline constexpr WORD targetBox = 213;
inline constexpr WORD captureSource = 214;
inline constexpr WORD captureTarget = 215;
inline constexpr WORD newRow = 216;
inline constexpr WORD removeRow = 217;
inline constexpr WORD addLayer = 218;
inline constexpr WORD removeLayer = 219;
// The modifier boxes, one per ModifierMask bit.
inline constexpr WORD firstCheck = 240;
inline constexpr WORD lastCheck = 251;
inline constexpr WORD holdCheck = 260;
inline constexpr WORD delayInput = 261;
inline constexpr WORD holdInput = 262;
inline constexpr WORD mouseTime = 280;
inline constexpr WORD mouseGuard = 281;
inline constexpr WORD mouseOn = 282;
inline constexpr WORD mouseOff = 283;
inline constexpr WORD languageRu = 320;
inline constexpr WORD languageEn = 321;
}  // namespace control

// The row list's subclass id.
inline constexpr UINT_PTR rowsSubclass = 1;

struct SettingsControls {
  HWND delayLabel = nullptr, delayInput = nullptr, holdCheck = nullptr, holdInput = nullptr;
  std::array<HWND, 4> headings{};
  HWND layerList = nullptr, rowList = nullptr, sourceBox = nullptr, targetBox = nullptr;
  HWND layerPicker = nullptr, layerAdd = nullptr, layerRemove = nullptr;
  HWND mouseTime = nullptr, mouseGuard = nullptr, mouseOn = nullptr, mouseOff = nullptr;
  std::array<HWND, 3> mouseLabels{};
  std::array<HWND, 2> captureButtons{};
  // Indexed by modifier bit.
  std::array<HWND, 12> checks{};
  HWND newButton = nullptr, removeButton = nullptr;
  HWND languageRu = nullptr, languageEn = nullptr;
  HWND saveButton = nullptr, closeButton = nullptr;
};

extern SettingsControls controls;
// The window's display names; entry 255 names the mouse-movement layer.
extern KeyNames displayNames;

// The listed draft: presentation, selection by key code and the rows of the
// selected layer.
extern int advanced;
extern KeyCode selectedLayer;
extern KeyCode selectedSource;
extern std::array<BindingRow, 255> bindings;

// Timing and mouse input not yet written into the draft, and the guard that
// keeps the program's own filling of the inputs from counting as input.
extern int timingEdited;
extern int mouseEdited;
extern int loadingTiming;
extern std::int64_t savedHoldMs;

extern Frame bindingFrame, layerFrame, mouseTimeFrame;

// The settings window's share of settingsProc: true when it handled the
// message, with the result to return.
bool settingsMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The row list's subclass procedure: its own wheel scrolling.
LRESULT CALLBACK rowsProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR data);

// Places every control for a client size and redraws the window once.
void positionLists(int width, int height);

// Listing the draft.
bool listRows(std::string_view text);
bool reloadRows();
void showSelection();
void updateTimingVisibility();
void mode(int advancedMode);
// Starts the draft again from the saved profile, unchanged, and lists it;
// false when it does not list.
bool loadDraft();
// Opens or raises the window; a hidden window starts again from the saved profile.
void openEditor(HWND target);
// The editor's text, or nothing when it cannot be copied.
std::optional<std::string> draftText();
// Replaces the draft and marks it changed.
void setDraft(std::string_view text);

// Key boxes.
void selectKey(HWND box, KeyCode key);
KeyCode selectedKey(HWND box);
void fillKeyCombos();
// Rebuilds the display names in the UI language.
void buildDisplayNames();

// Editing.
void cancelCapture();
void changeRow(bool remove);
bool applyTiming();
// Writes the mouse inputs into the draft; false after showing why not, or
// when the draft cannot be copied.
bool writeMouseOptions();
std::int64_t readTime(HWND input, std::int64_t lowest, std::int64_t highest);
bool settingsCommand(WORD id, WORD notification);
void keyCaptured(WPARAM field, LPARAM key);

}  // namespace quillon
