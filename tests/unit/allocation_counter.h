#pragma once
// Linking allocation_counter.cpp replaces the global operator new with one
// that counts every call.

#include <cstddef>

namespace quillon::testing {

// Calls of operator new since the program started.
std::size_t allocationCount();

}  // namespace quillon::testing
