// The global operator new of the allocation test and the hook benchmark,
// counting every call. It lives apart from them so that no call site sees
// it inlined.

#include "allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::size_t> allocations{0};
}  // namespace

namespace quillon::testing {

std::size_t allocationCount() {
  return allocations.load(std::memory_order_relaxed);
}

}  // namespace quillon::testing

// Replaced together, so memory from this new goes back through this delete;
// GCC cannot see the pairing and warns.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
#pragma GCC diagnostic pop
