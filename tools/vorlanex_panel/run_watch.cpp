#include "run_watch.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "exit_status.h"
#include "file_watch.h"

namespace vorlanex::tool {
namespace {

// One play of the script, read back whole: its log lines and its summary.
struct Played {
  int status = kExitErrors;
  std::vector<std::string> lines;
  std::string summary;  // the last line, "N frames at F fps, ..."
  RunFiles files;
};

bool isSummary(const std::string& line) { return line.find(" frames at ") != std::string::npos; }

Played play(const RunRequest& request) {
  Played played;
  std::FILE* capture = std::tmpfile();
  if (!capture) throw std::runtime_error("cannot make a temporary file for the run's log");
  played.status = runCommand(request, capture, capture, &played.files);
  std::rewind(capture);
  std::string line;
  for (int c; (c = std::fgetc(capture)) != EOF;) {
    if (c != '\n') {
      line += static_cast<char>(c);
      continue;
    }
    played.lines.push_back(line);
    line.clear();
  }
  if (!line.empty()) played.lines.push_back(line);
  std::fclose(capture);
  if (!played.lines.empty() && isSummary(played.lines.back())) {
    played.summary = played.lines.back();
    played.lines.pop_back();
  }
  return played;
}

void print(std::FILE* out, const std::string& line) {
  std::fprintf(out, "%s\n", line.c_str());
  std::fflush(out);
}

// Whether one of the files saved is left unreadable by its save, with a
// finding the last good run did not have (a WAV file missing from the
// start does not hold back every later save); its new findings are printed.
bool unreadableSave(std::FILE* out, const Played& last, const Played& played,
                    const std::vector<std::string>& saved) {
  const auto& bad = played.files.unreadable;
  const bool unreadable = std::any_of(saved.begin(), saved.end(), [&](const std::string& path) {
    return std::find(bad.begin(), bad.end(), path) != bad.end();
  });
  std::vector<std::string> found;
  for (const Problem& p : played.files.findings) found.push_back(formatProblem(p));
  for (const Problem& p : last.files.findings) {
    found.erase(std::remove(found.begin(), found.end(), formatProblem(p)), found.end());
  }
  if (unreadable && !found.empty()) {
    for (const std::string& line : found) print(out, line);
    return true;
  }
  if (played.status != kExitErrors) return false;
  // The script cannot be read or run: its message is all the run printed.
  for (const std::string& line : played.lines) print(out, line);
  return true;
}

}  // namespace

std::vector<std::string> changedLines(const std::vector<std::string>& before,
                                      const std::vector<std::string>& after) {
  // Lines alike at both ends are left out first: a save usually changes a
  // few lines in the middle of a long log.
  std::size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  std::size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  const std::size_t n = before.size() - head - tail;
  const std::size_t m = after.size() - head - tail;
  std::vector<std::string> out;
  // The longest common run of the rest, when it is small enough to table.
  if (n * m > 16u << 20) {
    for (std::size_t i = 0; i < n; ++i) out.push_back("- " + before[head + i]);
    for (std::size_t j = 0; j < m; ++j) out.push_back("+ " + after[head + j]);
    return out;
  }
  std::vector<std::uint32_t> common((n + 1) * (m + 1), 0);
  auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& { return common[i * (m + 1) + j]; };
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      at(i, j) = before[head + i] == after[head + j] ? at(i + 1, j + 1) + 1
                                                     : std::max(at(i + 1, j), at(i, j + 1));
    }
  }
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && before[head + i] == after[head + j]) {
      ++i;
      ++j;
    } else if (i < n && (j == m || at(i + 1, j) >= at(i, j + 1))) {
      out.push_back("- " + before[head + i++]);
    } else {
      out.push_back("+ " + after[head + j++]);
    }
  }
  return out;
}

int runWatching(const RunRequest& request, std::FILE* out, bool (*keepWatching)()) {
  Played last = play(request);
  // Stamped before anything is shown: a save made as soon as the author
  // sees the run is a save after it. (Later runs are compared with the
  // stamps of the look that started them: a save while one runs is next.)
  FileWatch watch(last.files.read);
  for (const std::string& line : last.lines) print(out, line);
  if (!last.summary.empty()) print(out, last.summary);
  while (keepWatching()) {
    const std::vector<std::string> saved = watch.waitForChange();
    for (const std::string& path : saved) print(out, "== saved: " + path);
    Played next = play(request);
    watch.follow(next.files.read);
    if (unreadableSave(out, last, next, saved)) {
      print(out, "(the last good save stays the one compared with; waiting for the next save)");
      continue;
    }
    for (const std::string& line : changedLines(last.lines, next.lines)) print(out, line);
    print(out, next.summary);
    last = std::move(next);
  }
  return last.status;
}

}  // namespace vorlanex::tool
