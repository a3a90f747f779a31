#include "address_reuse.h"

namespace vorlanex::panel {

bool reuseListeningAddress() { return false; }

}  // namespace vorlanex::panel
