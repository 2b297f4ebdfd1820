// quillon-cli: the console companion of Quillon. `check` tells why a profile
// is refused; `simulate` replays key events through the layer engine.

#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "cli.h"

namespace {

constexpr const char* usage =
    "usage: quillon-cli check PROFILE\n"
    "       quillon-cli simulate PROFILE [SCRIPT]\n"
    "  check     parse PROFILE as Quillon does at start-up and report the first error\n"
    "  simulate  replay SCRIPT (or standard input) through the layer engine; tokens:\n"
    "            d:KEY u:KEY t:MS m b fg:NAME\n";

#ifdef _WIN32
// A console shows UTF-16; UTF-8 bytes would come out in its code page. Output
// redirected to a file or a pipe stays UTF-8.
void write(std::FILE* stream, DWORD handleId, const std::string& text) {
  const HANDLE handle = GetStdHandle(handleId);
  DWORD consoleMode = 0;
  if (text.empty() || !GetConsoleMode(handle, &consoleMode)) {
    std::fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  const int size = static_cast<int>(text.size());
  std::wstring wide(
      static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)),
      L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  DWORD written = 0;
  WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

std::string utf8(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), length, nullptr, nullptr);
  result.pop_back();
  return result;
}
#endif

int finish(const quillon::CliResult& result) {
#ifdef _WIN32
  write(stdout, STD_OUTPUT_HANDLE, result.out);
  write(stderr, STD_ERROR_HANDLE, result.err);
#else
  std::fwrite(result.out.data(), 1, result.out.size(), stdout);
  std::fwrite(result.err.data(), 1, result.err.size(), stderr);
#endif
  return result.exitCode;
}

// The arguments after the program name, in UTF-8.
int run(const std::vector<std::string>& args) {
  const std::string command = args.empty() ? "" : args[0];
  if (command == "check" && args.size() == 2) return finish(quillon::check(args[1]));
  if (command == "simulate" && (args.size() == 2 || args.size() == 3)) {
    std::string script;
    if (args.size() == 3) {
      script = args[2];
    } else {
      script.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    }
    return finish(quillon::simulate(args[1], script));
  }
  std::fputs(usage, stderr);
  return 2;
}

}  // namespace

#ifdef _WIN32
// Wide arguments, so a profile path in any script reaches the program intact.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(utf8(argv[i]));
  return run(args);
}
#else
int main(int argc, char** argv) {
  return run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
