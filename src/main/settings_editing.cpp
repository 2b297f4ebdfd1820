// Editing in the settings window: rows, layers, key capture, and the timing
// and mouse inputs. Every edit rewrites the draft text (draft_edit) and
// lists it again; a refused edit shows why and leaves the draft as it was.

#include <windows.h>

#include "layers/value_error.h"
#include "localization/language.h"
#include "main/draft_edit.h"
#include "main/input_hook.h"
#include "main/settings_ui.h"
#include "main/settings_window.h"
#include "main/win_text.h"

namespace quillon {

int timingEdited = 0;
int mouseEdited = 0;
int loadingTiming = 0;
std::int64_t savedHoldMs = 500;

namespace {

// A layer just added from the picker starts from these timing values.
constexpr int newLayerDelay = 80;
constexpr int newLayerHold = 500;
// Inputs are read 15 characters at most.
constexpr int inputLimit = 16;

constexpr int sourceField = 1;
constexpr int targetField = 2;

std::string inputText(HWND input) {
  wchar_t text[inputLimit] = {};
  GetWindowTextW(input, text, inputLimit);
  return narrow(text);
}

bool checked(HWND box) {
  return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void markChanged() {
  SendMessageW(editor, EM_SETMODIFY, TRUE, 0);
}

void refuse(HWND input, TextId message) {
  showError(window, uiText(message));
  SetFocus(input);
  SendMessageW(input, EM_SETSEL, 0, -1);
}

KeyCode listData(HWND list, LRESULT index) {
  return static_cast<KeyCode>(SendMessageW(list, LB_GETITEMDATA, index, 0));
}

void startCapture(int field) {
  cancelCapture();
  captureField = field;
  HWND button = controls.captureButtons[field - 1];
  SetWindowTextW(button, uiText(TextId::pressKey));
  InvalidateRect(button, nullptr, TRUE);
}

void layerChosen() {
  cancelCapture();
  const LRESULT index = SendMessageW(controls.layerList, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;
  // Pending timing belongs to the layer shown so far; a refused value keeps it shown.
  if (!timingEdited || applyTiming()) {
    selectedLayer = listData(controls.layerList, index);
    selectedSource = noKey;
  }
  reloadRows();
}

void rowChosen() {
  cancelCapture();
  const LRESULT index = SendMessageW(controls.rowList, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;
  selectedSource = listData(controls.rowList, index);
  showSelection();
}

void newRow() {
  selectedSource = noKey;
  SendMessageW(controls.rowList, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  updateTimingVisibility();
  selectKey(controls.sourceBox, noKey);
  selectKey(controls.targetBox, bindings[0].target);
  for (HWND box : controls.checks) SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
  SetFocus(controls.sourceBox);
}

// A layer added from the picker shows the timing a new layer gets, without
// that counting as input.
void newLayerTiming() {
  loadingTiming = 1;
  savedHoldMs = newLayerHold;
  if (!timingEdited) {
    SetWindowTextW(controls.delayInput, std::to_wstring(newLayerDelay).c_str());
    SetWindowTextW(controls.holdInput, std::to_wstring(newLayerHold).c_str());
    SendMessageW(controls.holdCheck, BM_SETCHECK, BST_UNCHECKED, 0);
    EnableWindow(controls.holdInput, FALSE);
  }
  loadingTiming = 0;
}

int listIndex(HWND list, KeyCode key) {
  const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (listData(list, i) == key) return i;
  return -1;
}

void addLayer() {
  const KeyCode layer = selectedKey(controls.layerPicker);
  if (layer == noKey) {
    SetFocus(controls.layerPicker);
    return;
  }
  if (timingEdited && !applyTiming()) return;
  if (const int index = listIndex(controls.layerList, layer); index >= 0) {
    SendMessageW(controls.layerList, LB_SETCURSEL, index, 0);
    selectedLayer = layer;
    selectedSource = noKey;
    reloadRows();
    return;
  }
  selectedLayer = layer;
  selectedSource = noKey;
  if (layer == mouseLayerKey) {
    // The mouse layer may be empty, so it goes into the draft at once, as an
    // edit the user can undo.
    const int end = GetWindowTextLengthW(editor);
    SendMessageW(editor, EM_SETSEL, end, end);
    SendMessageW(
        editor, EM_REPLACESEL, TRUE,
        reinterpret_cast<LPARAM>((L"\r\n" + wide(sectionHeader(layer)) + L"\r\n").c_str()));
    markChanged();
    reloadRows();
    return;
  }
  // A keyboard layer needs a row before the parser takes it: until then it is
  // only listed, and its section is written with its first row.
  newLayerTiming();
  const int index = static_cast<int>(
      SendMessageW(controls.layerList, LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(wide(displayNames.names[layer]).c_str())));
  SendMessageW(controls.layerList, LB_SETITEMDATA, index, layer);
  SendMessageW(controls.layerList, LB_SETCURSEL, index, 0);
  SendMessageW(controls.rowList, LB_RESETCONTENT, 0, 0);
  bindings = {};
  showSelection();
  SetFocus(controls.sourceBox);
}

void removeLayer() {
  if (selectedLayer == noKey) return;
  if (SendMessageW(controls.layerList, LB_GETCOUNT, 0, 0) < 2) {
    showError(window, uiText(TextId::lastLayer));
    return;
  }
  const std::optional<std::string> text = draftText();
  if (!text) return;
  std::string edited;
  try {
    edited = removeLayerDraft(*text, selectedLayer);
  } catch (const ValueError& error) {
    showError(window, error.what());
    return;
  }
  setDraft(edited);
  if (selectedLayer == mouseLayerKey) mouseEdited = 0;
  // Pending timing input was for the layer that is gone.
  timingEdited = 0;
  selectedSource = selectedLayer = noKey;
  reloadRows();
}

void holdToggled() {
  EnableWindow(controls.holdInput, checked(controls.holdCheck));
  timingEdited = 1;
  markChanged();
}

void inputEdited(int& flag) {
  if (editor == nullptr || loadingTiming) return;
  flag = 1;
  markChanged();
}

bool isCheck(WORD id) {
  return id >= control::firstCheck && id <= control::lastCheck;
}

}  // namespace

void cancelCapture() {
  captureField = 0;
  for (HWND button : controls.captureButtons) {
    SetWindowTextW(button, uiText(TextId::setKey));
    InvalidateRect(button, nullptr, TRUE);
  }
}

void keyCaptured(WPARAM field, LPARAM key) {
  selectKey(field == sourceField ? controls.sourceBox : controls.targetBox,
            static_cast<KeyCode>(key));
  cancelCapture();
  changeRow(false);
}

void changeRow(bool remove) {
  if (selectedLayer == noKey) return;
  const KeyCode source = selectedKey(controls.sourceBox);
  const KeyCode target = selectedKey(controls.targetBox);
  // A row is written only once both keys are chosen.
  if (!remove && (source == noKey || target == noKey)) return;
  ModifierMask mask = 0;
  for (std::size_t bit = 0; bit < controls.checks.size(); ++bit)
    if (checked(controls.checks[bit])) mask |= ModifierMask{1} << bit;
  const std::optional<std::string> text = draftText();
  if (!text) return;
  std::string edited;
  try {
    edited = editRow(*text, selectedLayer, selectedSource, remove ? noKey : source, target, mask);
  } catch (const ValueError& error) {
    showError(window, error.what());
    // The controls go back to the row as the draft holds it.
    showSelection();
    return;
  }
  setDraft(edited);
  selectedSource = remove ? noKey : source;
  reloadRows();
}

bool applyTiming() {
  const std::string delay = inputText(controls.delayInput);
  const std::string hold = inputText(controls.holdInput);
  const TimingCheck timing = checkTiming({delay, checked(controls.holdCheck), hold, savedHoldMs});
  if (timing.refused == TimingCheck::Refused::delay) {
    refuse(controls.delayInput, TextId::delayRange);
    return false;
  }
  if (timing.refused == TimingCheck::Refused::hold) {
    refuse(controls.holdInput, TextId::holdRange);
    return false;
  }
  // Only keyboard layers have a timing; a Timing option for another key would
  // make the draft unreadable.
  if (selectedLayer < 1 || selectedLayer > 254) {
    timingEdited = 0;
    return true;
  }
  const std::optional<std::string> text = draftText();
  if (!text) {
    showError(window, uiText(TextId::outOfMemory));
    return false;
  }
  timingEdited = 0;
  setDraft(timingDraft(*text, selectedLayer, timing.delay, timing.enabled, timing.hold));
  return true;
}

bool writeMouseOptions() {
  const std::int64_t timeout = readTime(controls.mouseTime, 1, 600000);
  if (timeout < 0) {
    showError(window, uiText(TextId::mouseTimeoutRange));
    return false;
  }
  const std::optional<std::string> text = draftText();
  if (!text) return false;
  setDraft(mouseDraft(*text, timeout, checked(controls.mouseGuard), selectedKey(controls.mouseOn),
                      selectedKey(controls.mouseOff)));
  return true;
}

std::int64_t readTime(HWND input, std::int64_t lowest, std::int64_t highest) {
  return readTime(inputText(input), lowest, highest);
}

bool settingsCommand(WORD id, WORD notification) {
  switch (id) {
    case control::close:
      SendMessageW(window, WM_CLOSE, 0, 0);
      return true;
    case control::layerList:
      if (notification == LBN_SELCHANGE) layerChosen();
      return true;
    case control::rowList:
      if (notification == LBN_SELCHANGE) rowChosen();
      return true;
    case control::sourceBox:
    case control::targetBox:
      if (notification != CBN_SELCHANGE) return true;
      cancelCapture();
      changeRow(false);
      return true;
    case control::captureSource:
      startCapture(sourceField);
      return true;
    case control::captureTarget:
      startCapture(targetField);
      return true;
    case control::newRow:
      newRow();
      return true;
    case control::removeRow:
      if (selectedSource != noKey) changeRow(true);
      return true;
    case control::addLayer:
      addLayer();
      return true;
    case control::removeLayer:
      removeLayer();
      return true;
    case control::holdCheck:
      if (notification == BN_CLICKED) holdToggled();
      return true;
    case control::delayInput:
    case control::holdInput:
      if (notification == EN_CHANGE) inputEdited(timingEdited);
      return true;
    case control::mouseTime:
    case control::mouseGuard:
    case control::mouseOn:
    case control::mouseOff:
      if (notification == EN_CHANGE || notification == CBN_SELCHANGE ||
          (id == control::mouseGuard && notification == BN_CLICKED))
        inputEdited(mouseEdited);
      return true;
  }
  if (isCheck(id)) {
    if (notification == BN_CLICKED) changeRow(false);
    return true;
  }
  return false;
}

}  // namespace quillon
