#include "problem.h"

#include <algorithm>

namespace vorlanex::tool {

int exitStatusFor(const Problems& problems) {
  const auto isError = [](const Problem& p) { return p.severity == Severity::kError; };
  if (std::any_of(problems.begin(), problems.end(), isError)) return 2;
  const auto isWarning = [](const Problem& p) { return p.severity == Severity::kWarning; };
  return std::any_of(problems.begin(), problems.end(), isWarning) ? 1 : 0;
}

const char* severityName(Severity severity) {
  switch (severity) {
    case Severity::kNote:
      return "note";
    case Severity::kWarning:
      return "warning";
    case Severity::kError:
      break;
  }
  return "error";
}

std::string formatProblem(const Problem& problem) {
  std::string text = problem.file;
  if (problem.line > 0) text += ":" + std::to_string(problem.line);
  text += std::string(": ") + severityName(problem.severity) + ": ";
  if (!problem.key.empty()) text += problem.key + ": ";
  text += problem.message;
  // A message quoting a script or a tag that spans lines stays one line.
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  return text;
}

int KeyLines::lineOf(const std::string& key) const {
  const auto found = lines_.find(key);
  return found == lines_.end() ? 0 : found->second;
}

}  // namespace vorlanex::tool
