#include "support/allocation_faults.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace vorlanex::test {
namespace {

std::atomic<long> allocationsToFailure{0};
std::atomic<bool> failed{false};

void* fromMalloc(std::size_t size) noexcept { return std::malloc(size == 0 ? 1 : size); }

void* allocate(std::size_t size) {
  if (allocationsToFailure.load() > 0 && allocationsToFailure.fetch_sub(1) == 1) {
    failed = true;
    throw std::bad_alloc();
  }
  if (void* block = fromMalloc(size)) return block;
  throw std::bad_alloc();
}

}  // namespace

void failAllocation(long nth) {
  failed = false;
  allocationsToFailure = nth;
}

bool allocationFailed() { return failed; }

}  // namespace vorlanex::test

void* operator new(std::size_t size) { return vorlanex::test::allocate(size); }
void* operator new[](std::size_t size) { return vorlanex::test::allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return vorlanex::test::fromMalloc(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return vorlanex::test::fromMalloc(size);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
