// The panel's L: variables as the XML gauges see them: the panel host's named
// variables, the very ones the module reads and writes, with every write a
// gauge's script makes told to a listener with where the script stands.
#pragma once

#include <functional>
#include <string>

#include "named_variables.h"
#include "shared_variables.h"

namespace vorlanex::tool {

class HostSharedVariables : public gauges::SharedVariables {
 public:
  // Hears each write with the variable's name, the value before and after,
  // and the script that wrote it; writes that leave the value as it was too.
  using Listener = std::function<void(const std::string& name, double oldValue, double newValue,
                                      const gauges::ScriptSite& writer)>;

  HostSharedVariables(host::NamedVariables& variables, Listener listener)
      : variables_(variables), listener_(std::move(listener)) {}

  // Names are told apart by case, as the simulator's table of panel variables
  // tells them apart.
  int bind(const std::string& name) override { return variables_.registerName(name); }
  double get(int id) const override { return variables_.get(id); }
  void set(int id, double value, const gauges::ScriptSite& writer) override;

 private:
  host::NamedVariables& variables_;
  Listener listener_;
};

}  // namespace vorlanex::tool
