#pragma once
// Start with Windows: the per-user Run value.

namespace quillon {

// True when the Run value holds a string of at least one character.
bool runValueExists();

}  // namespace quillon
