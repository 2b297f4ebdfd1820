// winhelper.exe: what the Wine tests need from inside Windows. xdotool cannot
// see windows inside Wine's virtual desktop, so finding, focusing and talking
// to Quillon's windows happens here. Every wait is bounded and every message
// goes through SendMessageTimeoutW, so a hung program fails a test instead of
// hanging it.
//
// Exit codes: 0 done, 1 the condition did not hold in time, 2 bad usage.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "driver_text.h"

namespace {

using wine_test::className;
using wine_test::say;
using wine_test::utf8;

constexpr DWORD pollMs = 20;
constexpr DWORD defaultTimeoutMs = 10000;

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using unique_handle = std::unique_ptr<void, HandleCloser>;

void complain(const std::string& line) {
  std::fputs(("winhelper: " + line + "\n").c_str(), stderr);
}

std::optional<unsigned long long> number(const std::wstring& text) {
  if (text.empty()) return std::nullopt;
  wchar_t* end = nullptr;
  unsigned long long value = std::wcstoull(text.c_str(), &end, 0);
  if (*end != L'\0') return std::nullopt;
  return value;
}

// Polls until `done` holds or the time is up; true when it held.
template <typename Done>
bool waitFor(DWORD timeoutMs, Done done) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(pollMs);
  }
}

std::string windowId(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return text;
}

HWND findWindow(const std::wstring& windowClass) {
  return FindWindowW(windowClass.c_str(), nullptr);
}

int waitWindow(const std::wstring& windowClass, DWORD timeoutMs) {
  HWND found = nullptr;
  if (!waitFor(timeoutMs, [&] { return (found = findWindow(windowClass)) != nullptr; })) {
    complain("no window of class " + utf8(windowClass));
    return 1;
  }
  say(windowId(found));
  return 0;
}

int waitGone(const std::wstring& windowClass, DWORD timeoutMs) {
  if (!waitFor(timeoutMs, [&] { return findWindow(windowClass) == nullptr; })) {
    complain("a window of class " + utf8(windowClass) + " is still there");
    return 1;
  }
  return 0;
}

int focus(const std::wstring& windowClass, DWORD timeoutMs) {
  HWND window = nullptr;
  bool focused = waitFor(timeoutMs, [&] {
    window = findWindow(windowClass);
    if (window == nullptr) return false;
    SetForegroundWindow(window);
    return GetForegroundWindow() == window;
  });
  if (!focused) {
    complain("could not bring a window of class " + utf8(windowClass) + " to the foreground");
    return 1;
  }
  return 0;
}

int foreground() {
  HWND window = GetForegroundWindow();
  if (window == nullptr) {
    complain("no foreground window");
    return 1;
  }
  say(utf8(className(window)));
  return 0;
}

int sendMessage(const std::wstring& windowClass, UINT message, WPARAM wParam, LPARAM lParam,
                DWORD timeoutMs) {
  HWND window = findWindow(windowClass);
  if (window == nullptr) {
    complain("no window of class " + utf8(windowClass));
    return 1;
  }
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                           timeoutMs, &result)) {
    complain("the window did not answer in time");
    return 1;
  }
  say(std::to_string(static_cast<long long>(result)));
  return 0;
}

int postMessage(const std::wstring& windowClass, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = findWindow(windowClass);
  if (window == nullptr || !PostMessageW(window, message, wParam, lParam)) {
    complain("could not post to a window of class " + utf8(windowClass));
    return 1;
  }
  return 0;
}

// Keeps `path` open without sharing until `release` exists, so that nothing
// else can open, replace or delete it meanwhile (as a locked file on Windows).
int holdFile(const std::wstring& path, const std::wstring& release, DWORD timeoutMs) {
  HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) {
    complain("cannot open " + utf8(path) + " (error " + std::to_string(GetLastError()) + ")");
    return 1;
  }
  unique_handle file(opened);
  say("held");
  bool released = waitFor(
      timeoutMs, [&] { return GetFileAttributesW(release.c_str()) != INVALID_FILE_ATTRIBUTES; });
  if (!released) complain("never told to let go of " + utf8(path));
  return released ? 0 : 1;
}

struct ModuleFreer {
  void operator()(HMODULE m) const { FreeLibrary(m); }
};
using unique_module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

struct IconDestroyer {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using unique_icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

struct ObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using unique_bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDeleter>;

// An executable's resources, without running it.
unique_module openResources(const std::wstring& path) {
  return unique_module(LoadLibraryExW(path.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

std::string_view resourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type) {
  HRSRC found = FindResourceW(module, name, type);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) return {};
  return {static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found)};
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

// One line per image of the icon group: its declared size and depth, then
// what LoadImageW, as the program calls it, makes of a request for that size:
// the size and depth it returns and the alpha of a corner and of the centre.
int icons(const std::wstring& path, WORD group) {
  unique_module module = openResources(path);
  if (!module) {
    complain("cannot open " + utf8(path));
    return 1;
  }
  std::string_view directory = resourceBytes(module.get(), MAKEINTRESOURCEW(group), RT_GROUP_ICON);
  if (directory.size() < 6) {
    complain("no icon group " + std::to_string(group));
    return 1;
  }
  WORD count = *reinterpret_cast<const WORD*>(directory.data() + 4);
  if (directory.size() < 6 + count * sizeof(GroupIconEntry)) {
    complain("icon group " + std::to_string(group) + " is cut short");
    return 1;
  }
  for (WORD i = 0; i < count; ++i) {
    GroupIconEntry entry;
    std::memcpy(&entry, directory.data() + 6 + i * sizeof entry, sizeof entry);
    int side = entry.width == 0 ? 256 : entry.width;
    std::string line = std::to_string(side) + "x" +
                       std::to_string(entry.height == 0 ? 256 : entry.height) + " " +
                       std::to_string(entry.bitCount) + "bpp:";
    unique_icon icon(static_cast<HICON>(LoadImageW(module.get(), MAKEINTRESOURCEW(group),
                                                   IMAGE_ICON, side, side, LR_DEFAULTCOLOR)));
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon.get(), &info)) {
      say(line + " not loaded");
      continue;
    }
    unique_bitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectW(colour.get(), sizeof bitmap, &bitmap);
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = bitmap.bmWidth;
    request.bmiHeader.biHeight = -bitmap.bmHeight;  // top row first
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, colour.get(), 0, bitmap.bmHeight, pixels.data(), &request,
                         DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    auto alpha = [&](int x, int y) { return std::to_string(pixels[y * bitmap.bmWidth + x] >> 24); };
    line += " loaded " + std::to_string(bitmap.bmWidth) + "x" + std::to_string(bitmap.bmHeight) +
            " " + std::to_string(bitmap.bmBitsPixel) + "bpp";
    if (rows == bitmap.bmHeight)
      line += ", alpha corner " + alpha(0, 0) + " centre " +
              alpha(bitmap.bmWidth / 2, bitmap.bmHeight / 2);
    say(line);
  }
  return 0;
}

int manifest(const std::wstring& path) {
  unique_module module = openResources(path);
  std::string_view text =
      module ? resourceBytes(module.get(), MAKEINTRESOURCEW(1), RT_MANIFEST) : std::string_view();
  if (text.empty()) {
    complain("no manifest in " + utf8(path));
    return 1;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

constexpr const char* usage =
    "usage: winhelper COMMAND ...\n"
    "  wait-window CLASS [TIMEOUT_MS]   wait for a top-level window; print its handle\n"
    "  wait-gone CLASS [TIMEOUT_MS]     wait until no window of the class is left\n"
    "  focus CLASS [TIMEOUT_MS]         bring the window to the foreground\n"
    "  foreground                       print the class of the foreground window\n"
    "  send CLASS MSG WPARAM LPARAM [TIMEOUT_MS]   SendMessageTimeoutW; print the result\n"
    "  post CLASS MSG WPARAM LPARAM     PostMessageW\n"
    "  hold-file PATH RELEASE [TIMEOUT_MS]   open PATH unshared, print \"held\", keep it\n"
    "                                   open until the file RELEASE exists\n"
    "  icons EXE ID                     list the images of an icon group and load each\n"
    "  manifest EXE                     print the manifest resource\n"
    "Numbers are decimal or 0x hexadecimal; the default timeout is 10000 ms.\n";

int run(const std::vector<std::wstring>& args) {
  auto arg = [&](size_t i) { return i < args.size() ? args[i] : std::wstring(); };
  auto count = [&](size_t required, size_t optional) {
    return args.size() >= required + 1 && args.size() <= required + optional + 1;
  };
  // Missing optional numbers take their defaults; a malformed one is bad usage.
  auto numberAt = [&](size_t i, unsigned long long fallback) -> std::optional<unsigned long long> {
    return i < args.size() ? number(args[i]) : fallback;
  };
  const std::wstring command = arg(0);

  if ((command == L"wait-window" || command == L"wait-gone" || command == L"focus") &&
      count(1, 1)) {
    auto timeout = numberAt(2, defaultTimeoutMs);
    if (!timeout) return 2;
    DWORD ms = static_cast<DWORD>(*timeout);
    if (command == L"wait-window") return waitWindow(arg(1), ms);
    if (command == L"wait-gone") return waitGone(arg(1), ms);
    return focus(arg(1), ms);
  }
  if (command == L"foreground" && count(0, 0)) return foreground();
  if ((command == L"send" && count(4, 1)) || (command == L"post" && count(4, 0))) {
    auto message = number(arg(2));
    auto wParam = number(arg(3));
    auto lParam = number(arg(4));
    auto timeout = numberAt(5, defaultTimeoutMs);
    if (!message || !wParam || !lParam || !timeout) return 2;
    if (command == L"post")
      return postMessage(arg(1), static_cast<UINT>(*message), static_cast<WPARAM>(*wParam),
                         static_cast<LPARAM>(*lParam));
    return sendMessage(arg(1), static_cast<UINT>(*message), static_cast<WPARAM>(*wParam),
                       static_cast<LPARAM>(*lParam), static_cast<DWORD>(*timeout));
  }
  if (command == L"hold-file" && count(2, 1)) {
    auto timeout = numberAt(3, defaultTimeoutMs);
    if (!timeout) return 2;
    return holdFile(arg(1), arg(2), static_cast<DWORD>(*timeout));
  }
  if (command == L"icons" && count(2, 0)) {
    auto group = number(arg(2));
    if (!group) return 2;
    return icons(arg(1), static_cast<WORD>(*group));
  }
  if (command == L"manifest" && count(1, 0)) return manifest(arg(1));
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  int code = run(args);
  if (code == 2) std::fputs(usage, stderr);
  return code;
}
