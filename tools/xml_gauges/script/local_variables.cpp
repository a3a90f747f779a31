#include "shared_variables.h"

namespace vorlanex::gauges {

int LocalVariables::bind(const std::string& name) {
  const auto [at, added] = ids_.emplace(name, static_cast<int>(values_.size()));
  if (added) {
    values_.push_back(0.0);
    writers_.push_back(nullptr);
  }
  return at->second;
}

double LocalVariables::get(int id) const {
  return id >= 0 && static_cast<size_t>(id) < values_.size() ? values_[static_cast<size_t>(id)] : 0.0;
}

void LocalVariables::set(int id, double value, const ScriptSite& writer) {
  if (id < 0 || static_cast<size_t>(id) >= values_.size()) return;
  values_[static_cast<size_t>(id)] = value;
  writers_[static_cast<size_t>(id)] = &writer;
}

double LocalVariables::valueOf(const std::string& name) const {
  const auto found = ids_.find(name);
  return found == ids_.end() ? 0.0 : values_[static_cast<size_t>(found->second)];
}

}  // namespace vorlanex::gauges

namespace vorlanex::gauges {

const ScriptSite* LocalVariables::lastWriter(const std::string& name) const {
  const auto found = ids_.find(name);
  return found == ids_.end() ? nullptr : writers_[static_cast<size_t>(found->second)];
}

}  // namespace vorlanex::gauges
