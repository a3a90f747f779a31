#include "console_command.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <filesystem>

#include "check.h"
#include "console_server.h"
#include "console_parts.h"
#include "console_session.h"
#include "console_token.h"
#include "exit_status.h"
#include "gauge_view.h"
#include "live_panel.h"
#include "module_table.h"
#include "panel_setup.h"
#include "open_browser.h"
#include "report_text.h"
#include "whole_file.h"
#include "text_encoding.h"

namespace vorlanex::tool {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) { interrupted = 1; }

// A word of a command line as a shell and Windows' command prompt both read
// it: in double quotes when it holds a blank.
std::string commandWord(const std::string& word) {
  return word.find_first_of(" \t") == std::string::npos ? word : "\"" + word + "\"";
}

}  // namespace

std::string replayCommand(const ConsoleRequest& request) {
  std::string command = "vorlanex-panel run ";
  if (request.panelConfig.empty()) {
    command += commandWord(request.parameters) + " THIS_FILE";
  } else {
    command += "--panel " + commandWord(request.panelConfig) + " THIS_FILE " +
               commandWord(request.parameters);
  }
  if (!request.root.empty()) command += " --root " + commandWord(request.root);
  command += " --fps " + shortNumber(request.framesPerSecond);
  if (!request.modulePath.empty()) command += " --module " + commandWord(request.modulePath);
  if (request.globalDllNamed) command += " --global-dll " + commandWord(request.globalDllPath);
  return command;
}

int runConsole(const ConsoleRequest& request, std::FILE* out, std::FILE* errors) {
  try {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> log(nullptr, &std::fclose);
    if (!request.logFile.empty()) {
      log.reset(std::fopen(request.logFile.c_str(), "w"));
      if (!log) throw std::runtime_error("cannot write the log file " + request.logFile);
    }
    ConsoleParts parts(request, out, log.get());
    ConsoleSession& session = parts.session;
    LivePanel& panel = parts.panel;
    const bool gauges = parts.gauges.has_value();
    if (!panel.unheard().empty()) {
      std::fprintf(out, "%s\n", panel.unheard().c_str());
      session.setUnheard(panel.unheard());
    }
    panel.keepLog(log.get(), request.keepMinutes * 60.0);
    ConsoleServer server(session, consoleToken(), request.port);
    std::fprintf(out, "console: %s\n", server.address().c_str());
    std::fprintf(out, "Ctrl-C or the page's Quit button ends it.\n");
    std::fflush(out);
    if (request.openBrowser) openInBrowser(server.address());
    interrupted = 0;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    printLogHeading(out, gauges);
    if (log) printLogHeading(log.get(), gauges);
    parts.reload.start();
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
      panel.play(session, out, [] { return interrupted != 0; });
    }
    if (!request.recordFile.empty()) writeOutputFile(request.recordFile, session.script());
    return kExitHeld;
  } catch (const std::exception& e) {
    std::fflush(out);
    std::fprintf(errors, "%s\n", e.what());
    return kExitErrors;
  }
}

}  // namespace vorlanex::tool
