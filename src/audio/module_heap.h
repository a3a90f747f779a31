// The module's own heap use: WAV readers, their format blocks and the
// temporary block of a fill all come from here, so the module's footprint can
// be measured and every block is known to be given back.
#pragma once

#include <cstddef>

namespace vorlanex {

// Null when the system has no memory (or a test asked for a failure); never
// throws.
void* heapAllocate(std::size_t bytes);
void heapFree(void* block);

struct HeapUse {
  std::size_t bytes;  // bytes held now
  std::size_t peak;   // most bytes held at once since the last resetHeapPeak
  std::size_t blocks; // blocks held now
};
HeapUse heapUse();
void resetHeapPeak();

// For tests: the allocation `countdown` calls from now fails (1: the next
// one); 0 turns the failure off.
void failHeapAllocationAfter(unsigned countdown);

}  // namespace vorlanex
