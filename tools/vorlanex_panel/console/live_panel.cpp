#include "live_panel.h"

#include <deque>

namespace vorlanex::tool {
namespace {

std::unique_ptr<host::ModuleLibrary> loadModule(const std::string& path) {
  return path.empty() ? nullptr : std::make_unique<host::ModuleLibrary>(path);
}

std::unique_ptr<host::LinkedModule> linkModule(const std::string& path) {
  return path.empty() ? std::make_unique<host::LinkedModule>() : nullptr;
}

const host::ModuleExports& exportsOf(const std::unique_ptr<host::ModuleLibrary>& library,
                                     const std::unique_ptr<host::LinkedModule>& linked) {
  return library ? library->exports() : linked->exports();
}

// Frames keep real time whatever the sounds play into; without an audio
// device the console still serves, with nothing heard.
AudioRequest pacedAudio(AudioRequest audio) {
  audio.pacedFrames = true;
  audio.unheardWithoutDevice = true;
  return audio;
}

}  // namespace

LivePanel::LivePanel(const std::string& modulePath, const AudioRequest& audio, RunOptions options,
                     std::optional<RunPanel> gauges)
    : modulePath_(modulePath),
      linked_(linkModule(modulePath)),
      library_(loadModule(modulePath)),
      clock_(pacedAudio(audio)),
      runner_(exportsOf(library_, linked_), std::move(options)) {
  if (gauges) runner_.usePanel(*std::move(gauges));
}

void LivePanel::reloadModule() {
  runner_.takeDownModule();
  // The old load goes first: a library loaded again while it is still
  // loaded would be the same load, with the state it has.
  library_.reset();
  linked_.reset();
  linked_ = linkModule(modulePath_);
  library_ = loadModule(modulePath_);
  runner_.useModule(exportsOf(library_, linked_));
}

void LivePanel::play(ConsoleSession& session, std::FILE* out,
                     const std::function<bool()>& stopped) {
  // The page is shown each frame as soon as its pre-update is done; the
  // wait for the frame's end comes after.
  // Each line of the log goes to the terminal and to the log file.
  auto logLine = [&](auto print) {
    print(out);
    if (log_) print(log_);
  };
  runner_.setFrameAdvance([&](int frame, double seconds) {
    session.frameDone(runner_.record(), runner_.host().variables());
    // The page and the timeline have taken what the frame added: the record
    // keeps the last stretch, the log file the whole session.
    runner_.forgetBefore((frame + 1) * seconds - keptSeconds_);
    std::fflush(out);
    if (log_) std::fflush(log_);
    clock_.frameDone(seconds);
  });
  GaugeView* view = session.gauges();
  runner_.setWriteListener([&, view](const VariableWrite& w) {
    // Gauges' writes reach the view through their own listener, all of them.
    if (view && w.writer.kind != Writer::Kind::kGauge) view->noteWrite(w.name, w.writer);
    // Without the gauges the page's own sets are its steps, logged as such;
    // with them the log is run --panel's.
    if (w.oldValue == w.newValue || (!view && w.writer.kind != Writer::Kind::kModule)) return;
    logLine([&](std::FILE* f) { printWrite(f, w, view != nullptr); });
  });
  if (view) {
    runner_.setGaugeWriteListener(
        [view](const std::string& name, double, const gauges::ScriptSite& site) {
          view->noteWrite(name, {Writer::Kind::kGauge, site});
        });
    runner_.setSentEventListener([&, view](const SentEventRecord& sent) {
      view->noteSent(sent);
      logLine([&](std::FILE* f) { printSentEvent(f, sent); });
    });
  }
  runner_.setStepListener([&](const StepEvent& e) {
    logLine([&](std::FILE* f) { printPageStep(f, e); });
  });
  // The steps must outlive the record, which points at them.
  std::deque<Script> steps;
  const Script none;
  for (int frame = 0; !session.quitting() && !stopped(); ++frame) {
    if (frame > 0 && frameStart_) frameStart_(frame);
    Script due = session.takeSteps();
    const Script* played = &none;
    if (!due.steps.empty()) played = &steps.emplace_back(std::move(due));
    runner_.playFrame(*played, frame);
  }
  runner_.host().disconnect();
  const std::size_t carried = runner_.record().events.size();
  logLine([&](std::FILE* f) {
    std::fprintf(f, "\n%d frames at %g fps, %zu step%s from the page\n", runner_.record().frames,
                 runner_.record().framesPerSecond, carried, carried == 1 ? "" : "s");
  });
}

}  // namespace vorlanex::tool
