#include "timeline_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "report_text.h"

namespace vorlanex::tool {
namespace {

constexpr double kLabelWidth = 230;
constexpr double kLaneHeight = 30;
constexpr double kTop = 70;  // title and time axis above the lanes
constexpr double kRightMargin = 20;

std::string escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // Panel files are 8-bit text of unknown code page: only ASCII is
        // sure to be valid UTF-8, and XML allows no control characters.
        const auto byte = static_cast<unsigned char>(c);
        out += (byte < 0x20 || byte > 0x7e) ? '?' : c;
    }
  }
  return out;
}

std::string px(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// A name as a CSS class: "playing once" is "playing-once".
std::string cssClass(std::string name) {
  for (char& c : name) {
    if (c == ' ') c = '-';
  }
  return name;
}

class Drawing {
 public:
  explicit Drawing(const Timeline& timeline)
      : timeline_(timeline),
        scale_(std::clamp(1000.0 / std::max(timeline.duration, 0.1), 20.0, 200.0)) {}

  double x(double time) const { return kLabelWidth + time * scale_; }
  double width() const { return x(timeline_.duration) + kRightMargin; }
  double laneY(std::size_t lane) const { return kTop + static_cast<double>(lane) * kLaneHeight; }
  double height() const { return laneY(timeline_.sounds.size() + 1) + 30; }

  std::string axis() const {
    const double step = timeline_.duration > 60 ? 10 : timeline_.duration > 12 ? 5 : 1;
    std::string out = "<g class=\"axis\">\n";
    for (double t = 0; t <= timeline_.duration + 1e-9; t += step) {
      out += "<line x1=\"" + px(x(t)) + "\" y1=\"" + px(kTop - 8) + "\" x2=\"" + px(x(t)) +
             "\" y2=\"" + px(height() - 30) + "\" class=\"tick\"/>\n";
      out += "<text x=\"" + px(x(t)) + "\" y=\"" + px(kTop - 12) + "\" class=\"time\">" +
             shortNumber(t) + " s</text>\n";
    }
    return out + "</g>\n";
  }

  std::string label(std::size_t lane, const std::string& text) const {
    return "<text x=\"8\" y=\"" + px(laneY(lane) + 19) + "\" class=\"label\">" + escape(text) +
           "</text>\n";
  }

  std::string span(std::size_t lane, double start, double end, const std::string& cssClass,
                   const std::string& caption, const std::string& tip) const {
    const double left = x(start);
    const double w = std::max(x(end) - left, 1.0);
    std::string out = "<g class=\"span " + cssClass + "\"><title>" + escape(tip) + "</title>";
    out += "<rect x=\"" + px(left) + "\" y=\"" + px(laneY(lane) + 4) + "\" width=\"" + px(w) +
           "\" height=\"" + px(kLaneHeight - 8) + "\"/>";
    if (!caption.empty() && w > 8.0 * static_cast<double>(caption.size())) {
      out += "<text x=\"" + px(left + 4) + "\" y=\"" + px(laneY(lane) + 19) + "\">" +
             escape(caption) + "</text>";
    }
    return out + "</g>\n";
  }

  std::string switchLane() const {
    std::string out = "<g class=\"lane\" id=\"simulator-sound\">\n" + label(0, "simulator sound");
    for (const SwitchSpan& s : timeline_.simulatorSound) {
      const std::string name = settingName(s.setting);
      out += span(0, s.start, s.end, cssClass(name), name,
                  "simulator sound " + name + ", " + shortNumber(s.start) + " s to " +
                      shortNumber(s.end) + " s");
    }
    return out + "</g>\n";
  }

  std::string soundLane(const SoundLane& sound) const {
    const std::size_t lane = static_cast<std::size_t>(sound.index) + 1;
    char id[32];
    std::snprintf(id, sizeof id, "sound-%02d", sound.index);
    std::string out = "<g class=\"lane\" id=\"" + std::string(id) + "\" data-variable=\"" +
                      escape(sound.variable) + "\">\n" +
                      label(lane, std::string(id + 6) + "  " + sound.variable);
    out += "<line x1=\"" + px(x(0)) + "\" y1=\"" + px(laneY(lane) + 15) + "\" x2=\"" +
           px(x(timeline_.duration)) + "\" y2=\"" + px(laneY(lane) + 15) + "\" class=\"idle\"/>\n";
    for (const SoundSpan& s : sound.spans) out += soundSpan(lane, s);
    for (const ValueMark& v : sound.values) {
      const char* writer = v.byModule ? " module" : v.byGauge.empty() ? " script" : " gauge";
      out += "<text x=\"" + px(x(v.time) + 2) + "\" y=\"" + px(laneY(lane) + kLaneHeight - 1) +
             "\" class=\"value" + writer + "\">" + shortNumber(v.value) +
             (v.byGauge.empty() ? "" : "<title>written by " + escape(v.byGauge) + "</title>") +
             "</text>\n";
    }
    return out + "</g>\n";
  }

  std::string soundSpan(std::size_t lane, const SoundSpan& s) const {
    std::string caption = activityName(s.activity);
    if (s.activity == SoundActivity::kOnce || s.activity == SoundActivity::kLooping) {
      // Pans are hundredths of a decibel taken off the far channel.
      if (s.pan != 0) caption += ", pan " + shortNumber(s.pan / 100.0) + " dB";
      if (s.volumePercent) caption += ", " + shortNumber(*s.volumePercent) + " %";
    }
    return span(lane, s.start, s.end, cssClass(activityName(s.activity)), caption,
                caption + ", " + shortNumber(s.start) + " s to " + shortNumber(s.end) + " s");
  }

  std::string stopAll() const {
    std::string out = "<g class=\"stop-all\">\n";
    for (const double t : timeline_.stopAll) {
      out += "<line x1=\"" + px(x(t)) + "\" y1=\"" + px(laneY(1)) + "\" x2=\"" + px(x(t)) +
             "\" y2=\"" + px(laneY(timeline_.sounds.size() + 1)) + "\"><title>stop all at " +
             shortNumber(t) + " s</title></line>\n";
    }
    return out + "</g>\n";
  }

  std::string expects() const {
    std::string out = "<g class=\"expects\">\n";
    for (const ExpectMark& e : timeline_.expects) {
      const double cx = x(e.time);
      out += std::string("<path class=\"expect ") + (e.passed ? "passed" : "failed") + "\" d=\"M" +
             px(cx - 5) + " " + px(kTop - 34) + " L" + px(cx + 5) + " " + px(kTop - 34) + " L" +
             px(cx) + " " + px(kTop - 26) + " Z\"><title>line " + std::to_string(e.line) + ": " +
             escape(e.text) + (e.passed ? "" : " (failed)") + "</title></path>\n";
    }
    return out + "</g>\n";
  }

 private:
  const Timeline& timeline_;
  double scale_;  // pixels per second
};

constexpr const char* kStyle = R"(<style>
text { font-family: sans-serif; font-size: 12px; fill: #222; }
.title { font-size: 15px; font-weight: bold; }
.time { font-size: 10px; fill: #666; }
.tick { stroke: #e4e4e4; }
.idle { stroke: #bbb; stroke-dasharray: 2 3; }
.span text { font-size: 10px; fill: #fff; }
.playing-once rect { fill: #2f6fb5; }
.looping rect { fill: #2e8b57; }
.missing rect { fill: #c0392b; }
.on rect { fill: #9cc99c; }
.off rect { fill: #777; }
.absent rect { fill: #ddd; }
.absent text { fill: #555; }
.value { font-size: 9px; }
.value.module { fill: #b35c00; }
.value.script { fill: #444; }
.value.gauge { fill: #6a3d9a; font-weight: bold; }
.stop-all line { stroke: #d62728; stroke-width: 2; }
.expect.passed { fill: #2e8b57; }
.expect.failed { fill: #d62728; }
</style>
)";

}  // namespace

std::string timelineSvg(const Timeline& timeline, const std::string& title) {
  const Drawing d(timeline);
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + px(d.width()) + "\" height=\"" +
         px(d.height()) + "\" viewBox=\"0 0 " + px(d.width()) + " " + px(d.height()) + "\">\n";
  svg += kStyle;
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
  svg += "<text x=\"8\" y=\"20\" class=\"title\">" + escape(title) + "</text>\n";
  svg += "<text x=\"8\" y=\"" + px(d.height() - 10) +
         "\" class=\"time\">blue: playing once, green: looping, red: file missing; numbers: the "
         "variable's values (orange: written by the module, purple: by a gauge); red lines: stop all</text>\n";
  svg += d.axis();
  svg += d.switchLane();
  for (const SoundLane& sound : timeline.sounds) svg += d.soundLane(sound);
  svg += d.stopAll();
  svg += d.expects();
  return svg + "</svg>\n";
}

}  // namespace vorlanex::tool
