// WAV files built byte by byte in memory: the example panel's sounds, and the
// files of the tests, the fuzz seeds and the benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vorlanex::wavebytes {

std::string u16(std::uint16_t value);
std::string u32(std::uint32_t value);

// A chunk: its id, the size of `contents`, the contents and, after an odd
// size, a pad byte.
std::string chunk(const char* id, const std::string& contents);

// A chunk header that declares `size`, whatever follows it.
std::string chunkHeader(const char* id, std::uint32_t size);

// A RIFF file: "RIFF", the size of what follows, the form type and `chunks`.
std::string riff(const char* form, const std::string& chunks);

// The 16 bytes of a "fmt " chunk for samples of `bits` bits, with a block
// alignment and byte rate that fit them.
std::string formatFields(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                         std::uint16_t bits);

// `size` bytes of a pattern that does not repeat every 256 bytes.
std::string samplePattern(std::size_t size);

// A whole WAV file: a "fmt " chunk with `format` as its contents, then a
// "data" chunk holding `samples`.
std::string wave(const std::string& format, const std::string& samples);

}  // namespace vorlanex::wavebytes
