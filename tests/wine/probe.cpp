// probe.exe: the program the end-to-end tests type into. It fills the virtual
// desktop with one window and logs every key, character and mouse-button
// message it receives, one line each, so a test can compare what arrived with
// what it expects:
//   d:0x21 / u:0x21        key down / up with its virtual-key code
//   c:0x68                 a character (UTF-16 code unit)
//   m:left-down, m:x2-up   a mouse button
//
// probe.exe log FILE               run the window and log into FILE
// probe.exe visible CLASS [MS]     wait until a window of CLASS is visible
// probe.exe texts CLASS            print the texts of the window's children
// probe.exe tray-icon CLASS        whether the window has its tray icon (id 1)
// probe.exe hold-mutex NAME MS     own the named mutex for MS milliseconds
// Exit codes: 0 done, 1 the condition did not hold in time, 2 bad usage.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

constexpr const wchar_t* probeClass = L"Quillon.Probe";
FILE* logFile = nullptr;

void logLine(const char* kind, unsigned value) {
  std::fprintf(logFile, "%s:0x%02X\n", kind, value);
  std::fflush(logFile);
}

void logButton(const char* button, bool down) {
  std::fprintf(logFile, "m:%s-%s\n", button, down ? "down" : "up");
  std::fflush(logFile);
}

const char* xButton(WPARAM wParam) {
  return HIWORD(wParam) == XBUTTON1 ? "x1" : "x2";
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      logLine("d", static_cast<unsigned>(wParam));
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      logLine("u", static_cast<unsigned>(wParam));
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      logLine("c", static_cast<unsigned>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      logButton("left", message == WM_LBUTTONDOWN);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      logButton("right", message == WM_RBUTTONDOWN);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      logButton("middle", message == WM_MBUTTONDOWN);
      return 0;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
      logButton(xButton(wParam), message == WM_XBUTTONDOWN);
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int logWindow(const wchar_t* path) {
  logFile = _wfopen(path, L"w");
  if (logFile == nullptr) return 2;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = probeProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = probeClass;
  if (!RegisterClassW(&windowClass)) return 2;
  HWND window = CreateWindowExW(0, probeClass, L"probe", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 2;
  SetForegroundWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  std::fclose(logFile);
  return 0;
}

int waitVisible(const wchar_t* windowClass, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowW(windowClass, nullptr);
    if (window != nullptr && IsWindowVisible(window)) return 0;
    if (GetTickCount() - start >= timeoutMs) return 1;
    Sleep(20);
  }
}

BOOL CALLBACK printText(HWND child, LPARAM) {
  wchar_t text[1024] = {};
  GetWindowTextW(child, text, 1024);
  char utf8[4096] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  std::printf("%s\n", utf8);
  return TRUE;
}

int printTexts(const wchar_t* windowClass) {
  HWND window = FindWindowW(windowClass, nullptr);
  if (window == nullptr) return 1;
  EnumChildWindows(window, printText, 0);
  std::fflush(stdout);
  return 0;
}

// The shell accepts a change only to an icon it holds, so an empty
// NIM_MODIFY asks whether the icon is there without changing it.
int hasTrayIcon(const wchar_t* windowClass) {
  HWND window = FindWindowW(windowClass, nullptr);
  if (window == nullptr) return 1;
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof(icon);
  icon.hWnd = window;
  icon.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &icon) ? 0 : 1;
}

int holdMutex(const wchar_t* name, DWORD ms) {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, name);
  if (mutex == nullptr) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  Sleep(ms);
  CloseHandle(mutex);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"log" && argc == 3) return logWindow(argv[2]);
  if (command == L"visible" && (argc == 3 || argc == 4)) {
    return waitVisible(argv[2], argc == 4 ? wcstoul(argv[3], nullptr, 10) : 10000);
  }
  if (command == L"texts" && argc == 3) return printTexts(argv[2]);
  if (command == L"tray-icon" && argc == 3) return hasTrayIcon(argv[2]);
  if (command == L"hold-mutex" && argc == 4)
    return holdMutex(argv[2], wcstoul(argv[3], nullptr, 10));
  std::fputs(
      "usage: probe log FILE | visible CLASS [MS] | texts CLASS | tray-icon CLASS | hold-mutex "
      "NAME MS\n",
      stderr);
  return 2;
}
