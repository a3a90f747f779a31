#include "reach_report.h"

#include <algorithm>
#include <cstdio>

namespace vorlanex::tool {

std::string verdictLine(const SoundVerdict& v) {
  if (!v.reached) return "not reached " + v.variable + ": " + v.reason;
  std::string way;
  for (const std::string& step : v.steps) way += (way.empty() ? "" : "; ") + step;
  const std::size_t n = v.steps.size();
  if (n == 0) return "reached " + v.variable + " at rest, with no move";
  return "reached " + v.variable + " in " + std::to_string(n) + (n == 1 ? " move: " : " moves: ") + way;
}

std::string summaryLine(const ReachVerdicts& verdicts, const SearchResult& search) {
  const auto reached = std::count_if(verdicts.sounds.begin(), verdicts.sounds.end(),
                                     [](const SoundVerdict& v) { return v.reached; });
  char text[256];
  std::snprintf(text, sizeof text, "%ld of %zu sounds reached; depth %d, %zu states, %zu moves made, %zu frames in %.2f s%s%s",
                static_cast<long>(reached), verdicts.sounds.size(), search.depth, search.states, search.explored,
                search.frames, search.seconds, search.cut.empty() ? "" : "; cut at ", search.cut.c_str());
  return text;
}

std::string reachText(const ReachVerdicts& verdicts, const SearchResult& search) {
  std::string out;
  for (const SoundVerdict& v : verdicts.sounds) out += verdictLine(v) + "\n";
  if (!verdicts.notes.empty()) out += "\n";
  for (const ReachNote& note : verdicts.notes) out += note.text + "\n";
  return out + "\n" + summaryLine(verdicts, search) + "\n";
}

nlohmann::json reachJson(const ReachVerdicts& verdicts, const SearchResult& search) {
  nlohmann::json sounds = nlohmann::json::array();
  for (const SoundVerdict& v : verdicts.sounds) {
    nlohmann::json sound{{"sound", v.sound}, {"variable", v.variable}, {"reached", v.reached}};
    if (v.reached) {
      sound["moves"] = v.steps.size();
      sound["way"] = v.steps;
    } else {
      sound["reason"] = v.reason;
      if (!v.file.empty()) {
        sound["file"] = v.file;
        sound["line"] = v.line;
      }
    }
    sounds.push_back(std::move(sound));
  }
  nlohmann::json notes = nlohmann::json::array();
  for (const ReachNote& note : verdicts.notes) {
    notes.push_back({{"kind", note.kind}, {"variable", note.variable}, {"text", note.text}});
  }
  return {{"sounds", sounds},
          {"notes", notes},
          {"search",
           {{"depth", search.depth},
            {"states", search.states},
            {"movesMade", search.explored},
            {"frames", search.frames},
            {"seconds", search.seconds},
            {"cut", search.cut}}}};
}

}  // namespace vorlanex::tool
