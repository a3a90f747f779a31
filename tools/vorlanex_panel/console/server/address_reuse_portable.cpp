#include "address_reuse.h"

namespace vorlanex::panel {

bool reuseListeningAddress() { return true; }

}  // namespace vorlanex::panel
