#include "name_typos.h"

#include <algorithm>
#include <utility>

#include "text_case.h"

namespace vorlanex::gauges {
namespace {

// Two edits are a typo in a long name, but another word in a short one.
std::size_t typoEdits(const std::string& variable) {
  return std::min<std::size_t>(2, variable.size() / 4);
}

// Edits besides case; none for a difference of case alone.
std::size_t editsBesidesCase(const std::string& name, const std::string& known) {
  return editDistance(lowerCase(known), lowerCase(name));
}

}  // namespace

bool isProbableTypo(const std::string& name, const std::string& known) {
  const std::size_t allowed = typoEdits(known);
  const std::size_t lengths = name.size() > known.size() ? name.size() - known.size() : known.size() - name.size();
  return name != known && lengths <= allowed && editsBesidesCase(name, known) <= allowed;
}

const std::string* probableTypoOf(const std::string& name, const std::vector<std::string>& known) {
  if (std::find(known.begin(), known.end(), name) != known.end()) return nullptr;
  const std::string* nearest = nullptr;
  std::pair<std::size_t, std::size_t> nearestEdits;  // besides case, then with it
  for (const std::string& candidate : known) {
    if (!isProbableTypo(name, candidate)) continue;
    const std::pair<std::size_t, std::size_t> edits{editsBesidesCase(name, candidate), editDistance(name, candidate)};
    if (nearest == nullptr || edits < nearestEdits) {
      nearest = &candidate;
      nearestEdits = edits;
    }
  }
  return nearest;
}

std::size_t editDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace vorlanex::gauges
