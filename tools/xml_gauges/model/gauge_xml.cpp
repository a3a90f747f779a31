#include "gauge_xml.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "text_case.h"

namespace vorlanex::gauges {
namespace {

// The parser and the model's walks recurse once per level of elements: a file
// nested deeper than gauges ever are is refused before it can exhaust the stack.
constexpr int kMaxNesting = 256;

constexpr int kLenientReading = rapidxml::parse_no_element_values;
constexpr int kStrictReading = kLenientReading | rapidxml::parse_validate_closing_tags;

// How deep the elements of the text nest, counted roughly from its tags.
int nestingDepth(const std::string& text) {
  int depth = 0;
  int deepest = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '<' && std::isalpha(static_cast<unsigned char>(text[i + 1])) != 0) {
      deepest = std::max(deepest, ++depth);
    } else if ((text[i] == '<' && text[i + 1] == '/') || (text[i] == '/' && text[i + 1] == '>')) {
      --depth;
    }
  }
  return deepest;
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

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

GaugeXml::GaugeXml(const std::string& text) : text_(text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') lineStarts_.push_back(i + 1);
  }
  if (nestingDepth(text) > kMaxNesting) {
    problem_ = "elements nested more than " + std::to_string(kMaxNesting) + " deep";
    problemLine_ = 1;
    return;
  }
  // Each reading changes the text in place: each has a copy of its own.
  buffer_ = terminatedCopy(text);
  try {
    document_.parse<kStrictReading>(buffer_.data());
    readable_ = true;
    return;
  } catch (const rapidxml::parse_error& error) {
    const auto offset = static_cast<std::size_t>(error.where<char>() - buffer_.data());
    problem_ = describeParseError(text, error.what(), offset);
    problemLine_ = lineOf(buffer_.data() + offset);
  }
  buffer_ = terminatedCopy(text);
  document_.clear();
  try {
    document_.parse<kLenientReading>(buffer_.data());
    readable_ = true;
  } catch (const rapidxml::parse_error&) {
    document_.clear();
  }
}

int GaugeXml::lineOf(const char* where) const {
  const auto offset = static_cast<std::size_t>(where - buffer_.data());
  return static_cast<int>(std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset) -
                          lineStarts_.begin());
}

std::string_view GaugeXml::fromLine(int line) const {
  if (line < 1 || static_cast<std::size_t>(line) > lineStarts_.size()) return {};
  return std::string_view(text_).substr(lineStarts_[static_cast<std::size_t>(line) - 1]);
}

bool isNamed(const XmlNode* node, std::string_view name) {
  return node->type() == rapidxml::node_element &&
         equalNoCase({node->name(), node->name_size()}, name);
}

std::optional<std::string> attributeOf(const XmlNode* node, std::string_view name) {
  for (auto* attribute = node->first_attribute(); attribute != nullptr;
       attribute = attribute->next_attribute()) {
    if (equalNoCase({attribute->name(), attribute->name_size()}, name)) {
      return std::string(attribute->value(), attribute->value_size());
    }
  }
  return std::nullopt;
}

double numberAttribute(const XmlNode* node, std::string_view name, double otherwise) {
  const auto text = attributeOf(node, name);
  if (!text) return otherwise;
  try {
    return std::stod(*text);
  } catch (const std::exception&) {
    return otherwise;
  }
}

ScriptText scriptOf(const GaugeXml& xml, const XmlNode* node) {
  ScriptText script;
  int lastLine = 0;  // the line the joined text ends on
  for (auto* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() != rapidxml::node_data && child->type() != rapidxml::node_cdata) continue;
    const std::string_view piece(child->value(), child->value_size());
    const int line = xml.lineOf(child->value());
    if (script.line == 0) {
      script.line = line;
    } else {
      // A skipped element stood between the pieces: keep them apart and on
      // their own lines.
      script.text.append(line > lastLine ? static_cast<std::size_t>(line - lastLine) : 1,
                         line > lastLine ? '\n' : ' ');
    }
    script.text += piece;
    lastLine = line + static_cast<int>(std::count(piece.begin(), piece.end(), '\n'));
  }
  std::size_t first = 0;
  while (first < script.text.size() && isBlank(script.text[first])) {
    if (script.text[first++] == '\n') ++script.line;
  }
  std::size_t last = script.text.size();
  while (last > first && isBlank(script.text[last - 1])) --last;
  script.text = script.text.substr(first, last - first);
  if (script.text.empty()) script.line = 0;
  return script;
}

}  // namespace vorlanex::gauges
