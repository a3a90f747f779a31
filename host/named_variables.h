// The panel's named variables: 64-bit values addressed by name, each with an
// id that stays the same for as long as the host lives.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorlanex::host {

class NamedVariables {
 public:
  static constexpr std::int32_t kUnknown = -1;

  // Creates the variable (value 0) if it does not exist yet; yields its id.
  std::int32_t registerName(const std::string& name);
  // The id of an existing variable; kUnknown for a name never registered.
  std::int32_t lookup(const std::string& name) const;
  // Reading kUnknown (or any id not handed out) gives 0; writing it is ignored.
  double get(std::int32_t id) const;
  void set(std::int32_t id, double value);

  // For tests and tools: the value of a variable by name (0 when unknown).
  double valueOf(const std::string& name) const { return get(lookup(name)); }
  const std::vector<std::string>& names() const { return names_; }

 private:
  bool valid(std::int32_t id) const;

  std::unordered_map<std::string, std::int32_t> ids_;
  std::vector<std::string> names_;
  std::vector<double> values_;
};

}  // namespace vorlanex::host
