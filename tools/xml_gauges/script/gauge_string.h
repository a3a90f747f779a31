// The text of a gauge's <String>: literal text with "%( script )%!fmt!"
// parts and %{if}/%{else}/%{end}, %{case}%{:N}. Its scripts run, and write
// their variables, whenever the element is drawn.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "script_program.h"

namespace vorlanex::gauges {

class GaugeString {
 public:
  GaugeString();
  ~GaugeString();
  GaugeString(GaugeString&&) noexcept;
  GaugeString& operator=(GaugeString&&) noexcept;

  struct Parts;

 private:
  friend GaugeString compileGaugeString(std::string_view, const ScriptSite&, ScriptContext&);
  friend std::string formatGaugeString(const GaugeString&, ScriptContext&);
  std::unique_ptr<Parts> parts_;
};

GaugeString compileGaugeString(std::string_view text, const ScriptSite& site,
                               ScriptContext& context);
// Runs its scripts and gives the text as the gauge would show it.
std::string formatGaugeString(const GaugeString& text, ScriptContext& context);

}  // namespace vorlanex::gauges
