// settings_driver.exe: drives Quillon's settings window from inside Wine for
// the end-to-end tests. Runs its arguments as a sequence of steps and prints
// what each one observes. Every message to the window goes through a worker
// thread with a bounded wait, and while a step waits, any message box the
// program shows is printed ("box: TEXT") and answered, so an error box fails
// or passes a check instead of hanging the test.
//
// Controls are named by id ("212") or, for those without one, by class and
// creation index ("COMBOBOX#2" is the third combo box).
//
// Exit codes: 0 done, 1 a step failed, 2 bad usage.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "driver_text.h"

namespace {

using wine_test::className;
using wine_test::fromUtf8;
using wine_test::say;
using wine_test::utf8;

constexpr DWORD stepTimeoutMs = 15000;
constexpr const wchar_t* settingsClass = L"Brannock.Quillon.Settings";
constexpr int messageBoxText = 0xFFFF;

HWND settings = nullptr;
DWORD settingsProcess = 0;
// How the next message boxes are answered.
int answer = IDOK;

// Asked with WM_GETTEXT: for another process's window GetWindowTextW only
// reads the caption it was created with, not an edit control's text.
std::wstring windowText(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 15000, &length);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_NORMAL, 15000, &copied);
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

// A visible message box of the program's, if one is up.
HWND messageBox() {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != settingsProcess || !IsWindowVisible(window) ||
            className(window) != L"#32770")
          return TRUE;
        reinterpret_cast<Search*>(data)->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Sends one message from a worker thread and waits for its answer, printing
// and answering the message boxes that show meanwhile. False on time-out.
bool deliver(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread sender([&] {
    DWORD_PTR value = 0;
    SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL, stepTimeoutMs, &value);
    SetEvent(done);
  });
  const DWORD start = GetTickCount();
  HWND answered = nullptr;
  bool finished = false;
  while (!(finished = WaitForSingleObject(done, 20) == WAIT_OBJECT_0) &&
         GetTickCount() - start < stepTimeoutMs) {
    HWND box = messageBox();
    if (box == nullptr || box == answered) continue;
    say("box: " + utf8(windowText(GetDlgItem(box, messageBoxText))));
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    answered = box;
  }
  sender.join();
  CloseHandle(done);
  if (!finished) say("timeout");
  return finished;
}

// A question that shows no message box, answered directly.
LRESULT ask(HWND target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL, stepTimeoutMs, &result))
    say("timeout");
  return static_cast<LRESULT>(result);
}

HWND control(const std::wstring& name) {
  const std::size_t hash = name.find(L'#');
  if (hash == std::wstring::npos)
    return GetDlgItem(settings, std::wcstol(name.c_str(), nullptr, 0));
  const std::wstring wanted = name.substr(0, hash);
  int index = std::wcstol(name.c_str() + hash + 1, nullptr, 10);
  for (HWND child = GetWindow(settings, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    if (lstrcmpiW(className(child).c_str(), wanted.c_str()) == 0 && index-- == 0) return child;
  return nullptr;
}

// The profile editor: the only multi-line edit.
HWND editor() {
  for (HWND child = GetWindow(settings, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    if (lstrcmpiW(className(child).c_str(), L"Edit") == 0)
      if (GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE) return child;
  return nullptr;
}

bool command(HWND item, int notification) {
  const int id = GetDlgCtrlID(item);
  return deliver(settings, WM_COMMAND, MAKEWPARAM(id, notification),
                 reinterpret_cast<LPARAM>(item));
}

int findData(HWND box, UINT countMessage, UINT dataMessage, LPARAM data) {
  const auto count = static_cast<int>(ask(box, countMessage));
  for (int i = 0; i < count; ++i)
    if (ask(box, dataMessage, i) == data) return i;
  return -1;
}

std::string listItems(HWND list, UINT countMessage, UINT lengthMessage, UINT textMessage) {
  std::string out;
  const auto count = static_cast<int>(ask(list, countMessage));
  for (int i = 0; i < count; ++i) {
    std::wstring item(static_cast<std::size_t>(ask(list, lengthMessage, i)) + 1, L'\0');
    ask(list, textMessage, i, reinterpret_cast<LPARAM>(item.data()));
    item.resize(std::wcslen(item.c_str()));
    out += (i ? "|" : "") + utf8(item);
  }
  return out;
}

std::string selection(HWND list, bool combo) {
  const LRESULT index = ask(list, combo ? CB_GETCURSEL : LB_GETCURSEL);
  if (index < 0) return "(none)";
  const UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  const UINT textMessage = combo ? CB_GETLBTEXT : LB_GETTEXT;
  std::wstring item(static_cast<std::size_t>(ask(list, lengthMessage, index)) + 1, L'\0');
  ask(list, textMessage, index, reinterpret_cast<LPARAM>(item.data()));
  item.resize(std::wcslen(item.c_str()));
  return utf8(item);
}

std::string rectangle(HWND item) {
  RECT r;
  GetWindowRect(item, &r);
  MapWindowPoints(nullptr, settings, reinterpret_cast<POINT*>(&r), 2);
  char text[64];
  std::snprintf(text, sizeof text, "%ld %ld %ld %ld", r.left, r.top, r.right - r.left,
                r.bottom - r.top);
  return text;
}

// One step; false when it could not be carried out.
bool step(const std::vector<std::wstring>& words) {
  const std::wstring& verb = words[0];
  auto arg = [&](std::size_t i) { return i < words.size() ? words[i] : std::wstring(); };
  auto number = [&](std::size_t i) { return std::wcstoll(arg(i).c_str(), nullptr, 0); };
  HWND item = words.size() > 1 ? control(arg(1)) : nullptr;

  if (verb == L"answer") {
    answer = arg(1) == L"yes" ? IDYES : arg(1) == L"no" ? IDNO : IDOK;
    return true;
  }
  if (verb == L"open") {
    return deliver(settings, RegisterWindowMessageW(L"Brannock.Quillon.Open"), 0, 0);
  }
  if (verb == L"size") {
    return SetWindowPos(settings, nullptr, 0, 0, static_cast<int>(number(1)),
                        static_cast<int>(number(2)), SWP_NOMOVE | SWP_NOZORDER);
  }
  if (verb == L"draft") {
    say(utf8(windowText(editor())));
    return true;
  }
  if (verb == L"modified") {
    say(ask(editor(), EM_GETMODIFY) ? "modified" : "unmodified");
    return true;
  }
  if (item == nullptr) {
    say("no control " + utf8(arg(1)));
    return false;
  }
  if (verb == L"command") return command(item, static_cast<int>(number(2)));
  if (verb == L"pick") {  // a list item by its key code, then the selection notice
    const int index = findData(item, LB_GETCOUNT, LB_GETITEMDATA, number(2));
    if (index < 0) return say("no list item " + utf8(arg(2))), false;
    ask(item, LB_SETCURSEL, index);
    return command(item, LBN_SELCHANGE);
  }
  if (verb == L"choose") {  // a combo box item by its key code
    const int index = findData(item, CB_GETCOUNT, CB_GETITEMDATA, number(2));
    if (index < 0) return say("no box item " + utf8(arg(2))), false;
    ask(item, CB_SETCURSEL, index);
    return command(item, CBN_SELCHANGE);
  }
  if (verb == L"click") {  // a check box set to 0 or 1, as a click leaves it
    ask(item, BM_SETCHECK, number(2) ? BST_CHECKED : BST_UNCHECKED);
    return command(item, BN_CLICKED);
  }
  if (verb == L"type") {  // the text replaces the input's, with its change notice
    const std::wstring text = fromUtf8(utf8(arg(2)));
    return deliver(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  if (verb == L"items") {
    const bool combo = lstrcmpiW(className(item).c_str(), L"ComboBox") == 0;
    say(combo ? listItems(item, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT)
              : listItems(item, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT));
    return true;
  }
  if (verb == L"selected") {
    const bool combo = lstrcmpiW(className(item).c_str(), L"ComboBox") == 0;
    say(selection(item, combo));
    return true;
  }
  if (verb == L"text") {
    say(utf8(windowText(item)));
    return true;
  }
  if (verb == L"checked") {
    say(ask(item, BM_GETCHECK) == BST_CHECKED ? "checked" : "unchecked");
    return true;
  }
  if (verb == L"state") {
    say(std::string(IsWindowVisible(item) ? "visible" : "hidden") +
        (IsWindowEnabled(item) ? " enabled" : " disabled"));
    return true;
  }
  if (verb == L"rect") {
    say(rectangle(item));
    return true;
  }
  if (verb == L"top") {
    say(std::to_string(ask(item, LB_GETTOPINDEX)));
    return true;
  }
  if (verb == L"wheel") {  // WM_MOUSEWHEEL with this delta, no keys
    const auto delta = static_cast<short>(number(2));
    return deliver(item, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
  }
  say("unknown step " + utf8(verb));
  return false;
}

std::vector<std::wstring> split(const std::wstring& text) {
  std::vector<std::wstring> words;
  std::wstring word;
  for (wchar_t c : text) {
    if (c == L' ' && words.size() < 2) {
      words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  words.push_back(word);
  return words;
}

}  // namespace

// Each argument is one step: a verb, a control and the rest of the argument
// as its value ("type 261 1000", "pick 210 32").
int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: settings_driver STEP...\n", stderr);
    return 2;
  }
  const DWORD start = GetTickCount();
  while ((settings = FindWindowW(settingsClass, nullptr)) == nullptr) {
    // A profile that does not load is reported before the window exists.
    if (HWND box = FindWindowW(L"#32770", L"Quillon"); box != nullptr && IsWindowVisible(box)) {
      say("box: " + utf8(windowText(GetDlgItem(box, messageBoxText))));
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    if (GetTickCount() - start > stepTimeoutMs) {
      std::fputs("settings_driver: no settings window\n", stderr);
      return 1;
    }
    Sleep(50);
  }
  GetWindowThreadProcessId(settings, &settingsProcess);
  for (int i = 1; i < argc; ++i) {
    const std::vector<std::wstring> words = split(argv[i]);
    if (!step(words)) {
      std::fprintf(stderr, "settings_driver: step failed: %s\n", utf8(argv[i]).c_str());
      return 1;
    }
  }
  return 0;
}
