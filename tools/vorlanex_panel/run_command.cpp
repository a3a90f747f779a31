#include "run_command.h"

#include <algorithm>
#include <memory>

#include "check.h"
#include "exit_status.h"
#include "linked_module.h"
#include "module_library.h"
#include "module_table.h"
#include "progress.h"
#include "report_text.h"
#include "script_parser.h"
#include "script_runner.h"
#include "script_variables.h"
#include "terminal.h"
#include "timeline.h"
#include "timeline_svg.h"
#include "whole_file.h"

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

RunRecord play(const RunRequest& request, const Script& script, std::FILE* out) {
  // The module's own code linked in, unless a module file is given.
  host::LinkedModule linked;
  std::unique_ptr<host::ModuleLibrary> library;
  host::ModuleExports module = linked.exports();
  if (!request.modulePath.empty()) {
    library = std::make_unique<host::ModuleLibrary>(request.modulePath);
    module = library->exports();
  }
  DeviceClock audio(request.audio);
  ScriptRunner runner(module, {request.framesPerSecond, request.parameters, request.globalDllPath});
  runner.setFrameAdvance([&](int, double seconds) { audio.frameDone(seconds); });
  ProgressLine progress(out, standardOutputIsTerminal());
  runner.setProgress([&](double time, double longest) { progress.update(time, longest); });
  // Writes that leave a value as it was (the indicator every frame, a loop's
  // refusal written again) would bury the log: they are counted, not shown.
  runner.setWriteListener([&](const VariableWrite& w) {
    if (w.oldValue == w.newValue && !request.allWrites) return;
    progress.clear();
    printWrite(out, w);
  });
  runner.setStepListener([&](const StepEvent& e) {
    if (e.passed) return;
    progress.clear();
    printFailure(out, script.file, e);
  });
  printLogHeading(out);
  return runner.run(script);
}

}  // namespace

int runCommand(const RunRequest& request, std::FILE* out, std::FILE* errors) {
  try {
    const Script script = parseScript(request.scriptFile, readFile(request.scriptFile));
    // The lanes of the timeline: the module's own table for this INI file.
    const ModuleTable table = readModuleTable(request.parameters);
    // A wrong folder is the likeliest reason for a run that plays nothing:
    // told first, then the script's names that nothing reads.
    const std::string cause = unreadableIniCause(request.parameters);
    if (!cause.empty()) std::fprintf(out, "first: %s\n", cause.c_str());
    printUnknownScriptVariables(out, script, moduleVariables(table.table));
    const RunRecord record = play(request, script, out);

    const int checked = static_cast<int>(std::count_if(
        record.events.begin(), record.events.end(), [](const StepEvent& e) {
          return e.step->action == Action::kExpect || e.step->action == Action::kWaitUntil;
        }));
    std::fprintf(out, "\n%d frames at %g fps, %zu writes by the module; expectations: %d held, %d failed\n",
                 record.frames, record.framesPerSecond, record.writes.size(),
                 checked - record.failures(), record.failures());
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
