#include "main/autostart.h"

#include <windows.h>

#include <new>

#include "main/apply_profile.h"
#include "main/profile_store.h"
#include "main/run_value.h"
#include "main/settings_window.h"
#include "main/win_text.h"

namespace quillon {

namespace {

constexpr const wchar_t* runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* runValue = L"Quillon";

static_assert(sizeof(wchar_t) == sizeof(char16_t));

int removeRunValue() {
  const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, runKey, runValue);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : 1;
}

int writeRunValue() {
  std::wstring data(runDataCapacity, L'\0');
  data[0] = L'"';
  const DWORD length =
      GetModuleFileNameW(nullptr, data.data() + 1, static_cast<DWORD>(modulePathCapacity));
  if (!wholeModulePath(length)) return 1;
  data[length + 1] = L'"';
  const std::size_t quoted = length + 2;
  const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, runKey, runValue, REG_SZ, data.data(),
                                         runDataBytes(quoted));
  return status == ERROR_SUCCESS ? 0 : 1;
}

// The editor's whole text; nothing when it cannot be copied.
std::optional<std::wstring> editorCopy() {
  try {
    if (editor == nullptr) return std::wstring();
    const int length = GetWindowTextLengthW(editor);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(editor, text.data(), length + 1)));
    return text;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace

bool runValueExists() {
  DWORD size = 0;
  const LSTATUS status =
      RegGetValueW(HKEY_CURRENT_USER, runKey, runValue, RRF_RT_REG_SZ, nullptr, nullptr, &size);
  return status == ERROR_SUCCESS && runValueCounts(size);
}

int setStartup(bool enable) {
  return enable ? writeRunValue() : removeRunValue();
}

void configureStartup() {
  if (setStartup(startupEnabled) == 0) return;
  showError(window, tr("Не удалось настроить автозапуск.", "Could not configure startup."));
}

std::optional<std::wstring> toggleStartup(std::wstring_view editorText, int enable) {
  WindowsProfile system;
  const std::optional<std::string> result =
      toggleStartup(narrow(editorText), enable != 0, profileInForce(), system);
  if (!result) return std::nullopt;
  return wide(*result);
}

void startupToggleCommand() {
  const std::optional<std::wstring> text = editorCopy();
  if (!text) {
    showError(window, uiText(TextId::outOfMemory));
    return;
  }
  const bool modified = editor != nullptr && SendMessageW(editor, EM_GETMODIFY, 0, 0) != 0;
  const std::optional<std::wstring> result = toggleStartup(*text, runValueExists() ? 0 : 1);
  // A hidden window reloads its editor from `current` when it is shown next.
  if (!result || editor == nullptr || !IsWindowVisible(window)) return;
  SetWindowTextW(editor, result->c_str());
  // The toggle is saved already, so it neither marks the draft modified nor
  // clears the mark of unsaved edits.
  SendMessageW(editor, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

}  // namespace quillon
