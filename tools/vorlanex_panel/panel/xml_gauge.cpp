#include "xml_gauge.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "gauge_macros.h"
#include "gauge_xml.h"
#include "text_case.h"

namespace vorlanex::tool {
namespace {

using gauges::GaugeXml;
using gauges::XmlNode;
using Macros = std::map<std::string, std::string>;  // by lower-case name

constexpr std::size_t kExcerptLength = 100;

std::string excerptAt(const std::string& script, std::size_t offset) {
  const std::size_t start = script.rfind('\n', offset);
  std::size_t first = start == std::string::npos ? 0 : start + 1;
  std::size_t last = std::min(script.find('\n', offset), script.size());
  while (first < last && std::isspace(static_cast<unsigned char>(script[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(script[last - 1]))) --last;
  std::string line = script.substr(first, last - first);
  if (line.size() > kExcerptLength) line = line.substr(0, kExcerptLength - 3) + "...";
  return line;
}

void scanText(const std::string& script, int firstLine, std::vector<ScriptUse>& out) {
  int line = firstLine;
  std::size_t counted = 0;  // line breaks are counted up to here
  for (VariableUse& use : scanScript(script)) {
    line += static_cast<int>(std::count(script.begin() + static_cast<std::ptrdiff_t>(counted),
                                        script.begin() + static_cast<std::ptrdiff_t>(use.offset),
                                        '\n'));
    counted = use.offset;
    std::string excerpt = excerptAt(script, use.offset);
    out.push_back({std::move(use), line, std::move(excerpt)});
  }
}

// The macros of the whole file, as the gauge model reads them.
void collectMacros(const XmlNode* node, const GaugeXml& xml, Macros& macros) {
  for (auto* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() != rapidxml::node_element) continue;
    if (!gauges::isNamed(child, "Macro")) {
      collectMacros(child, xml, macros);
      continue;
    }
    if (const auto name = gauges::attributeOf(child, "Name")) {
      std::string body = gauges::scriptOf(xml, child).text;
      std::replace_if(body.begin(), body.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
      macros[gauges::lowerCase(*name)] = std::move(body);
    }
  }
}

// Every text of the document but the macros' bodies, which count where used.
// A text whose macros grow past bounds is scanned as written.
void scanNodes(const XmlNode* node, const GaugeXml& xml, gauges::MacroExpander& macros,
               std::vector<ScriptUse>& out) {
  for (auto* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() == rapidxml::node_data || child->type() == rapidxml::node_cdata) {
      const std::string text(child->value(), child->value_size());
      std::string problem;
      const auto expanded = macros.expand(text, problem);
      scanText(expanded ? *expanded : text, xml.lineOf(child->value()), out);
    } else if (child->type() == rapidxml::node_element && !gauges::isNamed(child, "Macro")) {
      scanNodes(child, xml, macros, out);
    }
  }
}

// The file's text with the entities a lenient reader decodes; line breaks kept.
std::string decodeEntities(const std::string& text) {
  static const std::pair<const char*, char> kEntities[] = {
      {"&gt;", '>'}, {"&lt;", '<'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool decoded = false;
    for (const auto& [entity, c] : kEntities) {
      if (text.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
        out += c;
        i += std::char_traits<char>::length(entity);
        decoded = true;
        break;
      }
    }
    if (!decoded) out += text[i++];
  }
  return out;
}

}  // namespace

XmlGaugeScan scanXmlGauge(const std::string& text) {
  XmlGaugeScan scan;
  const GaugeXml xml(text);
  if (xml.problem()) {
    scan.parseError = *xml.problem();
    scan.parseErrorLine = xml.problemLine();
  }
  const XmlNode* document = xml.document();
  if (document == nullptr) {
    scan.scannedAsText = true;
    scanText(decodeEntities(text), 1, scan.uses);
    return scan;
  }
  Macros macros;
  collectMacros(document, xml, macros);
  gauges::MacroExpander expander(macros);
  scanNodes(document, xml, expander, scan.uses);
  return scan;
}

}  // namespace vorlanex::tool
