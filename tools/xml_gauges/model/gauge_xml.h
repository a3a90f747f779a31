// A gauge file parsed as the simulator's lenient reader takes it, with the
// file line of every node, and the few questions the gauge model asks of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <rapidxml/rapidxml.hpp>

#include "gauge_model.h"

namespace vorlanex::gauges {

using XmlNode = rapidxml::xml_node<>;

class GaugeXml {
 public:
  // Reads strictly first, so that a closing tag naming another element is
  // told, then leniently as the simulator does. Neither refuses what working
  // panels rely on: a bare '&&' or '>' in a script passes as text, and '&gt;'
  // is read as '>'.
  explicit GaugeXml(const std::string& text);
  GaugeXml(const GaugeXml&) = delete;
  GaugeXml& operator=(const GaugeXml&) = delete;

  // The document, or nothing when even the lenient reading failed.
  const XmlNode* document() const { return readable_ ? &document_ : nullptr; }
  // Why the file is no well-formed XML, and where; nothing when it is.
  const std::optional<std::string>& problem() const { return problem_; }
  int problemLine() const { return problemLine_; }

  // The file line of a name or value that points into the parsed text:
  // rapidxml decodes in place, so every node starts where it stood.
  int lineOf(const char* where) const;
  int lineOf(const XmlNode* node) const { return lineOf(node->name()); }
  // The file's text from the start of `line` on, for a finding's excerpt.
  std::string_view fromLine(int line) const;

 private:
  std::string text_;
  std::vector<char> buffer_;
  std::vector<std::size_t> lineStarts_{0};
  rapidxml::xml_document<> document_;
  bool readable_ = false;
  std::optional<std::string> problem_;
  int problemLine_ = 0;
};

// Whether the element is named so, without regard to case: panels vary.
bool isNamed(const XmlNode* node, std::string_view name);
// The attribute's value, names compared without regard to case.
std::optional<std::string> attributeOf(const XmlNode* node, std::string_view name);
double numberAttribute(const XmlNode* node, std::string_view name, double otherwise = 0.0);

// A script's text: the node's text and CDATA joined, its child elements (a
// <Comment> amid a Value) skipped. Each piece stands on its own file line, so
// the lines of the script stay the file's; leading and trailing blanks go.
ScriptText scriptOf(const GaugeXml& xml, const XmlNode* node);

}  // namespace vorlanex::gauges
