#include "audio/module_heap.h"

#include <cstdlib>

namespace vorlanex {
namespace {

// Each block carries its size in front, aligned for any type.
constexpr std::size_t kHeader = alignof(std::max_align_t);

// Counters and a fault countdown for tests and benchmarks: the module never
// reads them, and they are process-wide as the heap itself is.
HeapUse use{0, 0, 0};
unsigned failureCountdown = 0;

}  // namespace

void* heapAllocate(std::size_t bytes) {
  if (failureCountdown != 0 && --failureCountdown == 0) return nullptr;
  if (bytes > static_cast<std::size_t>(-1) - kHeader) return nullptr;
  auto* raw = static_cast<unsigned char*>(std::malloc(kHeader + bytes));
  if (raw == nullptr) return nullptr;
  *reinterpret_cast<std::size_t*>(raw) = bytes;
  use.bytes += bytes;
  use.blocks += 1;
  if (use.bytes > use.peak) use.peak = use.bytes;
  return raw + kHeader;
}

void heapFree(void* block) {
  if (block == nullptr) return;
  unsigned char* raw = static_cast<unsigned char*>(block) - kHeader;
  use.bytes -= *reinterpret_cast<std::size_t*>(raw);
  use.blocks -= 1;
  std::free(raw);
}

HeapUse heapUse() { return use; }

void resetHeapPeak() { use.peak = use.bytes; }

void failHeapAllocationAfter(unsigned countdown) { failureCountdown = countdown; }

}  // namespace vorlanex
