// shell_driver.exe: watches what Quillon shows outside its settings window
// for the end-to-end tests: the About window and message boxes. Runs its
// arguments as a sequence of steps and prints what each one observes. Every
// wait is bounded and every message to the program is posted or sent with a
// time-out, so a hung or modal program fails a test instead of hanging it.
//
//   about                 wait for the About window; print its caption, style and
//                         every control: id, class, style, text, position and size
//                         in dialog units
//   about-count           print how many About windows are open
//   about-post MSG WPARAM post a message to the About window
//   about-gone            wait until no About window is left
//   post MSG WPARAM       post a message to the main window
//   boxes MS              for MS milliseconds print ("box: TEXT") and answer every
//                         message box of the program
//   answer ok|yes|no      how the next boxes are answered
//   run-value             print the Run value "Quillon" as stored: its type, its
//                         size in bytes and its text, or "absent"
//   sleep MS
//
// A first argument "any-process" watches every process, for boxes shown
// before the program has its window.
//
// Exit codes: 0 done, 1 a step failed, 2 bad usage.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "driver_text.h"

namespace {

using wine_test::className;
using wine_test::say;
using wine_test::utf8;

constexpr DWORD waitMs = 15000;
constexpr DWORD pollMs = 20;
constexpr const wchar_t* settingsClass = L"Brannock.Quillon.Settings";
constexpr int versionLabel = 304;
constexpr int messageBoxText = 0xFFFF;

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

DWORD program = 0;
int answer = IDOK;

std::wstring windowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

// The program's visible dialogs: About windows, or message boxes.
std::vector<HWND> dialogs(bool about) {
  struct Search {
    bool about;
    std::vector<HWND> found;
  } search{about, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(data);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if ((program != 0 && process != program) || !IsWindowVisible(window) ||
            className(window) != L"#32770")
          return TRUE;
        const bool isAbout = GetDlgItem(window, versionLabel) != nullptr;
        if (isAbout == search.about) search.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

template <typename Done>
bool waitFor(DWORD ms, Done done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= ms) return false;
    Sleep(pollMs);
  }
  return true;
}

// Dialog units from pixels. MapDialogRect works only inside the dialog's own
// process, so the scale comes from a dialog of this one in the About
// window's font, Segoe UI 9.
struct Units {
  int x;
  int y;
};

RECT fontScale() {
  std::vector<WORD> data(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(data.data());
  header->style = WS_POPUP | DS_SETFONT;
  data.insert(data.end(), {0, 0, 0, 9});  // no menu, class or title; 9 points
  for (const wchar_t* c = L"Segoe UI"; *c != L'\0'; ++c) data.push_back(*c);
  data.push_back(0);
  RECT scale{0, 0, 4000, 8000};
  HWND probe =
      CreateDialogIndirectW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(data.data()),
                            nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; });
  if (probe != nullptr) {
    MapDialogRect(probe, &scale);
    DestroyWindow(probe);
  }
  return scale;
}

Units units(int px, int py) {
  static const RECT scale = fontScale();
  return {static_cast<int>((px * 4000L + scale.right / 2) / scale.right),
          static_cast<int>((py * 8000L + scale.bottom / 2) / scale.bottom)};
}

bool shownIcon(HWND control) {
  DWORD_PTR icon = 0;
  SendMessageTimeoutW(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, waitMs, &icon);
  return icon != 0;
}

std::string describe(HWND dialog, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  const Units at = units(r.left, r.top);
  const Units size = units(r.right - r.left, r.bottom - r.top);
  char line[256];
  std::snprintf(line, sizeof line, "%d %s 0x%08lX %d,%d %dx%d ", GetDlgCtrlID(control),
                utf8(className(control)).c_str(),
                static_cast<unsigned long>(GetWindowLongW(control, GWL_STYLE)), at.x, at.y, size.x,
                size.y);
  // An icon's window text is its resource id; what counts is that it shows one.
  if ((GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
      className(control) == L"Static")
    return line + std::string(shownIcon(control) ? "(icon)" : "(no icon)");
  return line + utf8(windowText(control));
}

bool about() {
  std::vector<HWND> found;
  if (!waitFor(waitMs, [&] { return !(found = dialogs(true)).empty(); })) {
    say("no About window");
    return false;
  }
  HWND dialog = found.front();
  char line[128];
  RECT client;
  GetClientRect(dialog, &client);
  const Units size = units(client.right, client.bottom);
  std::snprintf(
      line, sizeof line, "style 0x%08lX exstyle 0x%08lX client %dx%d owner %s",
      static_cast<unsigned long>(GetWindowLongW(dialog, GWL_STYLE)),
      static_cast<unsigned long>(GetWindowLongW(dialog, GWL_EXSTYLE)), size.x, size.y,
      GetWindow(dialog, GW_OWNER) == FindWindowW(settingsClass, nullptr) ? "main" : "other");
  say(std::string("caption ") + utf8(windowText(dialog)));
  say(line);
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    say(describe(dialog, child));
  return true;
}

void boxes(DWORD ms) {
  std::vector<HWND> answered;
  waitFor(ms, [&] {
    for (HWND box : dialogs(false)) {
      bool seen = false;
      for (HWND old : answered) seen = seen || old == box;
      if (seen) continue;
      say("box: " + utf8(windowText(GetDlgItem(box, messageBoxText))));
      PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
      answered.push_back(box);
    }
    return false;
  });
}

// The value as stored, size included: RegGetValueW would report a string
// without its terminator as if it had one.
void runValue() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                    KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    say("absent");
    return;
  }
  const UniqueKey key(opened);
  std::vector<BYTE> data(70000);
  DWORD type = 0;
  auto size = static_cast<DWORD>(data.size());
  const LSTATUS status =
      RegQueryValueExW(key.get(), L"Quillon", nullptr, &type, data.data(), &size);
  if (status != ERROR_SUCCESS) {
    say("absent");
    return;
  }
  std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  say((type == REG_SZ ? "REG_SZ " : "type " + std::to_string(type) + " ") + std::to_string(size) +
      " " + utf8(text));
}

bool step(const std::vector<std::wstring>& words) {
  const std::wstring& verb = words[0];
  auto number = [&](std::size_t i) {
    return i < words.size() ? std::wcstoul(words[i].c_str(), nullptr, 0) : 0UL;
  };
  if (verb == L"about") return about();
  if (verb == L"about-count") {
    say(std::to_string(dialogs(true).size()));
    return true;
  }
  if (verb == L"about-post" && words.size() == 3) {
    const std::vector<HWND> found = dialogs(true);
    return !found.empty() && PostMessageW(found.front(), number(1), number(2), 0);
  }
  if (verb == L"post" && words.size() == 3)
    return PostMessageW(FindWindowW(settingsClass, nullptr), number(1), number(2), 0);
  if (verb == L"about-gone") return waitFor(waitMs, [] { return dialogs(true).empty(); });
  if (verb == L"boxes" && words.size() == 2) {
    boxes(number(1));
    return true;
  }
  if (verb == L"answer" && words.size() == 2) {
    answer = words[1] == L"yes" ? IDYES : words[1] == L"no" ? IDNO : IDOK;
    return true;
  }
  if (verb == L"run-value") {
    runValue();
    return true;
  }
  if (verb == L"sleep" && words.size() == 2) {
    Sleep(number(1));
    return true;
  }
  say("unknown step " + utf8(verb));
  return false;
}

std::vector<std::wstring> split(const std::wstring& text) {
  std::vector<std::wstring> words(1);
  for (wchar_t c : text) {
    if (c == L' ') {
      words.emplace_back();
    } else {
      words.back() += c;
    }
  }
  return words;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: shell_driver STEP...\n", stderr);
    return 2;
  }
  int first = 1;
  if (std::wstring(argv[1]) == L"any-process") {
    first = 2;
  } else {
    HWND main = nullptr;
    if (!waitFor(waitMs, [&] { return (main = FindWindowW(settingsClass, nullptr)) != nullptr; })) {
      std::fputs("shell_driver: no Quillon window\n", stderr);
      return 1;
    }
    GetWindowThreadProcessId(main, &program);
  }
  for (int i = first; i < argc; ++i) {
    if (!step(split(argv[i]))) {
      std::fprintf(stderr, "shell_driver: step failed: %s\n", utf8(argv[i]).c_str());
      return 1;
    }
  }
  return 0;
}
