// The global operator new of the allocation test, counting every call. It
// lives apart from the test so that no call site sees it inlined.

#include <cstddef>
#include <cstdlib>
#include <new>

namespace quillon::testing {

std::size_t allocations = 0;

std::size_t allocationCount() {
  return allocations;
}

}  // namespace quillon::testing

void* operator new(std::size_t size) {
  ++quillon::testing::allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
