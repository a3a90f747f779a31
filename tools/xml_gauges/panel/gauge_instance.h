// One XML gauge line of the panel: its file read into the model, every script
// compiled once when the panel is built, and its own G:Var1 to G:Var9.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "cycle_program.h"
#include "gauge_model.h"
#include "gauge_panel.h"
#include "gauge_string.h"
#include "script_program.h"
#include "script_stack.h"

namespace vorlanex::gauges {

class GaugeInstance final : private CycleStrings {
 public:
  GaugeInstance(const PanelGaugeLine& gaugeLine, SharedVariables& shared, SimulatedAircraft& aircraft,
                Findings& findings);
  GaugeInstance(const GaugeInstance&) = delete;
  GaugeInstance& operator=(const GaugeInstance&) = delete;

  const GaugeModel& model() const { return model_; }

  // Takes on the G: variables of the gauge it replaces.
  void keepGaugeVariables(const GaugeInstance& replaced);
  // G:Var1 to G:Var9 at [1] to [9], as the last cycle left them.
  const double* gaugeVariables() const { return gaugeVariables_; }

  // One panel cycle of `seconds`: the Update, then the elements depth-first,
  // as often as the gauge's Update Frequency lets it, on `stack`, cleared
  // first (the panel's one stack: the gauges' cycles follow each other, and
  // one stack stays in the nearer caches). A string whose text changed is
  // told to `strings` when given.
  void runFrame(double seconds, ScriptStack& stack, const StringListener* strings = nullptr);

  // Runs the clicks of the chosen area that listen to `kind`, each on a
  // fresh stack: a click comes between cycles, not within one.
  ClickOutcome click(const AreaChoice& choice, const std::string& kind);

  // Runs the <Keys> handlers of `key` (an On Key's or an On Event's name),
  // (M:Key) giving the name; how many ran.
  int pressKey(const std::string& key);

  // The file lines of the elements whose <BlinkCode> gave other than 0 when
  // they last ran, for drawing.
  std::vector<int> blinkingElements() const;

  // What the gauge's elements gave when they last ran, for drawing, by the
  // element's place in depth-first order (the order the cycle runs them).
  // Nothing is run again to draw: scripts have side effects.
  // Whether the element's Visible showed; true for one without Visible.
  bool elementShown(int element) const;
  // The number its `values[value]` gave, 0 before it first ran.
  double elementValue(int element, int value) const;
  // The text its `strings[string]` showed, empty before it first ran.
  const std::string& elementText(int element, int string) const;

 private:
  struct CompiledString {
    ScriptSite site;
    GaugeString text;
    std::string shown;  // as last formatted
  };
  struct BlinkingElement {
    int line;
    int slot;  // in blinks_
  };
  // Where an element's results are kept (in results_, strings_).
  struct ElementSlots {
    int visible = -1;                // -1: no Visible
    int firstValue = 0;              // its values in file order from there on
    std::vector<int> strings;        // by its `strings`; -1 for one without text
  };
  struct CompiledClick {
    ScriptSite site;
    Program script;
  };

  ScriptContext context();
  ScriptSite siteOf(int line, const std::string& text) const;
  Program compile(const ScriptText& script);
  // Compiles the element's scripts and its children's into the cycle, in run order.
  void layOutElement(const GaugeElement& element);
  void compileClicks(const MouseArea& area);
  void format(int index, ScriptContext& context) override;
  bool areaShown(const MouseArea& area);

  const PanelGaugeLine& line_;
  SharedVariables& shared_;
  SimulatedAircraft& aircraft_;
  Findings& findings_;
  GaugeModel model_;
  double gaugeVariables_[10] = {};  // G:Var1 to G:Var9 at [1] to [9]
  CycleProgram cycle_;
  std::vector<CompiledString> strings_;   // by the cycle's string index
  std::vector<BlinkingElement> blinking_;  // the elements with a BlinkCode, depth-first
  std::vector<uint8_t> blinks_;           // whether each blink code's value showed when it last ran
  std::vector<double> results_;           // the Values' and Visibles' numbers when they last ran
  std::vector<ElementSlots> elementSlots_;  // depth-first
  const StringListener* listener_ = nullptr;  // while a cycle runs
  std::map<const Click*, CompiledClick> clicks_;
  std::map<const MouseArea*, Program> areaVisibles_;
  std::vector<Program> keys_;  // by model_.keys
  double untilDue_ = 0.0;      // seconds until a gauge with an Update Frequency runs again
};

}  // namespace vorlanex::gauges
