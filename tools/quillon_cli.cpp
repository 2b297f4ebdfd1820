// quillon-cli: the console companion of Quillon. `check` tells why a profile
// is refused; `simulate` replays key events through the layer engine.

#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "cli.h"

namespace {

constexpr const char* usage =
    "usage: quillon-cli check PROFILE\n"
    "       quillon-cli simulate PROFILE [SCRIPT]\n"
    "  check     parse PROFILE as Quillon does at start-up and report the first error\n"
    "  simulate  replay SCRIPT (or standard input) through the layer engine; tokens:\n"
    "            d:KEY u:KEY t:MS m b fg:NAME\n";

int finish(const quillon::CliResult& result) {
  std::fwrite(result.out.data(), 1, result.out.size(), stdout);
  std::fwrite(result.err.data(), 1, result.err.size(), stderr);
  return result.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "check" && argc == 3) return finish(quillon::check(argv[2]));
  if (command == "simulate" && (argc == 3 || argc == 4)) {
    std::string script;
    if (argc == 4) {
      script = argv[3];
    } else {
      script.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    }
    return finish(quillon::simulate(argv[2], script));
  }
  std::fputs(usage, stderr);
  return 2;
}
