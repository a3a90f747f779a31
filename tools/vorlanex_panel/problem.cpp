#include "problem.h"

#include <algorithm>

namespace vorlanex::panel {

int exitStatusFor(const Problems& problems) {
  const auto isError = [](const Problem& p) { return p.severity == Severity::kError; };
  if (std::any_of(problems.begin(), problems.end(), isError)) return 2;
  return problems.empty() ? 0 : 1;
}

const char* severityName(Severity severity) {
  return severity == Severity::kError ? "error" : "warning";
}

std::string formatProblem(const Problem& problem) {
  std::string text = problem.file;
  if (problem.line > 0) text += ":" + std::to_string(problem.line);
  text += std::string(": ") + severityName(problem.severity) + ": ";
  if (!problem.key.empty()) text += problem.key + ": ";
  return text + problem.message;
}

}  // namespace vorlanex::panel
