#include "address_reuse.h"

namespace vorlanex::tool {

bool reuseListeningAddress() { return true; }

}  // namespace vorlanex::tool
