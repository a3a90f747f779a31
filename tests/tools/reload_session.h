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

#include "console_parts.h"
#include "support/built_files.h"
#include "support/temp_folder.h"

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

// A console session on the panel written into a fresh root, its frames played until a
// list of phases has run: each does something, then waits for a condition of
// the panel's variables, which must come within a generous limit.
struct ReloadSession {
  struct Phase {
    std::function<void()> act;
    std::function<bool()> until;
    const char* what;
  };

  explicit ReloadSession(const test::TempFolder& root, std::string render = "") {
    root.write("Gauges/t.ini", kIni);
    root.write("Aircraft/T/panel/panel.cfg", kPanel);
    root.write(kGaugePath, counter(1));
    request.parameters = "./Gauges/t.ini";
    request.panelConfig = (root.path() / "Aircraft/T/panel/panel.cfg").string();
    request.panelShown = "Aircraft/T/panel/panel.cfg";
    request.globalDllPath = test::globalDllPath();
    request.framesPerSecond = 100.0;
    request.audio.renderFile = std::move(render);
  }

  host::NamedVariables& variables() { return parts->panel.runner().host().variables(); }
  double value(const std::string& name) { return variables().valueOf(name); }
  void set(const std::string& name, double value) { variables().set(variables().registerName(name), value); }

  // Runs the phases; `frame` counts the frames started.
  void play(std::vector<Phase> phases) {
    std::FILE* out = std::tmpfile();
    parts.emplace(request, out, nullptr);
    parts->reload.start();
    std::size_t next = 0;
    bool acted = false;
    auto limit = std::chrono::steady_clock::now();
    parts->panel.play(parts->session, out, [&] {
      ++frame;
      if (next == phases.size()) return true;
      if (!acted) {
        if (phases[next].act) phases[next].act();
        acted = true;
        limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      } else if (phases[next].until()) {
        ++next;
        acted = false;
      } else if (std::chrono::steady_clock::now() > limit) {
        ADD_FAILURE() << "never came: " << phases[next].what;
        return true;
      }
      return false;
    });
    reloads = reloadNotes();
    panel = json::parse(parts->session.stateAfter(-1, std::chrono::milliseconds(0)))["panel"];
    script = parts->session.script();
    parts.reset();  // the rendering ends with the panel
    std::fclose(out);
  }

  // The page's list of the reloads so far.
  json reloadNotes() { return json::parse(parts->session.stateAfter(-1, std::chrono::milliseconds(0)))["reloads"]; }

  // The reloads so far whose note mentions `text`.
  int reloadsSaying(const std::string& text) {
    int count = 0;
    for (const json& note : reloadNotes()) count += note.dump().find(text) != std::string::npos;
    return count;
  }

  ConsoleRequest request;
  std::optional<ConsoleParts> parts;
  int frame = -1;
  json reloads;
  json panel;  // the facts a page opened at the end is sent
  std::string script;
};

// A save by rename, as editors save: a new file written beside, then moved over.
inline void saveByRename(const test::TempFolder& root, const std::string& path, const std::string& text) {
  root.write(path + ".tmp", text);
  std::filesystem::rename(root.path() / (path + ".tmp"), root.path() / path);
}

}  // namespace vorlanex::tool
