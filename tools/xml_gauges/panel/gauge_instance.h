// One XML gauge line of the panel: its file read into the model, every script
// compiled once when the panel is built, and its own G:Var1 to G:Var9.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "gauge_model.h"
#include "gauge_panel.h"
#include "gauge_string.h"
#include "script_program.h"

namespace vorlanex::gauges {

class GaugeInstance {
 public:
  GaugeInstance(const PanelGaugeLine& gaugeLine, SharedVariables& shared, SimulatedAircraft& aircraft,
                Findings& findings);
  GaugeInstance(const GaugeInstance&) = delete;
  GaugeInstance& operator=(const GaugeInstance&) = delete;

  const GaugeModel& model() const { return model_; }

  // One panel cycle of `seconds`: the Update, then the elements depth-first,
  // as often as the gauge's Update Frequency lets it.
  void runFrame(double seconds);

  // Runs the clicks of the chosen area that listen to `kind`.
  ClickOutcome click(const AreaChoice& choice, const std::string& kind);

 private:
  struct CompiledElement {
    bool hasVisible = false;
    Program visible;
    std::vector<Program> values;
    std::vector<GaugeString> strings;
    std::vector<CompiledElement> children;
  };
  struct CompiledClick {
    ScriptSite site;
    Program script;
  };

  ScriptContext context();
  ScriptSite siteOf(int line, const std::string& text) const;
  Program compile(const ScriptText& script);
  CompiledElement compileElement(const GaugeElement& element);
  void compileClicks(const MouseArea& area);
  void runElement(const CompiledElement& element, ScriptContext& context);

  const PanelGaugeLine& line_;
  SharedVariables& shared_;
  SimulatedAircraft& aircraft_;
  Findings& findings_;
  GaugeModel model_;
  double gaugeVariables_[10] = {};  // G:Var1 to G:Var9 at [1] to [9]
  Program update_;
  std::vector<CompiledElement> elements_;
  std::map<const Click*, CompiledClick> clicks_;
  std::vector<Program> keys_;  // compiled for their findings; no step presses keys yet
  double untilDue_ = 0.0;      // seconds until a gauge with an Update Frequency runs again
};

}  // namespace vorlanex::gauges
