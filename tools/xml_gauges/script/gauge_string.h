// The text of a gauge's <String>: literal text with "%( script )%!fmt!"
// parts, %{if}/%{else}/%{end}, %{case}%{:N}...%{else}%{end} and
// %{loop}...%{next}, blanks and line breaks allowed between a %( ) and its
// format and choice. Its scripts run, and write their variables, whenever the
// element is drawn; they share the registers of one formatting, and the
// stack of the context (the gauge's cycle stack).
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
