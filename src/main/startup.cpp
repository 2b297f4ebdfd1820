#include "main/startup.h"

#include <commctrl.h>
#include <shobjidl.h>

#include <exception>
#include <string>

#include "layers/profile.h"
#include "localization/language.h"
#include "main/autostart.h"
#include "main/handles.h"
#include "main/ids.h"
#include "main/input_hook.h"
#include "main/profile_store.h"
#include "main/profile_text.h"
#include "main/self_check.h"
#include "main/sender.h"
#include "main/settings_window.h"
#include "main/tray.h"
#include "main/win_text.h"

namespace quillon {

UINT reopen = 0;

namespace {

// What start-up creates and shutdown releases, beside the globals of the
// window, the hooks, the sender and the tray.
struct Session {
  UniqueHandle mutex;
  HINSTANCE instance = nullptr;
  const wchar_t* className = settingsClass;
  UniqueIcon largeIcon;
  UniqueIcon smallIcon;
  WindowClass windowClass;
  UniqueWinEventHook foregroundHook;
};

constexpr int started = 0;
constexpr int failed = 1;
constexpr int noWindow = 2;

// Reads, creates and parses the profile and builds the engine. On failure a
// normal run tells the user and goes on with no layers; the self-check only fails.
bool loadProfile(bool smoke) {
  try {
    std::string text;
    if (readProfile(text)) {
      current = std::move(text);
    } else if (!smoke) {
      writeDefaultProfile();
    }
    // Chosen before parsing, so a profile that fails to parse still picks the
    // language of its error message.
    qlnSetUiLanguage(languageFromIni(current) ? english : russian);
    Layout parsed = layout(current);
    startupEnabled = parsed.options.startup;
    board = keyboard(std::move(parsed));
    boardFromCurrent = true;
    return true;
  } catch (const std::exception& error) {
    if (!smoke) {
      showError(nullptr, error.what() + tr("\nИсправьте профиль через значок в трее.",
                                           "\nFix the profile via the tray icon."));
    }
    return false;
  }
}

HICON loadIcon(HINSTANCE instance, int width, int height) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(programIcon), IMAGE_ICON,
                                       GetSystemMetrics(width), GetSystemMetrics(height),
                                       LR_DEFAULTCOLOR));
}

bool registerClass(Session& session) {
  session.instance = GetModuleHandleW(nullptr);
  session.largeIcon.reset(loadIcon(session.instance, SM_CXICON, SM_CYICON));
  session.smallIcon.reset(loadIcon(session.instance, SM_CXSMICON, SM_CYSMICON));
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  if (!InitCommonControlsEx(&controls) || !session.largeIcon || !session.smallIcon) return false;
  SetCurrentProcessExplicitAppUserModelID(appUserModelId);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = settingsProc;
  windowClass.hInstance = session.instance;
  windowClass.hIcon = session.largeIcon.get();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = session.className;
  if (!RegisterClassW(&windowClass)) return false;
  session.windowClass = WindowClass(session.className, session.instance);
  return true;
}

bool createWindow(Session& session) {
  window = CreateWindowExW(0, session.className, uiText(TextId::windowTitle), settingsStyle,
                           CW_USEDEFAULT, CW_USEDEFAULT, settingsWidth, settingsHeight, nullptr,
                           nullptr, session.instance, nullptr);
  if (window == nullptr) return false;
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(session.largeIcon.get()));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(session.smallIcon.get()));
  return true;
}

bool trackForeground(Session& session) {
  session.foregroundHook.reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND,
                                               nullptr, refreshForeground, 0, 0,
                                               WINEVENT_OUTOFCONTEXT));
  if (!session.foregroundHook) return false;
  refreshForeground(nullptr, 0, nullptr, 0, 0, 0, 0);
  return true;
}

// Window, sender, hooks and tray icon, each step only after the one before it
// succeeded.
bool build(Session& session) {
  if (!registerClass(session) || !createWindow(session)) return false;
  hookOwner = GetCurrentThreadId();
  return startSender() && trackForeground(session) && enableLayers() &&
         addTray(session.smallIcon.get());
}

int messageLoop() {
  MSG message;
  for (;;) {
    const BOOL result = GetMessageW(&message, nullptr, 0, 0);
    if (result == 0) return started;
    if (result == -1) return failed;
    // Tab and the arrow keys move between the settings window's controls.
    if (IsWindowVisible(window) && IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Releases everything start-up created, in this order, whether it completed
// or not; each step acts only on what exists.
void shutdown(Session& session) {
  disableLayers();
  session.foregroundHook.reset();
  stopSender();
  deleteTray();
  if (IsWindow(window)) DestroyWindow(window);
  window = nullptr;
  session.windowClass.reset();
  session.smallIcon.reset();
  session.largeIcon.reset();
  session.mutex.reset();
}

int failureReport(bool smoke, int status) {
  if (!smoke) {
    showError(nullptr, tr("Ошибка запуска Quillon (", "Quillon failed to start (") +
                           std::to_string(status) + ")");
  }
  return 1;
}

}  // namespace

int run(bool smoke) {
  Session session;
  if (smoke) silenceErrors();
  locateProfile();
  if (!loadProfile(smoke) && smoke) return 1;

  session.className = smoke ? testClass : settingsClass;
  session.mutex.reset(CreateMutexW(nullptr, FALSE, smoke ? nullptr : mutexName));
  if (!session.mutex) return failureReport(smoke, failed);
  const DWORD mutexError = GetLastError();
  reopen = RegisterWindowMessageW(openMessageName);
  const HWND first = FindWindowW(session.className, nullptr);
  if (mutexError == ERROR_ALREADY_EXISTS) {
    session.mutex.reset();
    if (first == nullptr) return failureReport(smoke, noWindow);
    // The running instance shows its window; this one has nothing more to do.
    PostMessageW(first, reopen, 0, 0);
    return 0;
  }

  int status = failed;
  if (build(session)) {
    if (smoke) {
      // The self-check's last step posts Exit, which ends the loop.
      if (selfCheck(session.largeIcon.get())) status = messageLoop();
    } else {
      // The Run value follows the profile at every normal start, so an
      // enabled one names the executable that runs now.
      configureStartup();
      status = messageLoop();
    }
  }
  shutdown(session);
  return status == started ? 0 : failureReport(smoke, status);
}

}  // namespace quillon
