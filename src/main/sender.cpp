#include "main/sender.h"

#include <array>

#include "main/handles.h"
#include "main/ids.h"
#include "main/output_event.h"

namespace quillon {

std::atomic<std::int32_t> stopping{0};
DWORD hookOwner = 0;
DWORD senderId = 0;

namespace {

static_assert(keyExtended == KEYEVENTF_EXTENDEDKEY && keyUp == KEYEVENTF_KEYUP);
static_assert(leftDown == MOUSEEVENTF_LEFTDOWN && leftUp == MOUSEEVENTF_LEFTUP);
static_assert(rightDown == MOUSEEVENTF_RIGHTDOWN && rightUp == MOUSEEVENTF_RIGHTUP);
static_assert(middleDown == MOUSEEVENTF_MIDDLEDOWN && middleUp == MOUSEEVENTF_MIDDLEUP);
static_assert(xDown == MOUSEEVENTF_XDOWN && xUp == MOUSEEVENTF_XUP);

constexpr DWORD senderStartWait = 3000;
constexpr DWORD senderStopWait = 1500;

UniqueHandle sender;
UniqueHandle senderReady;

// The sender's own record: the direction of the last event it injected for
// each code (1 down). Only the sender thread touches it.
std::array<std::uint8_t, 256> held{};

bool injectable(KeyCode code) {
  return code >= 1 && code <= 254;
}

bool inject(KeyCode code, bool down) {
  ScanCodes scan;
  if (!isMouseButton(code)) {
    const auto vk = static_cast<UINT>(code);
    scan = {MapVirtualKeyW(vk, MAPVK_VK_TO_VSC), MapVirtualKeyW(vk, MAPVK_VK_TO_VSC_EX)};
  }
  const InputFields fields = inputFields(code, down, scan);
  INPUT input{};
  if (fields.mouse) {
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = fields.flags;
    input.mi.mouseData = fields.mouseData;
  } else {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = fields.vk;
    input.ki.wScan = fields.scan;
    input.ki.dwFlags = fields.flags;
  }
  return SendInput(1, &input, sizeof(input)) != 0;
}

void releaseHeld() {
  for (KeyCode code = 1; code <= 254; ++code) {
    if (!held[code]) continue;
    sendOutput(code);
    held[code] = 0;
  }
}

// One output event; false when injection failed and the sender must stop.
bool send(WPARAM wParam, LPARAM lParam) {
  const auto code = static_cast<KeyCode>(static_cast<INT_PTR>(wParam));
  // Nothing outside 1..254 is a key or a button; such an event is dropped.
  if (!injectable(code)) return true;
  const bool down = lParam != 0;
  if (!inject(code, down)) return false;
  held[code] = down ? 1 : 0;
  return true;
}

}  // namespace

void emit(KeyCode code, bool down) {
  if (stopping.load(std::memory_order_relaxed)) return;
  if (PostThreadMessageW(senderId, sendKeyMsg, static_cast<WPARAM>(code), down ? 1 : 0)) return;
  stopping.exchange(1);
  PostQuitMessage(1);
}

void sendOutput(KeyCode code) {
  inject(code, false);
}

DWORD WINAPI sendLoop(void*) {
  held.fill(0);
  MSG message;
  // The queue exists from this call on, so nothing posted after the event is lost.
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  SetEvent(senderReady.get());
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == releaseAllMsg) {
      releaseHeld();
    } else if (message.message == sendKeyMsg && !send(message.wParam, message.lParam)) {
      stopping.exchange(1);
      PostThreadMessageW(hookOwner, WM_QUIT, 0, 0);
      break;
    }
  }
  // The sender releases what it holds before it quits.
  releaseHeld();
  return 0;
}

bool startSender() {
  senderReady.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!senderReady) return false;
  sender.reset(CreateThread(nullptr, 0, sendLoop, nullptr, 0, &senderId));
  if (!sender) return false;
  return WaitForSingleObject(senderReady.get(), senderStartWait) == WAIT_OBJECT_0;
}

void stopSender() {
  if (sender) {
    PostThreadMessageW(senderId, WM_QUIT, 0, 0);
    WaitForSingleObject(sender.get(), senderStopWait);
    sender.reset();
  }
  senderId = 0;
  senderReady.reset();
}

}  // namespace quillon
