// The settings window's view of the draft: the lists, key boxes and inputs
// are filled from the parsed editor text after every change, with the
// selection kept by key code.

#include <windows.h>

#include <exception>
#include <new>

#include "layers/value_error.h"
#include "localization/language.h"
#include "main/profile_store.h"
#include "main/settings_ui.h"
#include "main/settings_window.h"
#include "main/win_text.h"

namespace quillon {

int advanced = 0;
KeyCode selectedLayer = noKey;
KeyCode selectedSource = noKey;
std::array<BindingRow, 255> bindings{};

namespace {

// The group "Layer settings" shows: the timing of a keyboard layer, the mouse
// options of the mouse layer, or neither in the advanced presentation.
enum class Group { timing, mouse, none, unset };
Group shownGroup = Group::unset;

// The program fills inputs itself: their change notifications are no input.
class Loading {
 public:
  Loading() { loadingTiming = 1; }
  ~Loading() { loadingTiming = 0; }
  Loading(const Loading&) = delete;
  Loading& operator=(const Loading&) = delete;
};

void setNumber(HWND input, std::int64_t value) {
  SetWindowTextW(input, std::to_wstring(value).c_str());
}

void check(HWND box, bool checked) {
  SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void show(HWND control, bool visible) {
  ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

int addItem(HWND list, UINT add, UINT setData, const std::string& caption, KeyCode data) {
  const auto index =
      static_cast<int>(SendMessageW(list, add, 0, reinterpret_cast<LPARAM>(wide(caption).c_str())));
  SendMessageW(list, setData, index, static_cast<LPARAM>(data));
  return index;
}

// The index of the item whose data is `key`, or -1.
int findItem(HWND box, KeyCode key) {
  const auto count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (static_cast<KeyCode>(SendMessageW(box, CB_GETITEMDATA, i, 0)) == key) return i;
  return -1;
}

// A mouse key box: "None" is item 0.
void selectMouseKey(HWND box, KeyCode key) {
  if (key == noKey) {
    SendMessageW(box, CB_SETCURSEL, 0, 0);
    return;
  }
  selectKey(box, key);
}

void loadMouse(const ProgramOptions& options) {
  Loading loading;
  setNumber(controls.mouseTime, options.mouseMs);
  check(controls.mouseGuard, options.mouseGuard);
  selectMouseKey(controls.mouseOn, options.mouseOn);
  selectMouseKey(controls.mouseOff, options.mouseOff);
}

void loadTiming(const LayerTiming& timing) {
  Loading loading;
  savedHoldMs = timing.hold;
  if (timingEdited) return;
  setNumber(controls.delayInput, timing.delay);
  setNumber(controls.holdInput, timing.hold);
  check(controls.holdCheck, timing.enabled);
  EnableWindow(controls.holdInput, timing.enabled);
}

void fillLists(const DraftListing& listing) {
  for (KeyCode layer : listing.layers) {
    const int index =
        addItem(controls.layerList, LB_ADDSTRING, LB_SETITEMDATA, displayNames.names[layer], layer);
    if (layer == listing.selectedLayer) SendMessageW(controls.layerList, LB_SETCURSEL, index, 0);
  }
  for (KeyCode source : listing.rows) {
    const int index = addItem(controls.rowList, LB_ADDSTRING, LB_SETITEMDATA,
                              rowText(displayNames, source, listing.bindings[source]), source);
    if (source == listing.selectedSource) SendMessageW(controls.rowList, LB_SETCURSEL, index, 0);
  }
}

void setRedraw(bool on) {
  SendMessageW(controls.layerList, WM_SETREDRAW, on, 0);
  SendMessageW(controls.rowList, WM_SETREDRAW, on, 0);
}

}  // namespace

bool listRows(std::string_view text) {
  DraftListing listing;
  try {
    listing = listRows(text, selectedLayer, selectedSource);
  } catch (const ValueError& error) {
    showError(window, error.what());
    return false;
  }
  if (!mouseEdited) loadMouse(listing.layout.options);
  selectedLayer = listing.selectedLayer;
  selectedSource = listing.selectedSource;
  bindings = listing.bindings;
  fillLists(listing);
  loadTiming(listing.timing);
  return true;
}

bool reloadRows() {
  const std::optional<std::string> text = draftText();
  if (!text) return false;
  setRedraw(false);
  SendMessageW(controls.layerList, LB_RESETCONTENT, 0, 0);
  SendMessageW(controls.rowList, LB_RESETCONTENT, 0, 0);
  bindings = {};
  const bool listed = listRows(*text);
  setRedraw(true);
  InvalidateRect(controls.layerList, nullptr, TRUE);
  InvalidateRect(controls.rowList, nullptr, TRUE);
  showSelection();
  return listed;
}

void showSelection() {
  updateTimingVisibility();
  const BindingRow& row = bindings[static_cast<std::size_t>(selectedSource)];
  selectKey(controls.sourceBox, selectedSource);
  selectKey(controls.targetBox, row.target);
  for (std::size_t bit = 0; bit < controls.checks.size(); ++bit)
    check(controls.checks[bit], row.mask & (ModifierMask{1} << bit));
}

void updateTimingVisibility() {
  const Group group = advanced                         ? Group::none
                      : selectedLayer == mouseLayerKey ? Group::mouse
                                                       : Group::timing;
  if (group == shownGroup) return;
  shownGroup = group;
  const SettingsControls& c = controls;
  for (HWND timing : {c.delayLabel, c.delayInput, c.holdCheck, c.holdInput})
    show(timing, group == Group::timing);
  for (HWND mouse : {c.mouseTime, c.mouseGuard, c.mouseOn, c.mouseOff, c.mouseLabels[0],
                     c.mouseLabels[1], c.mouseLabels[2]})
    show(mouse, group == Group::mouse);
  const RECT area{layerFrame.left, layerFrame.top, layerFrame.right, layerFrame.bottom};
  InvalidateRect(window, &area, FALSE);
}

void mode(int advancedMode) {
  advanced = advancedMode;
  updateTimingVisibility();
  const SettingsControls& c = controls;
  EnableWindow(c.delayInput, !advanced);
  for (HWND structured : {c.layerPicker, c.layerAdd, c.layerRemove, c.layerList, c.rowList,
                          c.sourceBox, c.targetBox, c.newButton, c.removeButton})
    show(structured, !advanced);
  for (HWND button : c.captureButtons) show(button, !advanced);
  for (HWND box : c.checks) show(box, !advanced);
  for (HWND heading : c.headings) show(heading, !advanced);
  show(editor, advanced);
  RECT client;
  GetClientRect(window, &client);
  if (client.right > 0)
    MoveWindow(editor, 12, 12, advanced ? client.right - 124 : client.right - 24,
               client.bottom - 70, TRUE);
  // The section frames are painted only in the structured presentation.
  InvalidateRect(window, nullptr, TRUE);
}

bool loadDraft() {
  SetWindowTextW(editor, editorText());
  SendMessageW(editor, EM_SETMODIFY, FALSE, 0);
  selectedSource = selectedLayer = noKey;
  mouseEdited = timingEdited = 0;
  return reloadRows();
}

void openEditor(HWND target) {
  if (!IsWindowVisible(target)) mode(!loadDraft());
  ShowWindow(target, SW_RESTORE);
  SetForegroundWindow(target);
  SetFocus(advanced ? editor : controls.layerList);
}

std::optional<std::string> draftText() {
  try {
    const int length = GetWindowTextLengthW(editor);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(editor, text.data(), length + 1)));
    return narrow(text);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

void setDraft(std::string_view text) {
  SetWindowTextW(editor, wide(text).c_str());
  SendMessageW(editor, EM_SETMODIFY, TRUE, 0);
}

void selectKey(HWND box, KeyCode key) {
  if (key < 1 || key > 254) {
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    return;
  }
  int index = findItem(box, key);
  // A key the boxes do not offer is still shown when the draft uses it.
  if (index < 0) index = addItem(box, CB_ADDSTRING, CB_SETITEMDATA, displayNames.names[key], key);
  SendMessageW(box, CB_SETCURSEL, index, 0);
}

KeyCode selectedKey(HWND box) {
  const auto index = SendMessageW(box, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return noKey;
  return static_cast<KeyCode>(SendMessageW(box, CB_GETITEMDATA, index, 0));
}

void fillKeyCombos() {
  const SettingsControls& c = controls;
  const std::array<HWND, 3> keyBoxes{c.layerPicker, c.sourceBox, c.targetBox};
  const std::array<HWND, 2> mouseBoxes{c.mouseOn, c.mouseOff};
  std::array<KeyCode, 3> keyWas{};
  std::array<KeyCode, 2> mouseWas{};
  for (std::size_t i = 0; i < keyBoxes.size(); ++i) keyWas[i] = selectedKey(keyBoxes[i]);
  for (std::size_t i = 0; i < mouseBoxes.size(); ++i) mouseWas[i] = selectedKey(mouseBoxes[i]);
  for (HWND box : {c.layerPicker, c.sourceBox, c.targetBox, c.mouseOn, c.mouseOff})
    SendMessageW(box, CB_RESETCONTENT, 0, 0);

  const std::string none = utf8(text(TextId::noneChoice));
  for (HWND box : mouseBoxes) addItem(box, CB_ADDSTRING, CB_SETITEMDATA, none, noKey);
  addItem(c.layerPicker, CB_ADDSTRING, CB_SETITEMDATA, displayNames.names[mouseLayerKey],
          mouseLayerKey);
  for (KeyCode code = 1; code <= 254; ++code) {
    if (!displayNames.namedKey[code]) continue;
    const std::string& name = displayNames.names[code];
    for (HWND box : keyBoxes) addItem(box, CB_ADDSTRING, CB_SETITEMDATA, name, code);
    // Mouse buttons, Ctrl+Break and the sideless modifiers cannot switch the mouse layer.
    const bool mouseKey = code > 7 && (code < 16 || code > 18);
    if (mouseKey)
      for (HWND box : mouseBoxes) addItem(box, CB_ADDSTRING, CB_SETITEMDATA, name, code);
  }

  for (std::size_t i = 0; i < keyBoxes.size(); ++i)
    SendMessageW(keyBoxes[i], CB_SETCURSEL,
                 keyWas[i] == noKey ? -1 : findItem(keyBoxes[i], keyWas[i]), 0);
  for (std::size_t i = 0; i < mouseBoxes.size(); ++i)
    SendMessageW(mouseBoxes[i], CB_SETCURSEL, findItem(mouseBoxes[i], mouseWas[i]), 0);
}

}  // namespace quillon
