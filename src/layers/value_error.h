#pragma once

#include <stdexcept>
#include <string>

namespace quillon {

// A profile error that carries the message the user is shown. Only these
// errors get the parser's "Line N: " prefix.
class ValueError : public std::runtime_error {
 public:
  explicit ValueError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace quillon
