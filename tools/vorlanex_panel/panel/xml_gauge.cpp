#include "xml_gauge.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <rapidxml/rapidxml.hpp>

#include "plain_text.h"
#include "platform/portable/ascii_case.h"

namespace vorlanex::tool {
namespace {

constexpr std::size_t kExcerptLength = 100;
constexpr int kMacroDepth = 8;  // macros using macros, but not for ever
// Macros that use themselves twice would double the script at each depth.
constexpr std::size_t kMaxScript = 1 << 18;
constexpr int kMaxDepth = 256;  // gauges nest a few levels; the stack holds many more

using Macros = std::map<std::string, std::string>;  // by lower-case name

// The simulator's reader is lenient, and so is the scan. A strict reading
// comes first: rapidxml then also holds each closing tag to the element it
// closes. Neither refuses what working panels rely on: a bare '&&' or '>' in
// a script passes as text, and '&gt;' is read as '>'.
constexpr int kLenientReading = rapidxml::parse_no_element_values;
constexpr int kStrictReading = kLenientReading | rapidxml::parse_validate_closing_tags;

// Line numbers of offsets into the file's text.
class LineTable {
 public:
  explicit LineTable(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') starts_.push_back(i + 1);
    }
  }
  int lineOf(std::size_t offset) const {
    return static_cast<int>(std::upper_bound(starts_.begin(), starts_.end(), offset) -
                            starts_.begin());
  }

 private:
  std::vector<std::size_t> starts_{0};
};

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The script with each "@Name" of a known macro replaced by its body, whose
// own line breaks become blanks so that the script's lines stay the file's.
std::string expandMacros(std::string script, const Macros& macros) {
  for (int depth = 0; depth < kMacroDepth && script.find('@') != std::string::npos; ++depth) {
    std::string out;
    bool expanded = false;
    for (std::size_t i = 0; i < script.size() && out.size() <= kMaxScript;) {
      std::size_t end = i + 1;
      while (script[i] == '@' && end < script.size() && isNameChar(script[end])) ++end;
      const auto macro = script[i] == '@' ? macros.find(lowerCase(script.substr(i + 1, end - i - 1)))
                                          : macros.end();
      if (macro == macros.end()) {
        out += script[i++];
        continue;
      }
      out += macro->second;
      expanded = true;
      i = end;
    }
    if (!expanded || out.size() > kMaxScript) break;
    script = std::move(out);
  }
  return script;
}

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

bool isMacro(const rapidxml::xml_node<>* node) {
  return node != nullptr && platform::equalNoCase({node->name(), node->name_size()}, "Macro");
}

void collectMacros(const rapidxml::xml_node<>* node, Macros& macros) {
  for (auto* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() != rapidxml::node_element) continue;
    if (isMacro(child)) {
      if (const auto* name = child->first_attribute("Name", 0, false)) {
        std::string body;
        for (auto* text = child->first_node(); text != nullptr; text = text->next_sibling()) {
          if (text->type() == rapidxml::node_data || text->type() == rapidxml::node_cdata) {
            body.append(text->value(), text->value_size());
          }
        }
        std::replace(body.begin(), body.end(), '\n', ' ');
        macros[lowerCase(std::string(name->value(), name->value_size()))] = body;
      }
    } else {
      collectMacros(child, macros);
    }
  }
}

// Every text of the document but the macros' bodies, which count where used.
void scanNodes(const rapidxml::xml_node<>* node, const char* buffer, const LineTable& lines,
               const Macros& macros, std::vector<ScriptUse>& out) {
  for (auto* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() == rapidxml::node_data || child->type() == rapidxml::node_cdata) {
      // Decoded in place: the text starts where it stood in the file.
      const auto offset = static_cast<std::size_t>(child->value() - buffer);
      scanText(expandMacros({child->value(), child->value_size()}, macros), lines.lineOf(offset),
               out);
    } else if (child->type() == rapidxml::node_element && !isMacro(child)) {
      scanNodes(child, buffer, lines, macros, out);
    }
  }
}

// How deep the elements of the text nest, counted roughly from its tags: the
// parser and the walks below recurse once per level, so a file nested too
// deep for the stack is read as raw text instead.
int nestingDepth(const std::string& text) {
  int depth = 0;
  int deepest = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '<' && (std::isalpha(static_cast<unsigned char>(text[i + 1])) != 0)) {
      deepest = std::max(deepest, ++depth);
    } else if ((text[i] == '<' && text[i + 1] == '/') || (text[i] == '/' && text[i + 1] == '>')) {
      --depth;
    }
  }
  return deepest;
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

// The element still open at `offset`, in a text that rapidxml read without
// fault up to there, so that only its constructs need telling apart here.
std::string openElementAt(const std::string& text, std::size_t offset) {
  std::vector<std::string> open;
  std::size_t i = text.find('<');
  const auto skipPast = [&](const char* end) {
    i = text.find(end, i + 1);
    if (i != std::string::npos) i += std::strlen(end);
  };
  while (i < offset) {
    if (text.compare(i, 4, "<!--") == 0) {
      skipPast("-->");
    } else if (text.compare(i, 9, "<![CDATA[") == 0) {
      skipPast("]]>");
    } else if (text.compare(i, 2, "<?") == 0) {
      skipPast("?>");
    } else if (text.compare(i, 2, "<!") == 0) {
      skipPast(">");
    } else if (text.compare(i, 2, "</") == 0) {
      if (!open.empty()) open.pop_back();
      skipPast(">");
    } else {
      const std::size_t name = i + 1;
      i = text.find_first_of(" \t\r\n/>", name);
      if (i == std::string::npos) break;
      std::string element = text.substr(name, i - name);
      char quote = 0;  // attribute values may hold '>'
      for (; i < text.size() && (quote != 0 || text[i] != '>'); ++i) {
        if (quote == 0 && (text[i] == '"' || text[i] == '\'')) {
          quote = text[i];
        } else if (text[i] == quote) {
          quote = 0;
        }
      }
      if (i < text.size() && text[i - 1] != '/') open.push_back(std::move(element));
    }
    if (i != std::string::npos) i = text.find('<', i);
  }
  return open.empty() ? "" : open.back();
}

// rapidxml's message, but for a closing tag of another element the two names.
std::string describeParseError(const std::string& text, const char* what, std::size_t offset) {
  const std::size_t tag = text.rfind("</", offset);
  if (std::strcmp(what, "invalid closing tag name") != 0 || tag == std::string::npos) return what;
  const std::string expected = openElementAt(text, tag);
  if (expected.empty()) return what;
  return "expected </" + expected + ">, found </" + text.substr(tag + 2, offset - tag - 2) + ">";
}

std::vector<char> terminatedCopy(const std::string& text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  return buffer;
}

}  // namespace

XmlGaugeScan scanXmlGauge(const std::string& text) {
  XmlGaugeScan scan;
  const LineTable lines(text);
  const bool tooDeep = nestingDepth(text) > kMaxDepth;
  // Each reading changes the text in place: each has a copy of its own.
  std::vector<char> buffer = terminatedCopy(text);
  rapidxml::xml_document<> document;
  try {
    if (tooDeep) throw rapidxml::parse_error("elements nested too deep", buffer.data());
    document.parse<kStrictReading>(buffer.data());
  } catch (const rapidxml::parse_error& error) {
    const auto offset = static_cast<std::size_t>(error.where<char>() - buffer.data());
    scan.parseError = describeParseError(text, error.what(), offset);
    scan.parseErrorLine = lines.lineOf(offset);
    buffer = terminatedCopy(text);
    document.clear();
    try {
      if (tooDeep) throw error;
      document.parse<kLenientReading>(buffer.data());
    } catch (const rapidxml::parse_error&) {
      scan.scannedAsText = true;
      scanText(decodeEntities(text), 1, scan.uses);
      return scan;
    }
  }
  Macros macros;
  collectMacros(&document, macros);
  scanNodes(&document, buffer.data(), lines, macros, scan.uses);
  return scan;
}

}  // namespace vorlanex::tool
