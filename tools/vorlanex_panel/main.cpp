// vorlanex-panel: checks a panel's sound configuration and plays scripts
// against it with the module itself, without the simulator.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "check.h"
#include "check_report.h"
#include "console_command.h"
#include "exit_status.h"
#include "named_files.h"
#include "panel_cfg.h"
#include "panel/global_dll.h"
#include "problem.h"
#include "program_folder.h"
#include "reach_command.h"
#include "run_command.h"
#include "run_watch.h"
#include "snapshot_command.h"
#include "whole_file.h"
#include "text_encoding.h"

namespace {

namespace fs = std::filesystem;
using namespace vorlanex::tool;

// Files named on the command line are relative to where the tool was started;
// the INI path is relative to the simulator's root folder, like the gauge's
// parameter string.
std::string absolute(const std::string& path) {
  return path.empty() ? path : fs::absolute(path).string();
}

void enterRoot(const std::string& root) {
  if (!root.empty()) fs::current_path(root);
}

std::string besideProgram(const char* program, const char* name) {
  return (fs::path(programFolder(program)) / name).string();
}

// GLOBAL.DLL beside the tool, or none when it cannot be loaded: check and
// snapshot then run the gauges without the simulator's sound switch.
std::string globalDllIfLoadable(const char* program) {
  std::string path = besideProgram(program, vorlanex::kGlobalDllName);
  try {
    requireLoadableGlobalDll(path);
  } catch (const std::exception&) {
    path.clear();
  }
  return path;
}

// run's files: INI SCRIPT, or with --panel SCRIPT [INI].
void takeRunFiles(const std::vector<std::string>& files, RunRequest& run) {
  if (run.panelShown.empty()) {
    if (files.size() != 2) {
      throw std::runtime_error("run needs INI SCRIPT (or --panel PANEL.CFG SCRIPT [INI])");
    }
    run.parameters = files[0];
    run.scriptFile = files[1];
    return;
  }
  run.scriptFile = files[0];
  run.parameters = files.size() == 2 ? std::optional<std::string>(files[1]) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Checks a Vorlanex_sound.gau panel and plays scripts against it."};
  app.require_subcommand(1);
  // Paths such as /work/panel are files, not options, on every build; set
  // before the subcommands, which take it over.
  app.allow_windows_style_options(false);
  std::string root;

  CheckRequest check;
  std::string ini;
  bool json = false;
  CLI::App* checkCommand = app.add_subcommand(
      "check", "Print the sound table the module reads from INI and every problem in it.");
  CLI::Option* iniOption =
      checkCommand->add_option("INI", ini,
                               "the gauge's parameter string: the INI path, relative to --root "
                               "(default: the one of the module's first line in --panel, else "
                               "./Gauges/zeb_xml_sound.ini)");
  checkCommand->add_option("--root", root, "the simulator's root folder (default: here)");
  checkCommand->add_option("--panel", check.panelConfig,
                           "the aircraft's panel.cfg: also find its gauges and check them "
                           "against the INI file");
  checkCommand->add_flag("--json", json, "print JSON");
  checkCommand->add_flag("--reach", check.reach,
                         "with --panel: also search for every sound's way through the panel's gauges "
                         "(as reach does) and report the sounds nothing the pilot does plays");

  RunRequest run{"", "", 18.0, "", "", besideProgram(argv[0], vorlanex::kGlobalDllName), {}, false};
  std::vector<std::string> runFiles;
  CLI::App* runCommandLine = app.add_subcommand(
      "run", "Play SCRIPT against the panel and log what the module writes; with --panel the "
             "panel's XML gauges run beside it.");
  runCommandLine
      ->add_option("INI SCRIPT", runFiles,
                   "INI SCRIPT: the INI path (relative to --root) and the script to play; with "
                   "--panel: SCRIPT [INI], the INI file by default the one of the module's line "
                   "in panel.cfg")
      ->expected(1, 2)
      ->required();
  runCommandLine->add_option("--panel", run.panelShown,
                             "the aircraft's panel.cfg: run its XML gauges frame by frame beside "
                             "the module");
  runCommandLine->add_flag("--json", run.json, "print the run's record as JSON instead of the log");
  runCommandLine->add_flag("--watch", run.watch,
                           "run again on every save of a file the run read, printing the log's "
                           "changed lines");
  runCommandLine->add_option("--root", root, "the simulator's root folder (default: here)");
  runCommandLine->add_option("--fps", run.framesPerSecond, "frames per second (default 18)")
      ->check(CLI::Range(1.0, 1000.0));
  runCommandLine->add_option("--timeline", run.timelineFile, "draw the run into this SVG file");
  runCommandLine->add_option("--render", run.audio.renderFile,
                             "write the mix heard into this WAV file (native build)");
  runCommandLine->add_flag("--live", run.audio.live,
                           "play on the system's audio device in real time");
  runCommandLine->add_flag("--all-writes", run.allWrites,
                           "log also the writes that leave a value as it was");
  runCommandLine->add_option("--module", run.modulePath,
                             "load this Vorlanex_sound.gau instead of the one built into the tool");
  runCommandLine->add_option("--global-dll", run.globalDllPath,
                             "the GLOBAL.DLL stand-in (default: the one beside the tool)");

  ConsoleRequest console;
  console.globalDllPath = run.globalDllPath;
  bool noGlobalDll = false;
  bool noBrowser = false;
  CLI::App* consoleCommand = app.add_subcommand(
      "console", "Serve a page on 127.0.0.1 that plays the panel's sounds live and records a script.");
  consoleCommand->add_option("INI", console.parameters,
                             "the INI path, relative to --root (with --panel: by default the "
                             "one of the module's line in panel.cfg)");
  consoleCommand->add_option("--panel", console.panelShown,
                             "the aircraft's panel.cfg: run its XML gauges beside the module and "
                             "show them on the page");
  consoleCommand->add_option("--root", root, "the simulator's root folder (default: here)");
  consoleCommand->add_option("--port", console.port, "the port to listen on (default: a free one)");
  consoleCommand->add_option("--fps", console.framesPerSecond, "frames per second (default 18)")
      ->check(CLI::Range(1.0, 1000.0));
  consoleCommand->add_option("--module", console.modulePath,
                             "load this Vorlanex_sound.gau instead of the one built into the tool");
  consoleCommand->add_option("--global-dll", console.globalDllPath,
                             "the GLOBAL.DLL stand-in (default: the one beside the tool)");
  consoleCommand->add_flag("--no-global-dll", noGlobalDll,
                           "start without GLOBAL.DLL (the page can load it)");
  consoleCommand->add_option("--record", console.recordFile,
                             "write the session as a script into this file when it ends");
  consoleCommand->add_option("--log", console.logFile,
                             "write the whole log into this file as the frames run (the page "
                             "and the timeline keep only the last minutes)");
  consoleCommand->add_option("--keep-minutes", console.keepMinutes,
                             "the minutes of writes the console keeps for the page and the "
                             "timeline (default 10)")
      ->check(CLI::Range(1.0, 1440.0));
  consoleCommand->add_option("--render", console.audio.renderFile,
                             "write the mix heard into this WAV file instead of playing it "
                             "(native build)");
  consoleCommand->add_flag("--no-browser", noBrowser, "do not open the page in a browser");

  SnapshotRequest snapshot;
  CLI::App* snapshotCommandLine = app.add_subcommand(
      "snapshot", "Run the panel to a moment of a script and draw one of its windows into a PNG file.");
  snapshotCommandLine->add_option("--panel", snapshot.panelShown, "the aircraft's panel.cfg")->required();
  snapshotCommandLine->add_option("INI", snapshot.parameters,
                                  "the INI path, relative to --root (default: the one of the module's "
                                  "line in panel.cfg)");
  snapshotCommandLine->add_option("--script", snapshot.scriptFile, "the script to play (default: none)");
  snapshotCommandLine->add_option("--at", snapshot.at, "draw at this second of the script (default 0)")
      ->check(CLI::NonNegativeNumber);
  snapshotCommandLine->add_option("--window", snapshot.window,
                                  "the window: its section, ident or title (default: the first)");
  snapshotCommandLine->add_flag("--night", snapshot.night, "draw as at night, the panel lights on");
  snapshotCommandLine->add_option("--scale", snapshot.scale, "pixels per unit of size_mm (default 1)")
      ->check(CLI::Range(0.01, 100.0));
  snapshotCommandLine->add_option("--out", snapshot.outFile, "the PNG file to write")->required();
  snapshotCommandLine->add_option("--root", root, "the simulator's root folder (default: here)");

  ReachRequest reach;
  std::string reachIni;
  CLI::App* reachCommandLine = app.add_subcommand(
      "reach", "Find, for every sound, the shortest way through the panel's own gauges to play it, "
               "or why there is none.");
  reachCommandLine->add_option("--panel", reach.panelShown, "the aircraft's panel.cfg")->required();
  reachCommandLine->add_option("INI", reachIni,
                               "the INI path, relative to --root (default: the one of the module's "
                               "line in panel.cfg)");
  reachCommandLine->add_option("--depth", reach.limits.depth, "the most moves in a way (default 6)")
      ->check(CLI::Range(1, 100));
  reachCommandLine->add_option("--states", reach.limits.states, "the most states to tell apart (default 100000)")
      ->check(CLI::Range(1, 100000000));
  reachCommandLine->add_option("--budget", reach.limits.seconds, "the most seconds to search (default 60)")
      ->check(CLI::Range(0.001, 86400.0));
  reachCommandLine->add_option("--out", reach.outFolder,
                               "write each way found as a run --panel script, reach_VARIABLE.txt, "
                               "into this folder");
  reachCommandLine->add_flag("--json", reach.json, "print JSON");
  reachCommandLine->add_option("--root", root, "the simulator's root folder (default: here)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? kExitHeld : kExitCannotFollow;
  }

  try {
    if (*checkCommand) {
      if (check.reach && check.panelConfig.empty()) throw std::runtime_error("--reach needs --panel PANEL.CFG");
      if (iniOption->count() > 0 || check.panelConfig.empty()) check.parameters = ini;
      check.panelShown = check.panelConfig;
      check.panelConfig = absolute(check.panelConfig);
      check.globalDllPath = globalDllIfLoadable(argv[0]);
      enterRoot(root);
      if (!check.panelConfig.empty() && !readWholeFile(check.panelConfig)) {
        throw std::runtime_error(unreadablePanelCause(check.panelShown, check.panelConfig));
      }
      const CheckResult result = runCheck(check);
      std::fputs((json ? checkJson(result) : checkText(result)).c_str(), stdout);
      return exitStatusFor(result.problems);
    }
    if (*consoleCommand) {
      if (console.panelShown.empty() && consoleCommand->count("INI") == 0) {
        throw std::runtime_error("console needs INI (or --panel PANEL.CFG [INI])");
      }
      console.panelConfig = console.panelShown;
      for (std::string* path : {&console.modulePath, &console.globalDllPath, &console.recordFile,
                                &console.logFile, &console.audio.renderFile, &console.panelConfig}) {
        *path = absolute(*path);
      }
      console.globalDll = !noGlobalDll;
      console.globalDllNamed = consoleCommand->count("--global-dll") > 0;
      console.openBrowser = !noBrowser;
      // Natively the sounds are heard on the system's device unless rendered.
      console.audio.live = console.audio.renderFile.empty();
      enterRoot(root);
      console.root = fs::current_path().string();
      if (!console.panelConfig.empty()) {
        const std::optional<std::string> text = readWholeFile(console.panelConfig);
        if (!text) throw std::runtime_error(unreadablePanelCause(console.panelShown, console.panelConfig));
        if (consoleCommand->count("INI") == 0) {
          console.parameters = moduleParameters(decodedTextOf(*text, console.panelShown));
        }
        // The replay names the panel by its whole path, wherever it is
        // started: the gauges' files are shown so too, and both logs read the same.
        console.panelShown = console.panelConfig;
      }
      requireLoadableModule(console.modulePath);
      requireWritable(console.recordFile);
      requireWritable(console.logFile);
      // Without GLOBAL.DLL at the start the page may never load it.
      if (console.globalDll) requireLoadableGlobalDll(console.globalDllPath);
      return runConsole(console, stdout, stderr);
    }
    if (*reachCommandLine) {
      if (reachCommandLine->count("INI") > 0) reach.parameters = reachIni;
      reach.panelConfig = absolute(reach.panelShown);
      reach.outFolder = absolute(reach.outFolder);
      reach.globalDllPath = globalDllIfLoadable(argv[0]);
      enterRoot(root);
      if (!readWholeFile(reach.panelConfig)) {
        throw std::runtime_error(unreadablePanelCause(reach.panelShown, reach.panelConfig));
      }
      return reachCommand(reach, stdout, stderr);
    }
    if (*snapshotCommandLine) {
      if (snapshotCommandLine->count("--at") > 0 && snapshot.scriptFile.empty()) {
        throw std::runtime_error("--at needs --script");
      }
      snapshot.panelConfig = absolute(snapshot.panelShown);
      snapshot.scriptFile = absolute(snapshot.scriptFile);
      snapshot.outFile = absolute(snapshot.outFile);
      snapshot.globalDllPath = globalDllIfLoadable(argv[0]);
      enterRoot(root);
      return snapshotCommand(snapshot, stdout, stderr);
    }
    takeRunFiles(runFiles, run);
    run.panelConfig = run.panelShown;
    run.scriptShown = run.scriptFile;
    for (std::string* path : {&run.scriptFile, &run.timelineFile, &run.modulePath,
                              &run.globalDllPath, &run.audio.renderFile, &run.panelConfig}) {
      *path = absolute(*path);
    }
    enterRoot(root);
    requireReadable(run.scriptFile);
    if (!run.panelConfig.empty() && !readWholeFile(run.panelConfig)) {
      throw std::runtime_error(unreadablePanelCause(run.panelShown, run.panelConfig));
    }
    requireLoadableModule(run.modulePath);
    requireLoadableGlobalDll(run.globalDllPath);
    return run.watch ? runWatching(run, stdout) : runCommand(run, stdout, stderr);
  } catch (const std::exception& e) {
    // Whatever fails before a command starts is the command line's.
    std::fprintf(stderr, "vorlanex-panel: %s\n", e.what());
    return kExitCannotFollow;
  }
}
