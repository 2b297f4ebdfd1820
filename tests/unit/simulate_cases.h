#pragma once
// Engine behaviour as quillon-cli simulate shows it: a script of key events
// and the exact lines the system would see.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "tools/cli.h"

namespace quillon {

struct Case {
  const char* script;
  const char* expected;
};

inline void expectScripts(std::string_view profile, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const CliResult result = simulateProfile(profile, c.script);
    EXPECT_EQ(result.exitCode, 0) << c.script;
    EXPECT_EQ(result.err, "") << c.script;
    EXPECT_EQ(result.out, c.expected) << c.script;
  }
}

}  // namespace quillon
