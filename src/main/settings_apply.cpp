#include "main/settings_apply.h"

#include <shellapi.h>

#include <array>
#include <cwchar>
#include <new>
#include <string>

#include "localization/language.h"
#include "main/apply_profile.h"
#include "main/input_hook.h"
#include "main/profile_store.h"
#include "main/settings_ui.h"
#include "main/settings_window.h"
#include "main/tray.h"
#include "main/win_text.h"

namespace quillon {

namespace {

constexpr std::array<TextId, 4> headingTexts{TextId::layerKeysHeading, TextId::bindingsHeading,
                                             TextId::sourceHeading, TextId::targetHeading};
constexpr std::array<TextId, 3> mouseLabelTexts{TextId::mouseTimeoutLabel, TextId::mouseEnableLabel,
                                                TextId::mouseDisableLabel};

bool modified() {
  return editor != nullptr && SendMessageW(editor, EM_GETMODIFY, 0, 0) != 0;
}

void label(HWND control, TextId id) {
  SetWindowTextW(control, uiText(id));
}

// Timing and mouse input that is still only in the inputs goes into the draft.
bool writePendingInput() {
  if (advanced) return true;
  if (timingEdited && !applyTiming()) return false;
  return !mouseEdited || writeMouseOptions();
}

void markLanguage() {
  const bool inEnglish = qlnUiLanguage() == english;
  SendMessageW(controls.languageRu, BM_SETCHECK, inEnglish ? BST_UNCHECKED : BST_CHECKED, 0);
  SendMessageW(controls.languageEn, BM_SETCHECK, inEnglish ? BST_CHECKED : BST_UNCHECKED, 0);
}

void relabelControls() {
  const SettingsControls& c = controls;
  label(c.delayLabel, TextId::delayLabel);
  label(c.holdCheck, TextId::holdCheck);
  label(c.mouseGuard, TextId::mouseGuard);
  for (std::size_t i = 0; i < c.headings.size(); ++i) label(c.headings[i], headingTexts[i]);
  label(c.layerAdd, TextId::layerAdd);
  label(c.layerRemove, TextId::layerRemove);
  for (std::size_t i = 0; i < c.mouseLabels.size(); ++i)
    label(c.mouseLabels[i], mouseLabelTexts[i]);
  // A capture still waiting keeps asking for its key, now in the new language.
  for (std::size_t i = 0; i < c.captureButtons.size(); ++i) {
    const bool waiting = captureField == static_cast<std::int32_t>(i + 1);
    label(c.captureButtons[i], waiting ? TextId::pressKey : TextId::setKey);
    InvalidateRect(c.captureButtons[i], nullptr, TRUE);
  }
  label(c.newButton, TextId::newBinding);
  label(c.removeButton, TextId::removeBinding);
  label(c.saveButton, TextId::save);
  label(c.closeButton, TextId::close);
}

void relabelWindowAndTray() {
  SetWindowTextW(window, uiText(TextId::windowTitle));
  wcsncpy(tray.szTip, uiText(TextId::windowTitle), std::size(tray.szTip) - 1);
  Shell_NotifyIconW(NIM_MODIFY, &tray);
}

void switchLanguage(int language) {
  if (language == qlnUiLanguage()) {
    markLanguage();
    return;
  }
  qlnSetUiLanguage(language);
  // The switch holds even when the file cannot take it; the user was told.
  qlnStoreUiLanguage(language);
  applyLanguage();
}

}  // namespace

bool saveDraft() {
  if (!writePendingInput()) return false;
  std::wstring draft;
  try {
    const int length = GetWindowTextLengthW(editor);
    draft.assign(static_cast<std::size_t>(length) + 1, L'\0');
    draft.resize(static_cast<std::size_t>(GetWindowTextW(editor, draft.data(), length + 1)));
  } catch (const std::bad_alloc&) {
    showError(window, uiText(TextId::outOfMemory));
    return false;
  }
  if (!saveConfig(draft)) return false;
  mouseEdited = 0;
  SendMessageW(editor, EM_SETMODIFY, FALSE, 0);
  // A draft repaired as text goes back to the lists as soon as it lists.
  if (advanced) {
    selectedSource = selectedLayer = noKey;
    mode(!reloadRows());
  }
  return true;
}

bool confirmDiscard() {
  if (!modified()) return true;
  return MessageBoxW(window, uiText(TextId::discardChanges), L"Quillon",
                     MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

void closeSettings(HWND hwnd) {
  if (!confirmDiscard()) return;
  // The next opening reloads the saved profile, which discards the draft.
  if (editor != nullptr) SendMessageW(editor, EM_SETMODIFY, FALSE, 0);
  ShowWindow(hwnd, SW_HIDE);
}

void applyLanguage() {
  buildDisplayNames();
  fillKeyCombos();
  relabelControls();
  markLanguage();
  if (!advanced && GetWindowTextLengthW(editor) > 0) reloadRows();
  RECT client{};
  GetClientRect(window, &client);
  positionLists(client.right, client.bottom);
  relabelWindowAndTray();
  // The section captions are painted, not controls.
  InvalidateRect(window, nullptr, TRUE);
}

bool applyCommand(WORD id, WORD notification) {
  switch (id) {
    case control::save:
      saveDraft();
      return true;
    case control::languageRu:
    case control::languageEn:
      if (notification == BN_CLICKED) switchLanguage(id == control::languageEn ? english : russian);
      return true;
  }
  return false;
}

}  // namespace quillon
