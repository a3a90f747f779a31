// Cabinet (.cab) files, where panels keep their XML gauges, read by the
// platform's own code: Windows' cabinet functions, libarchive elsewhere.
#pragma once

#include <string>
#include <vector>

namespace vorlanex::panel {

struct CabinetMember {
  std::string name;   // as stored in the cabinet, maybe with a folder before it
  std::string bytes;  // the member's whole content
};

struct Cabinet {
  enum class State {
    kRead,         // every member was read
    kCannotOpen,   // missing, or not readable as a file
    kNotACabinet,  // a file, but no cabinet
    kDamaged,      // a cabinet that cannot be read to its end
    kOutOfMemory,  // the reading ran out of memory
    kNoReader,     // the platform's cabinet reader could not be set up
  };
  State state = State::kCannotOpen;
  std::vector<CabinetMember> members;  // in the cabinet's order; empty unless read
};

// Reads every member of the cabinet at `path` (a native path, as the file
// system takes it). Both builds give the same state for the same file. It
// throws nothing: running out of memory is a state like the others.
Cabinet readCabinet(const std::string& path);

}  // namespace vorlanex::panel
