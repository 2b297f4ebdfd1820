#include "main/about.h"

#include <shellapi.h>

#include <array>
#include <exception>
#include <string>

#include "localization/texts.h"
#include "main/about_text.h"
#include "main/settings_window.h"
#include "main/win_text.h"

namespace quillon {

namespace {

constexpr int labelCapacity = 64;

// The open About window. The tray still answers while the dialog is open, and
// a second About would stack a second modal loop on the first.
HWND aboutDialog = nullptr;

const wchar_t* asWide(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}

void openLink(HWND dialog, const char16_t* target) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(dialog, L"open", asWide(target), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) showError(dialog, uiText(TextId::linkError));
}

INT_PTR handleMessage(HWND dialog, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_INITDIALOG:
      aboutDialog = dialog;
      localizeAbout(dialog);
      return TRUE;
    case WM_NCDESTROY:
      if (aboutDialog == dialog) aboutDialog = nullptr;
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        case messengerButton:
          openLink(dialog, messengerLink.data());
          return TRUE;
        case emailButton:
          openLink(dialog, emailLink.data());
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

void localizeAbout(HWND dialog) {
  SetWindowTextW(dialog, uiText(TextId::aboutTitle));
  std::array<wchar_t, labelCapacity> label{};
  GetDlgItemTextW(dialog, versionLabel, label.data(), labelCapacity);
  const std::u16string_view version = versionIn(reinterpret_cast<const char16_t*>(label.data()));
  std::wstring shown = std::wstring(uiText(TextId::aboutVersion)) + L" ";
  shown.append(version.begin(), version.end());
  SetDlgItemTextW(dialog, versionLabel, shown.c_str());
  SetDlgItemTextW(dialog, messengerButton, uiText(TextId::aboutTelegram));
  SetDlgItemTextW(dialog, emailButton, uiText(TextId::aboutEmail));
  SetDlgItemTextW(dialog, IDOK, uiText(TextId::aboutClose));
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  try {
    return handleMessage(dialog, message, wParam);
  } catch (const std::exception&) {
    // Only the texts can fail (no memory); the dialog then keeps those of its template.
    return message == WM_INITDIALOG ? TRUE : FALSE;
  }
}

void openAbout() {
  if (aboutDialog != nullptr) {
    SetForegroundWindow(aboutDialog);
    return;
  }
  const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(aboutTemplate),
                                         window, aboutProc, 0);
  if (result == -1) showError(window, uiText(TextId::aboutError));
}

}  // namespace quillon
