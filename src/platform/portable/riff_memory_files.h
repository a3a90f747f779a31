// Files held in memory under a path, for tests and fuzzing only: the portable
// RIFF seam opens such a path without touching the disk, so a fuzzer can feed
// the WAV reader many thousands of files a second.
#pragma once

#include <cstddef>

namespace vorlanex::platform {

// From now on openRiffFile(path) reads these bytes, which must stay where they
// are until the path is forgotten. The path is matched exactly as given; a
// second registration under the same path replaces the first.
void registerMemoryFile(const char* path, const void* bytes, std::size_t size);

// Files already open keep reading the bytes they were opened on.
void forgetMemoryFile(const char* path);

}  // namespace vorlanex::platform
