// A console session on a small panel in a fresh root, played until a list of
// phases has run: what the reload tests drive.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "check.h"
#include "console_reload.h"
#include "module_table.h"
#include "panel_facts.h"
#include "panel_setup.h"
#include "support/built_files.h"
#include "support/temp_folder.h"
#include "text_encoding.h"
#include "whole_file.h"

namespace vorlanex::tool {

using nlohmann::json;

inline constexpr const char* kIni =
    "[Config]\nMaxSounds=1\nErrorFlag=-1\n[Sounds]\nSound00=./Sound/a.wav\n[LVars]\nLvar00=tone\n";
inline constexpr const char* kPanel =
    "[Window Titles]\nWindow00=Main\n[Window00]\nsize_mm=100\nvisible=1\n"
    "gauge00=T!counter, 0,0,10,10\ngauge01=Vorlanex_sound!sound, 0,0,1,1, ./Gauges/t.ini\n";
inline constexpr const char* kGaugePath = "Aircraft/T/panel/T/counter.xml";

// The counter as first saved: it counts frames, and turns the battery on once.
inline std::string counter(int version, const std::string& extra = "") {
  return R"(<Gauge Name="counter" Version="1.0"><Update>
  (L:count, number) 1 + (>L:count, number) )" + std::to_string(version) + R"( (>L:version, number)
  (L:started, number) 0 == if{ 1 (>L:started, number) (A:ELECTRICAL MASTER BATTERY, bool) (>L:first, number)
    (>K:TOGGLE_MASTER_BATTERY) }
  (A:ELECTRICAL MASTER BATTERY, bool) (>L:battery, number) )" + extra + "</Update></Gauge>";
}

// A console session on the panel in a fresh root, its frames played until a
// list of phases has run: each does something, then waits for a condition of
// the panel's variables, which must come within a generous limit.
struct ReloadSession {
  struct Phase {
    std::function<void()> act;
    std::function<bool()> until;
    const char* what;
  };

  explicit ReloadSession(const test::TempFolder& root, std::string render = "") {
    request.parameters = "./Gauges/t.ini";
    request.panelConfig = (root.path() / "Aircraft/T/panel/panel.cfg").string();
    request.panelShown = "Aircraft/T/panel/panel.cfg";
    request.framesPerSecond = 100.0;
    request.audio.renderFile = std::move(render);
  }

  double value(const std::string& name) { return live->runner().host().variables().valueOf(name); }

  // Runs the phases; each frame before the first of it starts counts `frame`.
  void play(std::vector<Phase> phases) {
    CheckRequest check;
    check.parameters = request.parameters;
    const CheckResult checked = runCheck(check);
    ConsoleSession session(panelFacts(checked), checked.module.table, true, "replay");
    running = &session;
    std::optional<PanelSetup> setup = readPanelSetup(
        request.panelConfig, request.panelShown, decodeText(*readWholeFile(request.panelConfig)).text);
    RunOptions options{request.framesPerSecond, request.parameters, test::globalDllPath(),
                       moduleVariables(checked.module.table)};
    live.emplace("", request.audio, std::move(options), setup->panel);
    std::FILE* out = std::tmpfile();
    ConsoleReload reload(request, setup, *live, session, out, nullptr);
    live->setFrameStart([&](int f) { reload.atFrameStart(f); });
    reload.start();
    std::size_t next = 0;
    bool acted = false;
    auto limit = std::chrono::steady_clock::now();
    live->play(session, out, [&] {
      ++frame;
      if (next == phases.size()) return true;
      Phase& phase = phases[next];
      if (!acted) {
        if (phase.act) phase.act();
        acted = true;
        limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        return false;
      }
      if (phase.until()) {
        ++next;
        acted = false;
        return false;
      }
      if (std::chrono::steady_clock::now() < limit) return false;
      ADD_FAILURE() << "never came: " << phase.what;
      return true;
    });
    reloads = reloadNotes();
    script = session.script();
    running = nullptr;
    live.reset();  // the rendering ends with the panel
    std::fclose(out);
  }

  // The page's list of the reloads so far.
  json reloadNotes() { return json::parse(running->stateAfter(-1, std::chrono::milliseconds(0)))["reloads"]; }

  // The reloads so far whose note mentions `text`.
  int reloadsSaying(const std::string& text) {
    int count = 0;
    for (const json& note : reloadNotes()) count += note.dump().find(text) != std::string::npos;
    return count;
  }

  ConsoleRequest request;
  std::optional<LivePanel> live;
  int frame = -1;
  ConsoleSession* running = nullptr;
  json reloads;
  std::string script;
};

// A save by rename, as editors save: a new file written beside, then moved over.
inline void saveByRename(const test::TempFolder& root, const std::string& path, const std::string& text) {
  root.write(path + ".tmp", text);
  std::filesystem::rename(root.path() / (path + ".tmp"), root.path() / path);
}

}  // namespace vorlanex::tool
