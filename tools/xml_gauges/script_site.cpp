#include "script_site.h"

namespace vorlanex::gauges {

bool Findings::add(const ScriptSite& site, std::string message) {
  if (!seen_.emplace(site.file, site.line, message).second) return false;
  all_.push_back({site, std::move(message)});
  return true;
}

}  // namespace vorlanex::gauges
