#pragma once
// The commands of quillon-cli as functions, so tests call them directly.

#include <string>
#include <string_view>

namespace quillon {

struct CliResult {
  int exitCode = 0;
  std::string out;  // what goes to standard output
  std::string err;  // what goes to standard error
};

// Reads a profile file as bytes, or a reason it could not be read.
bool readProfileFile(const std::string& path, std::string& text, std::string& reason);

// `check PROFILE`: why a profile is refused, or how much it holds.
CliResult checkProfile(std::string_view profileText);
CliResult check(const std::string& profilePath);

// `simulate PROFILE SCRIPT`: replays physical events through the hook's front
// end and the engine and reports what the system would see.
CliResult simulateProfile(std::string_view profileText, std::string_view script);
CliResult simulate(const std::string& profilePath, std::string_view script);

}  // namespace quillon
