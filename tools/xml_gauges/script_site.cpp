#include "script_site.h"

namespace vorlanex::gauges {
namespace {

constexpr size_t kExcerptLength = 60;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

ScriptSite scriptLineSite(const ScriptSite& script, int lineOffset, std::string_view lineText) {
  ScriptSite site = script;
  site.line = script.line + lineOffset;
  std::string_view rest = lineText.substr(0, lineText.find('\n'));
  while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
  while (!rest.empty() && isBlank(rest.back())) rest.remove_suffix(1);
  site.excerpt = std::string(rest.substr(0, kExcerptLength));
  if (rest.size() > kExcerptLength) site.excerpt += "...";
  return site;
}

bool Findings::add(const ScriptSite& site, std::string message) {
  if (!seen_.emplace(site.file, site.line, message).second) return false;
  all_.push_back({site, std::move(message)});
  return true;
}

}  // namespace vorlanex::gauges
