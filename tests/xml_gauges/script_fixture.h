// A gauge script compiled and run against real variables: a LocalVariables
// panel, a simulated aircraft and the gauge's G: variables.
#pragma once

#include <string>

#include "script_program.h"

namespace vorlanex::gauges {

struct ScriptFixture {
  LocalVariables shared;
  SimulatedAircraft aircraft;
  Findings findings;
  double gaugeVariables[10] = {};
  ScriptContext context{shared, aircraft, findings, gaugeVariables, "", 0.0, 0.0, nullptr, nullptr, ""};

  Value run(const std::string& script, int line = 1) {
    const Program program = compileScript(script, {"test!gauge", "test.xml", line, ""}, context);
    return runScript(program, context);
  }
  // The findings' messages, one a line: "3: division by zero gives 0".
  std::string told() const {
    std::string text;
    for (const Finding& finding : findings.all()) {
      text += std::to_string(finding.site.line) + ": " + finding.message + "\n";
    }
    return text;
  }
};

}  // namespace vorlanex::gauges
