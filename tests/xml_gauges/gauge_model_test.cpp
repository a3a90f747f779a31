#include "gauge_model.h"

#include <array>

#include <gtest/gtest.h>

#include "gauge_macros.h"
#include "mouse_areas.h"

namespace vorlanex::gauges {
namespace {

GaugeModel read(const std::string& text, Findings& findings) {
  return readGaugeModel(text, {"cab!g", "g.xml", 0, ""}, findings);
}

TEST(GaugeModel, ReadsElementsNestedInFileOrderWithTheirScriptsLines) {
  Findings findings;
  const GaugeModel model = read(R"(<Gauge Name="door" Version="1.0">
  <Image Name="bg.bmp" ImageSizes="120,40"/>
  <Update Frequency="6">(A:EXIT OPEN:1, percent) 0 &gt; (&gt;L:open, bool)</Update>
  <element>
    <Position X="3" Y="4"/>
    <Visible>(L:power, bool)</Visible>
    <Select>
      <Value>
        (L:a, number) <Comment>why
        it adds</Comment> 1 +
        <![CDATA[ 2 < 3 ]]></Value>
      <Case Value="1"><Element><Shift><Value>(L:b, number)</Value></Shift></Element></Case>
    </Select>
    <Rotate><Value>(L:c, number)</Value></Rotate>
    <Text><String>%((L:d, number))%!d!</String></Text>
  </element>
</Gauge>)", findings);
  EXPECT_TRUE(findings.empty());
  EXPECT_EQ(model.width, 120.0);
  EXPECT_EQ(model.update.text, "(A:EXIT OPEN:1, percent) 0 > (>L:open, bool)");
  EXPECT_EQ(model.update.line, 3);
  EXPECT_EQ(model.updateFrequency, 6);
  ASSERT_EQ(model.elements.size(), 1u);
  const GaugeElement& element = model.elements[0];
  EXPECT_EQ(element.line, 4);
  EXPECT_EQ(element.x, 3.0);
  EXPECT_EQ(element.visible.text, "(L:power, bool)");
  ASSERT_EQ(element.values.size(), 2u);
  // The comment's lines stay: "1 +" stands on the second line of the script, the file's 10th.
  EXPECT_EQ(element.values[0].text, "(L:a, number) \n 1 +\n          2 < 3");
  EXPECT_EQ(element.values[0].line, 9);
  EXPECT_EQ(element.values[1].text, "(L:c, number)");
  ASSERT_EQ(element.strings.size(), 1u);
  EXPECT_EQ(element.strings[0].text, "%((L:d, number))%!d!");
  ASSERT_EQ(element.children.size(), 1u);
  EXPECT_EQ(element.children[0].values.at(0).text, "(L:b, number)");
  EXPECT_EQ(element.children[0].line, 12);
}

TEST(GaugeModel, PlacesNestedAreasAndTheirOneEdgeCuts) {
  Findings findings;
  const GaugeModel model = read(R"(<Gauge Name="knob">
  <Mouse>
    <Tooltip>Knob</Tooltip>
    <Area Left="10" Top="20" Width="40" Height="30">
      <Area Right="15"><Click Event="KOHLSMAN_DEC" Repeat="Yes"/></Area>
      <Area Left="15"><Click Kind="LeftSingle+Leave">1 (&gt;L:held, bool)</Click></Area>
      <Area Bottom="10"/>
      <Area Top="10" Height="5"/>
      <Area Left="2" Top="3" Width="4" Height="5"/>
    </Area>
  </Mouse>
</Gauge>)", findings);
  EXPECT_TRUE(findings.empty());
  ASSERT_TRUE(model.mouse);
  EXPECT_EQ(model.mouse->tooltip, "Knob");
  EXPECT_EQ(model.width, 50.0);  // no image: as far as the areas reach
  const MouseArea& outer = model.mouse->areas.at(0);
  std::vector<std::array<double, 4>> rects;
  for (const MouseArea& area : outer.areas) {
    rects.push_back({area.rect.left, area.rect.top, area.rect.width, area.rect.height});
  }
  EXPECT_EQ(rects, (std::vector<std::array<double, 4>>{
                       {10, 20, 15, 30}, {25, 20, 25, 30}, {10, 20, 40, 10}, {10, 30, 40, 5},
                       {12, 23, 4, 5}}));
  const Click& dec = outer.areas[0].clicks.at(0);
  EXPECT_EQ(dec.event, "KOHLSMAN_DEC");
  EXPECT_TRUE(dec.repeat);
  EXPECT_EQ(dec.kinds, std::vector<std::string>{"LeftSingle"});
  const Click& hold = outer.areas[1].clicks.at(0);
  EXPECT_EQ(hold.kinds, (std::vector<std::string>{"LeftSingle", "Leave"}));
  EXPECT_EQ(hold.script.text, "1 (>L:held, bool)");
}

TEST(MouseAreas, ChoosesTheAreaAClickMeans) {
  Findings findings;
  const GaugeModel model = read(R"(<Gauge Name="knob"><Image Name="b.bmp" ImageSizes="60,60"/>
  <Mouse><Tooltip>Panel</Tooltip><Click Kind="RightSingle">1</Click>
    <Area Left="10" Top="10" Width="40" Height="40"><Tooltip>Knob</Tooltip>
      <Area Right="20"><Tooltip>Down</Tooltip><Click>1</Click></Area>
      <Area Left="20"><Tooltip>Up</Tooltip><Click>1</Click></Area>
    </Area>
    <Area Left="0" Top="50" Width="10" Height="10"><Tooltip>Info</Tooltip></Area>
  </Mouse></Gauge>)", findings);
  ASSERT_TRUE(model.mouse);
  using By = AreaChoice::By;
  const struct {
    AreaChoice choice;
    int number;           // 0: none chosen
    const char* problem;  // then part of why
  } cases[] = {
      {{By::kOnly, "", 0, 0, 0}, 0, "has 3 areas with clicks"},
      {{By::kTooltip, " up ", 0, 0, 0}, 4, ""},
      {{By::kTooltip, "Knob", 0, 0, 0}, 2, ""},
      {{By::kTooltip, "Nope", 0, 0, 0}, 0, "no mouse area has the tooltip \"Nope\""},
      {{By::kNumber, "", 3, 0, 0}, 3, ""},
      {{By::kNumber, "", 6, 0, 0}, 0, "no mouse area #6"},
      {{By::kPoint, "", 0, 15, 15}, 3, ""},
      {{By::kPoint, "", 0, 45, 15}, 4, ""},
      {{By::kPoint, "", 0, 5, 55}, 1, ""},  // Info has no click: the gauge-wide one takes it
      {{By::kPoint, "", 0, 70, 70}, 0, "holds the point 70,70"},
  };
  for (const auto& c : cases) {
    const ChosenArea chosen = chooseArea(*model.mouse, c.choice);
    EXPECT_EQ(chosen.number, c.number) << chosen.problem;
    EXPECT_NE(chosen.problem.find(c.problem), std::string::npos) << chosen.problem;
    if (c.number == 0) {
      EXPECT_NE(chosen.problem.find("#4 \"Up\" at 30,10 20x40"), std::string::npos);
    }
  }
}

TEST(GaugeModel, ExpandsMacrosKeepingTheScriptsLines) {
  Findings findings;
  const GaugeModel model = read(R"(<Gauge Name="m">
  <Macro Name="name">L:cabin
fan</Macro>
  <Macro Name="Twice">@one @one</Macro>
  <Macro Name="one">1</Macro>
  <Update>(>@NAME, number)
@twice +</Update>
  <Keys><On Key="CTRL+F">@one</On></Keys>
</Gauge>)", findings);
  EXPECT_TRUE(findings.empty());
  EXPECT_EQ(model.update.text, "(>L:cabin fan, number)\n1 1 +");
  EXPECT_EQ(model.update.line, 6);
  ASSERT_EQ(model.keys.size(), 1u);
  EXPECT_EQ(model.keys[0].key, "CTRL+F");
  EXPECT_EQ(model.keys[0].script.text, "1");
}

TEST(GaugeMacros, ReplaceParametersByTheCallsArguments) {
  const std::map<std::string, std::string> macros{
      {"clear", "0 (>@1, enum)"}, {"fit", "@1 2 *"}, {"pair", "@2 @1"}, {"twice", "@1 @1"},
      {"v", "L:volume"}};
  for (const auto& [script, expanded] : std::initializer_list<std::pair<const char*, const char*>>{
           {"@Clear(L:Name)", "0 (>L:Name, enum)"},
           {"@Fit((@c:Length, meters))", "(@c:Length, meters) 2 *"},
           {"@Pair( a , (b, c) )", "(b, c) a"},
           {"@Twice(@Clear(L:a))", "0 (>L:a, enum) 0 (>L:a, enum)"},
           {"@Pair(x)", " x"},
           {"(>@v, number) @v(1)", "(>L:volume, number) L:volume(1)"},
           {"@Clear 1", "0 (>@1, enum) 1"},
           {"@Clear(L:a", "0 (>@1, enum)(L:a"},
       }) {
    MacroExpander expander(macros);
    std::string problem;
    EXPECT_EQ(expander.expand(script, problem).value_or("(none)"), expanded) << script;
    EXPECT_EQ(problem, "") << script;
  }
}

TEST(GaugeModel, StopsMacrosThatUseThemselvesOrGrowWithoutBound) {
  std::string text = "<Gauge Name=\"m\">\n<Macro Name=\"self\">1 @self</Macro>\n";
  text += "<Macro Name=\"big\">" + std::string(30000, '1') + "</Macro>\n";
  text += "<Update>@self</Update>\n<Element><Value>@big @big @big</Value></Element>\n";
  for (int i = 0; i < 200; ++i) text += "<Element><Value>@big</Value></Element>\n";
  text += "</Gauge>";
  Findings findings;
  const GaugeModel model = read(text, findings);
  EXPECT_TRUE(model.update.text.empty());
  EXPECT_EQ(model.update.line, 4);
  ASSERT_GE(findings.all().size(), 3u);
  EXPECT_NE(findings.all()[0].message.find("a macro that uses itself"), std::string::npos);
  EXPECT_EQ(findings.all()[1].site.line, 5);
  EXPECT_NE(findings.all()[1].message.find("grows past 65536"), std::string::npos);
  std::size_t total = 0;
  for (const GaugeElement& element : model.elements) total += element.values.at(0).text.size();
  EXPECT_GT(total, 0u);
  EXPECT_LE(total, std::size_t{1} << 22);
}

TEST(GaugeModel, TellsCustomDrawOncePerGauge) {
  Findings findings;
  read(R"(<Gauge Name="gps" Version="1.0">
  <Element><CustomDraw Name="fs9gps:map"/></Element>
  <Element><Select><Value>1</Value><Case Value="1">
    <CustomDraw Name="fs9gps:list"/></Case></Select></Element>
</Gauge>)", findings);
  ASSERT_EQ(findings.all().size(), 1u);
  EXPECT_EQ(findings.all()[0].site.line, 2);
  EXPECT_EQ(findings.all()[0].message,
            "<CustomDraw> elements are not simulated (the C module that draws one is not run): 2 "
            "uses in this gauge, the first here");
}

TEST(GaugeModel, TellsFilesThatAreNoGaugeWithTheirLine) {
  const struct {
    const char* text;
    int line;
    const char* message;
    bool read;  // the model was still read, leniently
  } cases[] = {
      {"<Gauge Name=\"a\">\n<Element>\n<Value>1</Valeu>\n</Element>\n</Gauge>", 3,
       "expected </Value>, found </Valeu>", true},
      {"<Gauge Name=\"a\">\n<Update>\n1 2 < 3\n</Update>\n</Gauge>", 3, "no XML", false},
      {"<SimBase.Document>\n</SimBase.Document>", 1, "not <Gauge>", false},
  };
  for (const auto& c : cases) {
    Findings findings;
    const GaugeModel model = read(c.text, findings);
    ASSERT_EQ(findings.all().size(), 1u) << c.text;
    EXPECT_EQ(findings.all()[0].site.line, c.line) << c.text;
    EXPECT_EQ(findings.all()[0].site.file, "g.xml");
    EXPECT_NE(findings.all()[0].message.find(c.message), std::string::npos)
        << findings.all()[0].message;
    EXPECT_EQ(model.elements.size(), c.read ? 1u : 0u) << c.text;
  }
}

}  // namespace
}  // namespace vorlanex::gauges
