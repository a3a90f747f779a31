#include "gauge_bench_panel.h"

#include <string>
#include <vector>

namespace vorlanex::bench {

namespace {

constexpr int kWindows = 4;
constexpr int kGroups = 10;  // gauges share the switches of their group

// How a Lua plugin writes the XML's logic, and why it is the same work:
// - L: variables are the panel's named variables, which the sound module
//   reads too; Lua reaches them through C functions on the same
//   SharedVariables, by ids bound once at load as the compiler binds slots.
//   Every (L:...) read is one lget call and every (>L:...) write one lset
//   call, in the same order (the benchmark counts both sides' calls).
// - A:, E: and P: variables are read through a C function on the same
//   SimulatedAircraft, by slots bound at load, once per read in the XML.
// - G: variables are the closure's upvalues, registers are locals, and an
//   RPN "and" of two reads reads both before testing, as the stack does.
// - An XML (L:x, bool) reads as 0 or 1: Lua tests `~= 0`; a write of a bool
//   writes 1 or 0.
// - quit leaves the Update: Lua breaks out of a `repeat ... until true`.
// - Element scripts whose results the renderer takes compute them into
//   locals; a Visible of 0 skips the element's children in both. A
//   <String>'s "%( )%!4d!" is string.format of the same value.
struct Kind {
  const char* xml;     // the Update script
  const char* lua;     // the same, as a block of the gauge's function
  const char* locals;  // the Lua gauge's L: handles, "name=suffix" by blanks
};

const Kind kKinds[] = {
    // An edge detector on the engine's combustion driving a loop: it writes
    // 2 or 0 only when the condition changes.
    {R"((A:GENERAL ENG COMBUSTION:1, bool) (L:g$I_prev, bool) != if{
      (A:GENERAL ENG COMBUSTION:1, bool) if{ 2 } els{ 0 } (&gt;L:g$I_loop, number)
      (A:GENERAL ENG COMBUSTION:1, bool) (&gt;L:g$I_prev, bool) })",
     R"(
      local c = sim(COMB1) ~= 0
      if c ~= (lget(prev) ~= 0) then
        if sim(COMB1) ~= 0 then lset(loop, 2) else lset(loop, 0) end
        lset(prev, sim(COMB1) ~= 0 and 1 or 0)
      end)",
     "prev=prev loop=loop"},
    // An edge detector on the door: open and close sounds on its change.
    {R"((A:EXIT OPEN:1, percent) 50 &gt; (L:g$I_prev, bool) != if{
      (A:EXIT OPEN:1, percent) 50 &gt; if{ 1 (&gt;L:g$I_cmd, number) } els{ 2 (&gt;L:g$I_cmd, number) }
      (A:EXIT OPEN:1, percent) 50 > (>L:g$I_prev, bool) })",
     R"(
      local open = sim(EXIT1) > 50
      if open ~= (lget(prev) ~= 0) then
        if sim(EXIT1) > 50 then lset(cmd, 1) else lset(cmd, 2) end
        lset(prev, sim(EXIT1) > 50 and 1 or 0)
      end)",
     "prev=prev"},
    // A timer on P:Absolute time, started when the battery comes on.
    {R"((A:ELECTRICAL MASTER BATTERY, bool) (L:g$I_prev, bool) != if{
      (A:ELECTRICAL MASTER BATTERY, bool) d (&gt;L:g$I_prev, bool)
      if{ (P:Absolute time, seconds) (&gt;L:g$I_t0, number) 1 (&gt;L:g$I_timer_on, bool) } }
    (L:g$I_timer_on, bool) if{
      (P:Absolute time, seconds) (L:g$I_t0, number) - 2.5 &gt;
      if{ 0 (&gt;L:g$I_timer_on, bool) 1 (&gt;L:g$I_cmd, number) } })",
     R"(
      local b = sim(BAT) ~= 0
      if b ~= (lget(prev) ~= 0) then
        local on = sim(BAT) ~= 0 and 1 or 0
        lset(prev, on)
        if on ~= 0 then lset(t0, sim(TIME)); lset(timer_on, 1) end
      end
      if lget(timer_on) ~= 0 then
        if sim(TIME) - lget(t0) > 2.5 then lset(timer_on, 0); lset(cmd, 1) end
      end)",
     "prev=prev t0=t0 timer_on=timer_on"},
    // Volume from RPM behind a power gate, scaled and clamped, written every
    // sixth cycle by a G: counter.
    {R"((A:ELECTRICAL MASTER BATTERY, bool) if{
      (G:Var1) 1 + (&gt;G:Var1)
      (G:Var1) 6 &gt;= if{ 0 (&gt;G:Var1)
        (A:GENERAL ENG RPM:1, rpm) 400 - 2200 / 100 * 0 max 100 min (&gt;L:g$I_vol, number) } })",
     R"(
      if sim(BAT) ~= 0 then
        g1 = g1 + 1
        if g1 >= 6 then
          g1 = 0
          lset(vol, min(max((sim(RPM1) - 400) / 2200 * 100, 0), 100))
        end
      end)",
     "vol=vol"},
    // A latch reset when the engine stops, and a G: count-down after it.
    {R"((L:g$I_done, bool) ! (A:GENERAL ENG COMBUSTION:1, bool) and
      if{ 1 (&gt;L:g$I_cmd, number) 1 (&gt;L:g$I_done, bool) 18 (&gt;G:Var2) }
    (A:GENERAL ENG COMBUSTION:1, bool) ! (L:g$I_done, bool) &amp;&amp; if{ 0 (&gt;L:g$I_done, bool) }
    (G:Var2) 0 &gt; if{ (G:Var2) -- (&gt;G:Var2) (G:Var2) 0 == if{ 3 (&gt;L:g$I_cmd, number) } })",
     R"(
      local fresh, burning = lget(done) == 0, sim(COMB1) ~= 0
      if fresh and burning then lset(cmd, 1); lset(done, 1); g2 = 18 end
      local stopped, latched = sim(COMB1) == 0, lget(done) ~= 0
      if stopped and latched then lset(done, 0) end
      if g2 > 0 then
        g2 = g2 - 1
        if g2 == 0 then lset(cmd, 3) end
      end)",
     "done=done"},
    // Press and hold, as its Click leaves it, behind a power gate that quits.
    {R"((A:ELECTRICAL MASTER BATTERY, bool) ! if{ quit }
    (L:btn_$K, bool) (L:g$I_held, bool) != if{
      (L:btn_$K, bool) d (&gt;L:g$I_held, bool) if{ 1 } els{ 2 } (&gt;L:g$I_cmd, number) })",
     R"(
      repeat
        if sim(BAT) == 0 then break end
        local pressed = lget(btn) ~= 0
        if pressed ~= (lget(held) ~= 0) then
          local now = lget(btn) ~= 0 and 1 or 0
          lset(held, now)
          if now ~= 0 then lset(cmd, 1) else lset(cmd, 2) end
        end
      until true)",
     "held=held"},
};

// The elements every gauge has: a power gate over a Select of the switch and
// mode, an RPM needle using a register, and a flaps indicator behind a Visible
// built of string operators; a second group shown while the switch is off.
const char* const kElementsXml = R"(
  <Element>
    <Visible>$POWER</Visible>
    <Element>
      <Select>
        <Value>(L:switch_$K, bool) (L:mode_$K, number) 2 * +</Value>
        <Case Value="0"><Image Name="off.bmp"/></Case>
        <Case Value="1"><Image Name="on.bmp"/></Case>
        <Case Value="2"><Image Name="auto_off.bmp"/></Case>
        <Case Value="3"><Image Name="auto_on.bmp"/></Case>
      </Select>
    </Element>
    <Element>
      <Position X="30" Y="30"/>
      <Image Name="needle.bmp"><Axis X="2" Y="20"/></Image>
      <Rotate>
        <Value Minimum="0" Maximum="5">(A:GENERAL ENG RPM:1, rpm) s0 600 &gt; if{ l0 3000 min } els{ 0 } 3000 / 270 * dgrd</Value>
      </Rotate>
    </Element>
    <Element>
      <Visible>(L:mode_$K, number) 1 == if{ 'AU' 'TO' scat } els{ 'MAN' } 'AUTO' scmp !</Visible>
      <Element>
        <Image Name="flaps.bmp"/>
        <Shift><Value>(A:FLAPS HANDLE PERCENT, percent) 100 / 40 *</Value><Scale Y="1"/></Shift>
      </Element>
    </Element>
  </Element>
  <Element>
    <Visible>(L:switch_$K, bool) !</Visible>
    <Element>
      <Image Name="door.bmp"/>
      <Shift><Value>(A:EXIT OPEN:1, percent) 0 max 100 min 100 / 20 *</Value></Shift>
    </Element>
    <Element>
      <Select>
        <Value>(L:g$I_cmd, number) 3 min</Value>
        <Case Value="0"><Image Name="idle.bmp"/></Case>
        <Case Value="1"><Image Name="busy.bmp"/></Case>
      </Select>
    </Element>
  </Element>$READOUT
)";
constexpr int kElementScripts = 8;

// Every fourth gauge shows the RPM as text, formatted in every frame.
constexpr int kReadoutEvery = 4;
const char* const kReadoutXml = R"(
  <Element>
    <Position X="5" Y="45"/>
    <Text X="50" Y="12" Length="8" Font="Arial" Bright="Yes">
      <String>%((A:GENERAL ENG RPM:1, rpm) 10 / int)%!4d! RPM</String>
    </Text>
  </Element>)";
const char* const kReadoutLua = R"(
    local readout = format("%4d RPM", floor(sim(RPM1) / 10)))";

const char* const kElementsLua = R"(
    local on1, on2 = sim(BAT) ~= 0, sim(PANEL) ~= 0
    if on1 and on2 then
      local case = (lget(sw) ~= 0 and 1 or 0) + lget(mode) * 2
      local r0 = sim(RPM1)
      local angle
      if r0 > 600 then angle = min(r0, 3000) else angle = 0 end
      angle = rad(angle / 3000 * 270)
      local label
      if lget(mode) == 1 then label = "AU" .. "TO" else label = "MAN" end
      if label == "AUTO" then
        local shift = sim(FLAPS) / 100 * 40
      end
    end
    if lget(sw) == 0 then
      local shift = min(max(sim(EXIT1), 0), 100) / 100 * 20
      local case = min(lget(cmd), 3)
    end$READOUT)";

// A toggle, a press-and-hold button and a simulator event: compiled with the
// gauge, run only when clicked.
const char* const kMouseXml = R"(
  <Mouse>
    <Tooltip>Gauge $I</Tooltip>
    <Area Left="0" Top="0" Width="30" Height="30">
      <Cursor Type="Hand"/>
      <Click>(L:g$I_own, bool) ! (&gt;L:g$I_own, bool) 1 (&gt;L:g$I_click, number)</Click>
    </Area>
    <Area Left="30" Top="0" Width="30" Height="30">
      <Tooltip>Hold $I</Tooltip>
      <Click Kind="LeftSingle+Leave">(M:Event) 'LeftSingle' scmp 0 ==
        if{ 1 (&gt;L:btn_$K, bool) 1 (&gt;L:g$I_down, number) }
        els{ 0 (&gt;L:btn_$K, bool) 1 (&gt;L:g$I_up, number) }</Click>
    </Area>
    <Area Left="0" Top="30" Width="60" Height="30">
      <Click Event="TOGGLE_MASTER_BATTERY"/>
    </Area>
  </Mouse>
)";
constexpr int kMouseScripts = 2;

const char* const kPowerMacro =
    "(A:ELECTRICAL MASTER BATTERY, bool) (A:CIRCUIT GENERAL PANEL ON, bool) &amp;&amp;";

std::string fill(std::string text, int gauge, const char* readout) {
  const std::pair<std::string, std::string> marks[] = {
      {"$READOUT", gauge % kReadoutEvery == 0 ? readout : ""},
      {"$I", std::to_string(gauge)},
      {"$K", std::to_string(gauge % kGroups)},
      {"$POWER", gauge % 2 == 0 ? "@Power" : "(A:ELECTRICAL MASTER BATTERY, bool) "
                                             "(A:CIRCUIT GENERAL PANEL ON, bool) and"}};
  for (const auto& [mark, value] : marks) {
    for (std::size_t at = text.find(mark); at != std::string::npos;
         at = text.find(mark, at + value.size())) {
      text.replace(at, mark.size(), value);
    }
  }
  return text;
}

std::string gaugeXml(int gauge) {
  const Kind& kind = kKinds[gauge % std::size(kKinds)];
  std::string xml = "<Gauge Name=\"gauge_$I\" Version=\"1.0\">\n"
                    "  <Image Name=\"panel_$I.bmp\" ImageSizes=\"60,60\"/>\n";
  xml += std::string("  <Macro Name=\"Power\">") + kPowerMacro + "</Macro>\n";
  xml += std::string("  <Update>\n    ") + kind.xml + "\n  </Update>";
  xml += kElementsXml;
  xml += kMouseXml;
  xml += "</Gauge>\n";
  return fill(xml, gauge, kReadoutXml);
}

// A factory per gauge: its handles and G: variables are the closure's.
std::string gaugeLua(int gauge, std::vector<std::string>& variables) {
  const Kind& kind = kKinds[gauge % std::size(kKinds)];
  std::string lua = "gauges[#gauges + 1] = (function()\n";
  std::string locals = std::string(kind.locals) + " cmd=cmd";
  auto bind = [&](const std::string& local, const std::string& name) {
    lua += "  local " + local + " = lbind(\"" + name + "\")\n";
    variables.push_back(fill(name, gauge, ""));
  };
  for (std::size_t at = 0; at < locals.size();) {
    std::size_t end = locals.find(' ', at);
    if (end == std::string::npos) end = locals.size();
    const std::string pair = locals.substr(at, end - at);
    at = end + 1;
    if (pair.empty()) continue;
    const std::size_t eq = pair.find('=');
    bind(pair.substr(0, eq), "g$I_" + pair.substr(eq + 1));
  }
  bind("sw", "switch_$K");
  bind("mode", "mode_$K");
  bind("btn", "btn_$K");
  lua += "  local g1, g2 = 0, 0\n  return function()\n    do";
  lua += kind.lua;
  lua += "\n    end";
  lua += kElementsLua;
  lua += "\n  end\nend)()\n";
  return fill(lua, gauge, kReadoutLua);
}

const char* const kLuaHead = R"(local lbind, lget, lset, simbind, sim = lbind, lget, lset, simbind, sim
local min, max, rad, floor, format = math.min, math.max, math.rad, math.floor, string.format
local BAT = simbind("A", "ELECTRICAL MASTER BATTERY", 0)
local PANEL = simbind("A", "CIRCUIT GENERAL PANEL ON", 0)
local RPM1 = simbind("A", "GENERAL ENG RPM", 1)
local COMB1 = simbind("A", "GENERAL ENG COMBUSTION", 1)
local EXIT1 = simbind("A", "EXIT OPEN", 1)
local FLAPS = simbind("A", "FLAPS HANDLE PERCENT", 0)
local TIME = simbind("E", "ABSOLUTE TIME", 0)
local gauges = {}
)";

const char* const kLuaTail = R"(
return function()
  for i = 1, #gauges do gauges[i]() end
end
)";

}  // namespace

BenchPanel makeBenchPanel(int count) {
  BenchPanel panel;
  for (int w = 0; w < kWindows; ++w) {
    gauges::PanelWindowSection window;
    window.section = "Window0" + std::to_string(w);
    window.title = "Bench " + std::to_string(w);
    window.width = 1024;
    window.height = 768;
    panel.windows.push_back(window);
  }
  panel.lua = kLuaHead;
  for (int g = 0; g < count; ++g) {
    gauges::PanelGaugeLine gaugeLine;
    const int window = g * kWindows / count;
    gaugeLine.section = panel.windows[window].section;
    gaugeLine.name = "bench_gauges!gauge_" + std::to_string(g);
    gaugeLine.file = "Gauges/bench_gauges.cab:gauge_" + std::to_string(g) + ".xml";
    gaugeLine.text = gaugeXml(g);
    gaugeLine.line = 2 + g + window;
    gaugeLine.x = (g % 16) * 60;
    gaugeLine.y = (g / 16 % 12) * 60;
    gaugeLine.width = gaugeLine.height = 60;
    panel.gauges.push_back(gaugeLine);
    panel.scripts += 1 + kElementScripts + kMouseScripts + (g % kReadoutEvery == 0 ? 1 : 0);
    panel.lua += gaugeLua(g, panel.variables);
  }
  panel.lua += kLuaTail;
  return panel;
}

BenchInputs::BenchInputs(gauges::SharedVariables& shared, gauges::SimulatedAircraft& aircraft,
                         int count)
    : shared_(shared),
      aircraft_(aircraft),
      rpm_(aircraft.bind('A', "GENERAL ENG RPM", 1)),
      combustion_(aircraft.bind('A', "GENERAL ENG COMBUSTION", 1)),
      battery_(aircraft.bind('A', "ELECTRICAL MASTER BATTERY", 0)),
      panel_(aircraft.bind('A', "CIRCUIT GENERAL PANEL ON", 0)),
      exit_(aircraft.bind('A', "EXIT OPEN", 1)),
      flaps_(aircraft.bind('A', "FLAPS HANDLE PERCENT", 0)) {
  for (int k = 0; k < kGroups; ++k) {
    switches_.push_back(shared.bind("switch_" + std::to_string(k)));
    modes_.push_back(shared.bind("mode_" + std::to_string(k)));
    buttons_.push_back(shared.bind("btn_" + std::to_string(k)));
  }
  for (int g = 0; g < count; ++g) commands_.push_back(shared.bind("g" + std::to_string(g) + "_cmd"));
}

void BenchInputs::apply(int frame) {
  static const gauges::ScriptSite script;
  const double rpm = frame * 13 % 2700;
  aircraft_.set(rpm_, rpm);
  aircraft_.set(combustion_, rpm > 600 ? 1 : 0);
  const double battery = frame / 250 % 5 != 4 ? 1 : 0;
  aircraft_.set(battery_, battery);
  aircraft_.set(panel_, battery);
  aircraft_.set(exit_, frame / 180 % 2 * 100);
  aircraft_.set(flaps_, frame % 400 / 4.0);
  if (frame % 45 == 0) {
    const int k = frame / 45 % kGroups;
    shared_.set(switches_[k], 1 - shared_.get(switches_[k]), script);
    shared_.set(modes_[k], static_cast<int>(shared_.get(modes_[k]) + 1) % 3, script);
    shared_.set(buttons_[k], 1 - shared_.get(buttons_[k]), script);
  }
  shared_.set(commands_[frame % commands_.size()], 0, script);
}

}  // namespace vorlanex::bench
