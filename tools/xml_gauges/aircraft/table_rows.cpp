#include "table_rows.h"

#include "text_case.h"
#include "value_text.h"

namespace vorlanex::gauges {

std::vector<std::vector<std::string_view>> tableRows(std::string_view text) {
  std::vector<std::vector<std::string_view>> rows;
  bool header = true;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (header || line.empty()) {
      header = false;
      continue;
    }
    std::vector<std::string_view> cells;
    for (std::size_t tab; (tab = line.find('\t')) != std::string_view::npos; line.remove_prefix(tab + 1)) {
      cells.push_back(line.substr(0, tab));
    }
    cells.push_back(line);
    rows.push_back(std::move(cells));
  }
  return rows;
}

std::string_view cell(const std::vector<std::string_view>& row, std::size_t column) {
  return column < row.size() ? row[column] : std::string_view{};
}

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<double> tableNumber(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.back() == '?') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    double value = 0.0;
    for (const char digit : text.substr(2)) {
      const int at = static_cast<int>(std::string_view("0123456789abcdef").find(lowerAscii(digit)));
      if (at < 0) return std::nullopt;
      value = value * 16 + at;
    }
    return value;
  }
  double value = 0.0;
  if (!parseNumber(text, value)) return std::nullopt;
  return value;
}

}  // namespace vorlanex::gauges
