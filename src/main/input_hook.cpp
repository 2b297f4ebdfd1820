#include "main/input_hook.h"

#include <array>
#include <exception>
#include <string>
#include <string_view>

#include "layers/profile.h"
#include "layers/value_error.h"
#include "main/handles.h"
#include "main/hook_keeper.h"
#include "main/hook_logic.h"
#include "main/ids.h"
#include "main/profile_store.h"
#include "main/sender.h"
#include "main/settings_window.h"
#include "main/win_text.h"

namespace quillon {

Engine board = keyboard(Layout{});
bool boardFromCurrent = false;
std::int32_t captureField = 0;
std::int32_t capturedKey = 0;

namespace {

constexpr DWORD imagePathCapacity = 32768;

bool layersActive = false;
UniqueHook layersHook;

// The foreground program as of the last foreground change. Its file name is
// kept in UTF-8 beside the path, so that the hook only compares a process id.
DWORD foregroundPid = 0;
std::array<wchar_t, imagePathCapacity> foregroundPath{};
std::string foregroundName;

// What the hook asks of Windows.
struct WindowsSystem {
  bool stopping() const { return quillon::stopping.load(std::memory_order_relaxed) != 0; }
  bool captureWindowInFront() const { return window != nullptr && GetForegroundWindow() == window; }
  void postCaptured(int field, std::uint32_t vk) const {
    PostMessageW(window, keyCapturedMsg, static_cast<WPARAM>(field), static_cast<LPARAM>(vk));
  }
  bool producesCharacter(std::uint32_t vk) const {
    return MapVirtualKeyW(vk, MAPVK_VK_TO_CHAR) != 0;
  }
  bool ctrlDown() const { return GetAsyncKeyState(VK_CONTROL) < 0; }
  bool altDown() const { return GetAsyncKeyState(VK_MENU) < 0; }
  // The cached name is trusted only while the same process is in front.
  std::string_view foregroundName() const {
    DWORD pid = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &pid);
    return pid == foregroundPid ? std::string_view(quillon::foregroundName) : std::string_view();
  }
  void emit(KeyCode code, bool down) const { quillon::emit(code, down); }
};

bool swallows(const KBDLLHOOKSTRUCT& info) noexcept {
  try {
    const HookEvent event{info.vkCode, (info.flags & LLKHF_INJECTED) != 0,
                          (info.flags & LLKHF_UP) != 0, info.time};
    WindowsSystem system;
    return hookSwallows(board, captureField, capturedKey, event, system);
  } catch (...) {
    return false;
  }
}

bool registerMouse(DWORD flags, HWND target) {
  RAWINPUTDEVICE device{};
  device.usUsagePage = 1;
  device.usUsage = 2;
  device.dwFlags = flags;
  device.hwndTarget = target;
  return RegisterRawInputDevices(&device, 1, sizeof(device)) != 0;
}

std::wstring_view fileNamePart(std::wstring_view image) {
  const auto slash = image.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? image : image.substr(slash + 1);
}

}  // namespace

LRESULT CALLBACK keyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto& info = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    hookSawKey(info.time);
    if (swallows(info)) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK refreshForeground(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  DWORD pid = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &pid);
  foregroundPath[0] = L'\0';
  DWORD length = 0;
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (process) {
    length = imagePathCapacity;
    if (!QueryFullProcessImageNameW(process.get(), 0, foregroundPath.data(), &length)) length = 0;
    foregroundPath[length] = L'\0';
  }
  try {
    foregroundName = narrow(fileNamePart(std::wstring_view(foregroundPath.data(), length)));
  } catch (...) {
    // Without a name no Exclude entry matches, so layers work there.
    foregroundName.clear();
  }
  foregroundPid = pid;
}

void rawMouse(LPARAM lParam) {
  static_assert(sizeof(RAWINPUTHEADER) == 24 && sizeof(RAWINPUT) == 48);
  RAWINPUT report;
  UINT size = sizeof(report);
  if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &report, &size,
                      sizeof(RAWINPUTHEADER)) != sizeof(report)) {
    return;
  }
  if (report.header.dwType != RIM_TYPEMOUSE) return;
  const bool moved = report.data.mouse.lLastX != 0 || report.data.mouse.lLastY != 0;
  if (!moved && report.data.mouse.usButtonFlags == 0) return;
  mouseEvent(board, moved, static_cast<std::uint32_t>(GetMessageTime()));
}

bool enableLayers() {
  if (layersActive) return true;
  layersHook.reset(SetWindowsHookExW(WH_KEYBOARD_LL, keyboardHook, GetModuleHandleW(nullptr), 0));
  if (!layersHook) return false;
  if (!registerMouse(RIDEV_INPUTSINK, window)) {
    layersHook.reset();
    return false;
  }
  watchKeyboard(window);
  layersActive = true;
  qlnResetKeyboard();
  return true;
}

void disableLayers() {
  if (!layersActive && !layersHook) return;
  layersActive = false;
  layersHook.reset();
  registerMouse(RIDEV_REMOVE, nullptr);
  unwatchKeyboard();
  if (senderId != 0) PostThreadMessageW(senderId, releaseAllMsg, 0, 0);
  qlnResetKeyboard();
}

bool layersEnabled() { return layersActive; }

#ifdef QUILLON_TEST_BUILD
void dropHookForTest() { UnhookWindowsHookEx(layersHook.get()); }
#endif

void qlnResetKeyboard() {
  if (!boardFromCurrent) return;
  try {
    board = keyboard(layout(current));
  } catch (const ValueError&) {
    // The engine stays as it was.
  }
}

}  // namespace quillon
