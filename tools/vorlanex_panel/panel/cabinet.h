// Cabinet (.cab) files, where panels keep their XML gauges, read by the
// platform's own code: Windows' cabinet functions, libarchive elsewhere.
#pragma once

#include <string>
#include <vector>

namespace vorlanex::tool {

struct CabinetMember {
  std::string name;   // as stored in the cabinet, maybe with a folder before it
  std::string bytes;  // the member's whole content
};

struct Cabinet {
  enum class Status {
    kRead,         // every member was read
    kCannotOpen,   // missing, or not readable as a file
    kNotACabinet,  // a file, but no cabinet
    kDamaged,      // a cabinet that cannot be read to its end
    kOutOfMemory,  // the reading ran out of memory
    kNoReader,     // the platform's cabinet reader could not be set up
  };
  Status status = Status::kCannotOpen;
  std::vector<CabinetMember> members;  // in the cabinet's order; empty unless read
};

// Reads every member of the cabinet at `path` (a native path, as the file
// system takes it). Both builds give the same state for the same file. It
// throws nothing: running out of memory is a state like the others.
Cabinet readCabinet(const std::string& path);

// Each build's own reading behind readCabinet, which may throw std::bad_alloc.
Cabinet readCabinetFile(const std::string& path);
Cabinet failedCabinet(Cabinet::Status status);

}  // namespace vorlanex::tool
