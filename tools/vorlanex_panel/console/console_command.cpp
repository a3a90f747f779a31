#include "console_command.h"

#include <csignal>
#include <deque>
#include <fstream>
#include <memory>

#include "check.h"
#include "console_server.h"
#include "console_session.h"
#include "console_token.h"
#include "module/gauge_records.h"
#include "module_library.h"
#include "open_browser.h"
#include "recorded_script.h"
#include "script_runner.h"

namespace vorlanex::panel {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) { interrupted = 1; }

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream file(path, std::ios::binary);
  file << content;
  if (!file.flush()) throw std::runtime_error("cannot write " + path);
}

// The frame loop: the only writer of panel variables. Each frame carries out
// the steps the page queued during the one before.
void playSession(const ConsoleRequest& request, ConsoleSession& session, std::FILE* out) {
  std::unique_ptr<host::ModuleLibrary> library;
  host::ModuleExports module{&Linkage, &ImportTable};
  if (!request.modulePath.empty()) {
    library = std::make_unique<host::ModuleLibrary>(request.modulePath);
    module = library->exports();
  }
  AudioRequest audio = request.audio;
  audio.pacedFrames = true;
  RunAudio device(audio);
  ScriptRunner runner(module, {request.framesPerSecond, request.parameters, request.globalDllPath});
  // The page is shown each frame as soon as its pre-update is done; the
  // wait for the frame's end comes after.
  runner.setFrameAdvance([&](int, double seconds) {
    session.frameDone(runner.record(), runner.host().variables());
    std::fflush(out);
    device.frameDone(seconds);
  });
  runner.setWriteListener([&](const VariableWrite& w) {
    if (w.oldValue != w.newValue) printWrite(out, w);
  });
  runner.setStepListener([&](const StepEvent& e) {
    std::fprintf(out, "%5d  %7.3f  page: %s\n", e.frame, e.time, stepText(*e.step).c_str());
  });
  // The steps must outlive the record, which points at them.
  std::deque<Script> steps;
  const Script none;
  for (int frame = 0; !session.quitting() && !interrupted; ++frame) {
    Script due = session.takeSteps();
    const Script* played = &none;
    if (!due.steps.empty()) played = &steps.emplace_back(std::move(due));
    runner.playFrame(*played, frame);
  }
  runner.host().disconnect();
  std::fprintf(out, "\n%d frames at %g fps, %zu steps from the page\n", runner.record().frames,
               request.framesPerSecond, runner.record().events.size());
  if (!request.recordFile.empty()) writeFile(request.recordFile, session.script());
}

}  // namespace

int runConsole(const ConsoleRequest& request, std::FILE* out, std::FILE* errors) {
  try {
    CheckRequest check;
    check.parameters = request.parameters;
    const CheckResult checked = runCheck(check);
    ConsoleSession session(panelFacts(checked), checked.module.table, request.globalDll);
    ConsoleServer server(session, consoleToken(), request.port);
    std::fprintf(out, "console: %s\n", server.address().c_str());
    std::fprintf(out, "Ctrl-C or the page's Quit button ends it.\n");
    std::fflush(out);
    if (request.openBrowser) openInBrowser(server.address());
    interrupted = 0;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    std::fprintf(out, "frame     time  variable                        old -> new\n");
    try {
      playSession(request, session, out);
    } catch (...) {
      session.quit();
      server.stop();
      throw;
    }
    session.quit();
    server.stop();
    return 0;
  } catch (const std::exception& e) {
    std::fflush(out);
    std::fprintf(errors, "%s\n", e.what());
    return 2;
  }
}

}  // namespace vorlanex::panel
