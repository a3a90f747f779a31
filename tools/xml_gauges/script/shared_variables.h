// The panel's L: variables, shared by every gauge of the panel and by C
// gauges such as the sound module: the gauges write them through this, and
// whoever owns them (the panel host) hears which script wrote what.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "script_site.h"

namespace vorlanex::gauges {

class SharedVariables {
 public:
  virtual ~SharedVariables() = default;
  // The variable's id; the variable comes into being (at 0) when first named.
  // Names are taken as written: the host decides how it tells them apart.
  virtual int bind(const std::string& name) = 0;
  virtual double get(int id) const = 0;
  // A gauge's script writes; `writer` is where the write stands.
  virtual void set(int id, double value, const ScriptSite& writer) = 0;
};

// A panel of its own, for tests and benchmarks: plain values by name.
class LocalVariables : public SharedVariables {
 public:
  int bind(const std::string& name) override;
  double get(int id) const override;
  void set(int id, double value, const ScriptSite& writer) override;
  double valueOf(const std::string& name) const;
  // Where the last write to the variable stands; null when none was made.
  // It points into the writing program, so it lives as long as that does.
  const ScriptSite* lastWriter(const std::string& name) const;

 private:
  std::unordered_map<std::string, int> ids_;
  std::vector<double> values_;
  std::vector<const ScriptSite*> writers_;
};

}  // namespace vorlanex::gauges
