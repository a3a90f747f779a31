#include "address_reuse.h"

namespace vorlanex::tool {

bool reuseListeningAddress() { return false; }

}  // namespace vorlanex::tool
