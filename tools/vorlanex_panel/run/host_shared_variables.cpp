#include "host_shared_variables.h"

namespace vorlanex::tool {

void HostSharedVariables::set(int id, double value, const gauges::ScriptSite& writer) {
  const double old = variables_.get(id);
  variables_.set(id, value);
  // An id the host never handed out reads 0 and keeps nothing: no write.
  if (id < 0 || static_cast<std::size_t>(id) >= variables_.names().size()) return;
  if (listener_) listener_(variables_.names()[static_cast<std::size_t>(id)], old, value, writer);
}

}  // namespace vorlanex::tool
