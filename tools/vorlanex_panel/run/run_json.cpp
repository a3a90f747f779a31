#include "run_json.h"

namespace vorlanex::tool {
namespace {

using nlohmann::json;

const char* kindName(Writer::Kind kind) {
  switch (kind) {
    case Writer::Kind::kScript:
      return "script";
    case Writer::Kind::kGauge:
      return "gauge";
    case Writer::Kind::kModule:
      break;
  }
  return "module";
}

bool checks(const Step& step) {
  return step.action == Action::kExpect || step.action == Action::kWaitUntil;
}

}  // namespace

json writerJson(const Writer& writer) {
  json out = {{"kind", kindName(writer.kind)}};
  const gauges::ScriptSite& site = writer.site;
  if (writer.kind == Writer::Kind::kGauge) out["gauge"] = site.gauge;
  if (writer.kind != Writer::Kind::kModule) {
    out["file"] = site.file;
    out["line"] = site.line;
    out["excerpt"] = site.excerpt;
  }
  return out;
}

json runJson(const RunRecord& record) {
  json writes = json::array();
  for (const VariableWrite& w : record.writes) {
    writes.push_back({{"frame", w.frame},
                      {"time", w.time},
                      {"variable", w.name},
                      {"old", w.oldValue},
                      {"new", w.newValue},
                      {"writer", writerJson(w.writer)}});
  }
  json steps = json::array();
  int held = 0;
  for (const StepEvent& e : record.events) {
    json step = {{"frame", e.frame},
                 {"time", e.time},
                 {"line", e.step->line},
                 {"step", stepText(*e.step, Digits::kShort)}};
    if (checks(*e.step)) {
      step["passed"] = e.passed;
      step["found"] = e.actual;
      held += e.passed ? 1 : 0;
    }
    steps.push_back(step);
  }
  json sent = json::array();
  for (const SentEventRecord& e : record.sentEvents) {
    sent.push_back({{"frame", e.frame},
                    {"time", e.time},
                    {"event", e.event},
                    {"value", e.value},
                    {"sender", writerJson(e.sender)}});
  }
  json strings = json::array();
  for (const StringText& s : record.strings) {
    strings.push_back({{"frame", s.frame},
                       {"time", s.time},
                       {"gauge", s.site.gauge},
                       {"file", s.site.file},
                       {"line", s.site.line},
                       {"text", s.text}});
  }
  return {{"framesPerSecond", record.framesPerSecond},
          {"frames", record.frames},
          {"writes", writes},
          {"steps", steps},
          {"sentEvents", sent},
          {"strings", strings},
          {"expectations", {{"held", held}, {"failed", record.failures()}}}};
}

}  // namespace vorlanex::tool
