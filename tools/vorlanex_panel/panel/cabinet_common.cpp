#include "cabinet.h"

#include <new>

namespace vorlanex::tool {

Cabinet failedCabinet(Cabinet::Status status) { return Cabinet{status, {}}; }

Cabinet readCabinet(const std::string& path) {
  try {
    return readCabinetFile(path);
  } catch (const std::bad_alloc&) {
    return failedCabinet(Cabinet::Status::kOutOfMemory);
  }
}

}  // namespace vorlanex::tool
