// Finding a chunk inside a file's RIFF chunk.
#pragma once

#include <cstdint>

#include "platform/riff_file.h"

namespace vorlanex {

// Looks for the first chunk with id `id` among the sub-chunks of `riff`,
// starting at the first one (behind the form type), and leaves the file at its
// first content byte with its header in `chunk`: kOk. kNotFound when there is
// none, kFailed when the file could not be read (a seek or a header read that
// failed, not the end of the file); the position is then anywhere. Chunks are
// stepped over with their pad byte, and only chunks that begin inside the RIFF
// chunk are looked at.
platform::RiffStatus findChunk(platform::RiffFile* file, const platform::ChunkInfo& riff, std::uint32_t id,
               platform::ChunkInfo* chunk);

}  // namespace vorlanex
