// File probe seam: whether a sound's WAV file is there, asked the way the
// module has always asked it, by opening it for reading with the C library.
#pragma once

namespace vorlanex::platform {

// True when `path` opens for reading (fopen(path, "r")); the stream is closed
// at once. A folder does not count, on either build: Windows refuses to open
// one. Natively, names are found whatever their case and with either
// separator, as Windows finds them.
bool fileOpensForReading(const char* path);

}  // namespace vorlanex::platform
