// The console's parts below its server, set up from the command's request in
// one place: the check of the panel, the session the page drives, the panel
// played live with its gauges and their view, and the following of the
// panel's files. The command serves them; the tests drive them without it.
#pragma once

#include <cstdio>
#include <optional>

#include "check.h"
#include "console_command.h"
#include "console_reload.h"
#include "console_session.h"
#include "live_panel.h"
#include "panel_setup.h"

namespace vorlanex::tool {

struct ConsoleParts {
  // Prints what check finds first to `out`; the reload lines go to `out` and
  // `log` (null: nowhere else). Throws std::runtime_error for what cannot be
  // set up (the module, the sound device).
  ConsoleParts(const ConsoleRequest& request, std::FILE* out, std::FILE* log);

  const CheckResult checked;
  const std::optional<PanelSetup> gauges;  // none without --panel
  ConsoleSession session;
  LivePanel panel;
  ConsoleReload reload;
};

}  // namespace vorlanex::tool
