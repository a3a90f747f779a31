#include "named_variables.h"

namespace vorlanex::host {

std::int32_t NamedVariables::registerName(const std::string& name) {
  const std::int32_t existing = lookup(name);
  if (existing != kUnknown) return existing;
  const auto id = static_cast<std::int32_t>(names_.size());
  ids_.emplace(name, id);
  names_.push_back(name);
  values_.push_back(0.0);
  return id;
}

std::int32_t NamedVariables::lookup(const std::string& name) const {
  const auto found = ids_.find(name);
  return found != ids_.end() ? found->second : kUnknown;
}

bool NamedVariables::valid(std::int32_t id) const {
  return id >= 0 && static_cast<std::size_t>(id) < values_.size();
}

double NamedVariables::get(std::int32_t id) const { return valid(id) ? values_[id] : 0.0; }

void NamedVariables::set(std::int32_t id, double value) {
  if (valid(id)) values_[id] = value;
}

}  // namespace vorlanex::host
