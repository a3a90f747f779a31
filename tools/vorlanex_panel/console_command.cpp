#include "console_command.h"

#include <csignal>
#include <deque>
#include <memory>

#include "check.h"
#include "console_server.h"
#include "console_session.h"
#include "console_token.h"
#include "linked_module.h"
#include "module_library.h"
#include "open_browser.h"
#include "whole_file.h"
#include "recorded_script.h"
#include "script_runner.h"

namespace vorlanex::panel {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) { interrupted = 1; }

std::unique_ptr<host::ModuleLibrary> loadModule(const std::string& path) {
  return path.empty() ? nullptr : std::make_unique<host::ModuleLibrary>(path);
}

// Frames keep real time whatever the sounds play into; without an audio
// device the console still serves, with nothing heard.
AudioRequest pacedAudio(AudioRequest audio) {
  audio.pacedFrames = true;
  audio.unheardWithoutDevice = true;
  return audio;
}

// The panel as the console plays it: the module, the sound device and the
// frame loop, set up before the page is served so that what cannot be set up
// is told first.
class LivePanel {
 public:
  explicit LivePanel(const ConsoleRequest& request)
      : library_(loadModule(request.modulePath)),
        device_(pacedAudio(request.audio)),
        runner_(library_ ? library_->exports() : linked_.exports(),
                {request.framesPerSecond, request.parameters, request.globalDllPath}) {}

  // Why the sounds are not heard; empty when they are.
  const std::string& unheard() const { return device_.unheard(); }

  // The frame loop: the only writer of panel variables. Each frame carries
  // out the steps the page queued before it started.
  void play(ConsoleSession& session, std::FILE* out) {
    // The page is shown each frame as soon as its pre-update is done; the
    // wait for the frame's end comes after.
    runner_.setFrameAdvance([&](int, double seconds) {
      session.frameDone(runner_.record(), runner_.host().variables());
      std::fflush(out);
      device_.frameDone(seconds);
    });
    runner_.setWriteListener([&](const VariableWrite& w) {
      if (w.oldValue != w.newValue) printWrite(out, w);
    });
    runner_.setStepListener([&](const StepEvent& e) {
      printPageStep(out, e);
    });
    // The steps must outlive the record, which points at them.
    std::deque<Script> steps;
    const Script none;
    for (int frame = 0; !session.quitting() && !interrupted; ++frame) {
      Script due = session.takeSteps();
      const Script* played = &none;
      if (!due.steps.empty()) played = &steps.emplace_back(std::move(due));
      runner_.playFrame(*played, frame);
    }
    runner_.host().disconnect();
    std::fprintf(out, "\n%d frames at %g fps, %zu steps from the page\n", runner_.record().frames,
                 runner_.record().framesPerSecond, runner_.record().events.size());
  }

 private:
  host::LinkedModule linked_;  // used unless a module file is given
  std::unique_ptr<host::ModuleLibrary> library_;
  RunAudio device_;
  ScriptRunner runner_;
};

}  // namespace

int runConsole(const ConsoleRequest& request, std::FILE* out, std::FILE* errors) {
  try {
    CheckRequest check;
    check.parameters = request.parameters;
    const CheckResult checked = runCheck(check);
    ConsoleSession session(panelFacts(checked), checked.module.table, request.globalDll);
    LivePanel panel(request);
    if (!panel.unheard().empty()) {
      std::fprintf(out, "%s\n", panel.unheard().c_str());
      session.setUnheard(panel.unheard());
    }
    ConsoleServer server(session, consoleToken(), request.port);
    std::fprintf(out, "console: %s\n", server.address().c_str());
    std::fprintf(out, "Ctrl-C or the page's Quit button ends it.\n");
    std::fflush(out);
    if (request.openBrowser) openInBrowser(server.address());
    interrupted = 0;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    printLogHeading(out);
    // However the frames end, the server stops with them; from the Quit on,
    // the session refuses clicks no frame would carry out.
    struct EndServer {
      ConsoleSession& session;
      ConsoleServer& server;
      ~EndServer() {
        session.quit();
        server.stop();
      }
    };
    {
      EndServer end{session, server};
      panel.play(session, out);
    }
    if (!request.recordFile.empty()) writeOutputFile(request.recordFile, session.script());
    return 0;
  } catch (const std::exception& e) {
    std::fflush(out);
    std::fprintf(errors, "%s\n", e.what());
    return 2;
  }
}

}  // namespace vorlanex::panel
