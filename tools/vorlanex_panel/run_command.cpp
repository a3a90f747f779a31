#include "run_command.h"

#include <algorithm>
#include <memory>

#include "check.h"
#include "cross_check.h"
#include "exit_status.h"
#include "linked_module.h"
#include "module_library.h"
#include "module_table.h"
#include "panel_cfg.h"
#include "panel_setup.h"
#include "progress.h"
#include "report_text.h"
#include "run_json.h"
#include "script_parser.h"
#include "script_runner.h"
#include "script_variables.h"
#include "terminal.h"
#include "text_encoding.h"
#include "timeline.h"
#include "timeline_svg.h"
#include "wave_files.h"
#include "whole_file.h"
#include "windows_files.h"

namespace vorlanex::tool {
namespace {

std::string readFile(const std::string& path) {
  std::optional<std::string> text = readWholeFile(path);
  if (!text) throw std::runtime_error("cannot read " + path);
  return *std::move(text);
}

void printFailure(std::FILE* out, const std::string& script, const StepEvent& e) {
  const Step& step = *e.step;
  std::fprintf(out, "%s:%d: %s failed at %.3f s: it holds %s\n", script.c_str(), step.line,
               stepText(step, Digits::kShort).c_str(), e.time, shortNumber(e.actual).c_str());
}

void printProblems(std::FILE* out, const Problems& problems) {
  for (const Problem& problem : problems) std::fprintf(out, "%s\n", formatProblem(problem).c_str());
  if (!problems.empty()) std::fprintf(out, "\n");
}

nlohmann::json problemsJson(const Problems& problems) {
  nlohmann::json out = nlohmann::json::array();
  for (const Problem& p : problems) {
    out.push_back({{"severity", severityName(p.severity)},
                   {"file", p.file},
                   {"line", p.line},
                   {"key", p.key},
                   {"message", p.message}});
  }
  return out;
}

class Play {
 public:
  Play(const RunRequest& request, std::FILE* out) : request_(request), out_(out) {}

  RunRecord run(const Script& script, std::optional<RunPanel> panel,
                std::vector<std::string> followed, const std::string& parameters) {
    // The module's own code linked in, unless a module file is given.
    host::LinkedModule linked;
    std::unique_ptr<host::ModuleLibrary> library;
    host::ModuleExports module = linked.exports();
    if (!request_.modulePath.empty()) {
      library = std::make_unique<host::ModuleLibrary>(request_.modulePath);
      module = library->exports();
    }
    DeviceClock audio(request_.audio);
    ScriptRunner runner(module, {request_.framesPerSecond, parameters, request_.globalDllPath,
                                 std::move(followed)});
    const bool writers = panel.has_value();
    if (panel) runner.usePanel(*std::move(panel));
    runner.setFrameAdvance([&](int, double seconds) { audio.frameDone(seconds); });
    if (!request_.json) listen(runner, script, writers);
    RunRecord record = runner.run(script);
    if (const gauges::GaugePanel* gauges = runner.gaugePanel()) {
      findings_ = scriptFindings(gauges->findings());
    }
    return record;
  }

  // What the gauges' scripts were found doing, compiled and run.
  const Problems& findings() const { return findings_; }

 private:
  void listen(ScriptRunner& runner, const Script& script, bool writers) {
    // A run watched is read back before it is shown: no progress in it.
    progress_ = std::make_unique<ProgressLine>(out_, !request_.watch && standardOutputIsTerminal());
    runner.setProgress([this](double time, double longest) { progress_->update(time, longest); });
    // Writes that leave a value as it was (the indicator every frame, a loop's
    // refusal written again) would bury the log: they are counted, not shown.
    // Without the gauges the script's own writes are its steps.
    runner.setWriteListener([this, writers](const VariableWrite& w) {
      if (w.oldValue == w.newValue && !request_.allWrites) return;
      if (!writers && w.writer.kind != Writer::Kind::kModule) return;
      progress_->clear();
      printWrite(out_, w, writers);
    });
    runner.setSentEventListener([this](const SentEventRecord& e) {
      progress_->clear();
      printSentEvent(out_, e);
    });
    runner.setStepListener([this, &script](const StepEvent& e) {
      if (e.passed) return;
      progress_->clear();
      printFailure(out_, script.file, e);
    });
    printLogHeading(out_, writers);
  }

  const RunRequest& request_;
  std::FILE* out_;
  std::unique_ptr<ProgressLine> progress_;
  Problems findings_;
};

int expectations(const RunRecord& record) {
  return static_cast<int>(std::count_if(
      record.events.begin(), record.events.end(), [](const StepEvent& e) {
        return e.step->action == Action::kExpect || e.step->action == Action::kWaitUntil;
      }));
}

}  // namespace

int runCommand(const RunRequest& request, std::FILE* out, std::FILE* errors, RunFiles* files) {
  try {
    const std::string& shown = request.scriptShown.empty() ? request.scriptFile : request.scriptShown;
    if (files) files->follow(request.scriptFile);
    const Script script = parseScript(shown, readFile(request.scriptFile));
    std::optional<PanelSetup> panel;
    std::string parameters = request.parameters.value_or("");
    if (!request.panelConfig.empty()) {
      const std::string text = decodedTextOf(readFile(request.panelConfig), request.panelShown);
      if (!request.parameters) parameters = moduleParameters(text);
      panel = readPanelSetup(request.panelConfig, request.panelShown, text);
    }
    // The lanes of the timeline: the module's own table for this INI file.
    const ModuleTable table = readModuleTable(parameters);
    if (files) collectPanelFiles(request.panelConfig, panel, parameters, table, *files);
    const std::vector<std::string> followed = moduleVariables(table.table);
    // A wrong folder is the likeliest reason for a run that plays nothing:
    // told first, then the panel's problems and the script's names that
    // nothing but the script reads, neither the module nor the gauges.
    const std::string cause = unreadableIniCause(parameters);
    Problems warnings = panel ? panel->problems : Problems{};
    std::vector<std::string> known = followed;
    if (panel) known.insert(known.end(), panel->variables.begin(), panel->variables.end());
    for (const Problems& more : {unknownScriptVariables(script, known), unknownScriptEvents(script)}) {
      warnings.insert(warnings.end(), more.begin(), more.end());
    }
    if (!request.json) {
      if (!cause.empty()) std::fprintf(out, "first: %s\n", cause.c_str());
      printProblems(out, warnings);
    }

    Play play(request, out);
    const RunRecord record =
        play.run(script, panel ? std::optional<RunPanel>(std::move(panel->panel)) : std::nullopt,
                 followed, parameters);
    const int checked = expectations(record);
    if (request.json) {
      nlohmann::json document = runJson(record);
      document["script"] = shown;
      document["iniFile"] = parameters;
      if (!request.panelConfig.empty()) document["panel"] = request.panelShown;
      if (!cause.empty()) document["causes"] = {cause};
      document["warnings"] = problemsJson(warnings);
      document["gaugeFindings"] = problemsJson(play.findings());
      std::fputs((document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n")
                     .c_str(),
                 out);
    } else {
      if (!play.findings().empty()) std::fprintf(out, "\n");
      for (const Problem& p : play.findings()) std::fprintf(out, "%s\n", formatProblem(p).c_str());
      std::fprintf(out,
                   "\n%d frames at %g fps, %zu writes by the module; expectations: %d held, %d "
                   "failed\n",
                   record.frames, record.framesPerSecond, record.moduleWrites(),
                   checked - record.failures(), record.failures());
    }
    if (!request.timelineFile.empty()) {
      const Timeline timeline =
          buildTimeline(table.table, record, !request.globalDllPath.empty());
      writeOutputFile(request.timelineFile,
                      timelineSvg(timeline, "Vorlanex panel run: " + table.iniPath + ", " +
                                                request.scriptFile));
    }
    return record.failures() > 0 ? kExitAmiss : kExitHeld;
  } catch (const std::exception& e) {
    std::fflush(out);
    std::fprintf(errors, "%s\n", e.what());
    return kExitErrors;
  }
}

}  // namespace vorlanex::tool
