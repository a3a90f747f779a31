// The page's actions on the panel's gauges: areas, windows and aircraft
// variables named by index, refused unless the page could have asked for
// them, and written as the script steps `run --panel` replays.
#include <gtest/gtest.h>

#include "gauge_view.h"
#include "page_actions.h"
#include "shared_variables.h"

namespace vorlanex::tool {
namespace {

constexpr const char* kChime = R"(<Gauge Name="chime" Version="1.0">
  <Update>(E:ABSOLUTE TIME, seconds) (A:EXIT OPEN, percent) + (>L:seen, number)</Update>
  <Mouse><Area Left="0" Top="0" Width="40" Height="40"><Tooltip>Chime</Tooltip>
    <Click Kind="LeftSingle+Leave">1 (>L:chime, number)</Click></Area></Mouse>
</Gauge>)";

struct GaugeSession {
  gauges::LocalVariables shared;
  gauges::SimulatedAircraft aircraft;
  gauges::GaugePanel panel{{{"Window00", "", "Main", true, 100, 100},
                            {"Window01", "10101", "Door", false, 100, 100}},
                           {{"Window00", "Cabin!chime", "chime.xml", kChime, 3, 10, 10, 80, 80},
                            {"Window01", "Cabin!chime", "chime.xml", kChime, 7, 0, 0, 40, 40}},
                           shared, aircraft};
  GaugeView view{panel, aircraft, [](int, const std::string&) { return std::optional<std::string>(); }, "/sim"};
  SimulatorSide simulator{true, true, {true, false}};

  // The step's text, or the refusal.
  std::string act(const std::string& body) {
    const PageAction action = readPageAction(body, PanelFacts{}, simulator, &view);
    if (!action.refusal.empty()) return "refused";
    return stepText(action.steps.at(0), Digits::kShort);
  }
};

TEST(ConsoleGauges, ActionsBecomeStepsOnlyWhereThePageCouldAskForThem) {
  GaugeSession s;
  const int exitOpen = s.view.settable(0) ? 0 : 1;  // the clock's comes first or second
  const struct { std::string body, step; } cases[] = {
      {R"({"do":"click","gauge":0,"area":1,"kind":"LeftSingle"})", "click Cabin!chime #1"},
      {R"({"do":"click","gauge":0,"area":1,"kind":"Leave"})", "click Cabin!chime #1 as Leave"},
      {R"({"do":"click","gauge":0,"area":1,"kind":"RightSingle"})", "refused"},
      {R"({"do":"click","gauge":0,"area":2,"kind":"LeftSingle"})", "refused"},
      {R"({"do":"click","gauge":0,"area":1.5,"kind":"LeftSingle"})", "refused"},
      // A drag or a wheel tells the point, which must be in the area.
      {R"({"do":"click","gauge":0,"area":1,"kind":"Leave","x":12.5,"y":3})", "click Cabin!chime at 12.5,3 as Leave"},
      {R"({"do":"click","gauge":0,"area":1,"kind":"Leave","x":40,"y":3})", "refused"},
      {R"({"do":"click","gauge":0,"area":1,"kind":"Leave","x":-1,"y":3})", "refused"},
      {R"({"do":"click","gauge":2,"area":1,"kind":"LeftSingle"})", "refused"},
      {R"({"do":"click","gauge":1,"area":1,"kind":"LeftSingle"})", "refused"},  // closed
      {R"({"do":"window","window":1,"open":true})", "open Window01"},
      {R"({"do":"click","gauge":1,"area":1,"kind":"LeftSingle"})",
       "click Window01/Cabin!chime #1"},
      {R"({"do":"aircraft","variable":)" + std::to_string(exitOpen) + R"(,"value":0.4})",
       "set (A:EXIT OPEN, percent over 100) 0.4"},  // the unit the aircraft holds it in
      {R"({"do":"aircraft","variable":)" + std::to_string(1 - exitOpen) + R"(,"value":4})",
       "refused"},
      {R"({"do":"event","event":"TOGGLE_MASTER_BATTERY"})", "event TOGGLE_MASTER_BATTERY"},
      {R"({"do":"event","event":"NO_SUCH_EVENT"})", "refused"},
  };
  for (const auto& c : cases) EXPECT_EQ(s.act(c.body), c.step) << c.body;
  EXPECT_EQ(s.view.imagePng(0), std::nullopt);  // none decoded: the gauges have no bitmaps
}
// A tooltip written as a gauge string is shown formatted from the panel's
// variables, and formatting it writes nothing and names nothing new.
TEST(ConsoleGauges, ATooltipWrittenAsAGaugeStringIsFormattedWithoutWriting) {
  const std::string gauge = R"(<Gauge Name="rpm" Version="1.0"><Mouse><Area Left="0" Top="0" Width="9" Height="9">
    <Tooltip>%((L:rpm, number) 2 * d (&gt;L:rpm, number) (L:nowhere, number) +)%!d! rpm</Tooltip>
    <Click>1 (&gt;L:rpm, number)</Click></Area></Mouse></Gauge>)";
  gauges::LocalVariables shared;
  gauges::SimulatedAircraft aircraft;
  gauges::GaugePanel panel{{{"Window00", "", "Main", true, 100, 100}},
                           {{"Window00", "Cabin!rpm", "rpm.xml", gauge, 3, 0, 0, 9, 9}}, shared, aircraft};
  host::NamedVariables variables;
  variables.set(variables.registerName("rpm"), 21);
  TooltipTexts tooltips(aircraft);
  EXPECT_EQ(tooltips.formattedJson(panel, variables), R"({"0:1":"42 rpm"})");
  EXPECT_EQ(variables.valueOf("rpm"), 21);
  EXPECT_EQ(variables.names().size(), 1u);
}

}  // namespace
}  // namespace vorlanex::tool
