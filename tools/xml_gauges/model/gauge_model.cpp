#include "gauge_model.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "gauge_macros.h"
#include "gauge_xml.h"
#include "mouse_areas.h"
#include "text_case.h"

namespace vorlanex::gauges {
namespace {

void tellAt(const GaugeXml& xml, const ScriptSite& file, Findings& findings, int line,
            std::string message) {
  ScriptSite site = file;
  site.line = line;
  findings.add(scriptLineSite(site, 0, xml.fromLine(line)), std::move(message));
}

// Walks the parsed file into the model, expanding macros in every script.
class ModelReader {
 public:
  ModelReader(const GaugeXml& xml, const ScriptSite& file, Findings& findings, GaugeModel& model)
      : xml_(xml), file_(file), findings_(findings), model_(model), macros_(model.macros) {}

  void read(const XmlNode* gauge);

 private:
  void tell(int line, std::string message) {
    tellAt(xml_, file_, findings_, line, std::move(message));
  }
  void collectMacros(const XmlNode* node);
  ScriptText script(const XmlNode* node);
  void readImage(const XmlNode* node);
  std::optional<DeclaredImageSize> noteImageSizes(const XmlNode* node);
  GaugeElement readElement(const XmlNode* node);
  void readElementParts(const XmlNode* node, GaugeElement& element);
  void readDrawingPart(const XmlNode* parent, const XmlNode* child, ElementDrawing& drawing);
  MouseArea readArea(const XmlNode* node, const Rect& rect);
  Click readClick(const XmlNode* node);
  void readKeys(const XmlNode* node);
  Rect mouseExtent(const XmlNode* mouse) const;

  const GaugeXml& xml_;
  const ScriptSite& file_;
  Findings& findings_;
  GaugeModel& model_;
  MacroExpander macros_;
};

// Element children with their names, skipping text and comments.
template <typename Visit>
void forEachElement(const XmlNode* node, Visit visit) {
  for (auto* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() == rapidxml::node_element) visit(child);
  }
}

const XmlNode* firstNamed(const XmlNode* node, std::string_view name) {
  for (auto* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    if (isNamed(child, name)) return child;
  }
  return nullptr;
}

std::optional<double> optionalNumber(const XmlNode* node, std::string_view name) {
  if (!attributeOf(node, name)) return std::nullopt;
  return numberAttribute(node, name);
}

// Runs a second, from 1 on; not given, or no number, is 0: every cycle.
int frequencyOf(const XmlNode* update) {
  constexpr double kMost = 1000.0;  // far above any panel's cycle
  const double frequency = numberAttribute(update, "Frequency");
  if (!(frequency > 0.0)) return 0;
  return static_cast<int>(std::clamp(std::ceil(frequency), 1.0, kMost));
}

std::vector<std::string> splitKinds(const std::string& kinds) {
  std::vector<std::string> out;
  std::istringstream in(kinds);
  for (std::string kind; std::getline(in, kind, '+');) {
    kind.erase(0, kind.find_first_not_of(" \t"));
    kind.erase(kind.find_last_not_of(" \t") + 1);
    if (!kind.empty()) out.push_back(kind);
  }
  if (out.empty()) out.push_back("LeftSingle");
  return out;
}

void ModelReader::collectMacros(const XmlNode* node) {
  forEachElement(node, [&](const XmlNode* child) {
    if (!isNamed(child, "Macro")) return collectMacros(child);
    const auto name = attributeOf(child, "Name");
    if (!name) return tell(xml_.lineOf(child), "a <Macro> without a Name");
    std::string body = scriptOf(xml_, child).text;
    std::replace_if(body.begin(), body.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    model_.macros[lowerCase(*name)] = std::move(body);
  });
}

ScriptText ModelReader::script(const XmlNode* node) {
  ScriptText script = scriptOf(xml_, node);
  std::string problem;
  if (auto expanded = macros_.expand(script.text, problem)) {
    script.text = std::move(*expanded);
  } else {
    tell(script.line, problem);
    script.text.clear();
  }
  return script;
}

void ModelReader::read(const XmlNode* gauge) {
  model_.name = attributeOf(gauge, "Name").value_or("");
  collectMacros(gauge);
  const XmlNode* mouse = nullptr;
  forEachElement(gauge, [&](const XmlNode* child) {
    if (isNamed(child, "Image") && model_.image.empty()) {
      readImage(child);
    } else if (isNamed(child, "Update") && !model_.update.present()) {
      model_.update = script(child);
      model_.updateFrequency = frequencyOf(child);
    } else if (isNamed(child, "Element")) {
      model_.elements.push_back(readElement(child));
    } else if (isNamed(child, "Mouse") && mouse == nullptr) {
      mouse = child;
    } else if (isNamed(child, "Keys")) {
      readKeys(child);
    }
  });
  if (mouse == nullptr) return;
  if (model_.width <= 0.0 || model_.height <= 0.0) {
    const Rect extent = mouseExtent(mouse);
    model_.width = extent.width;
    model_.height = extent.height;
  }
  model_.mouse = readArea(mouse, {0.0, 0.0, model_.width, model_.height});
}

void ModelReader::readImage(const XmlNode* node) {
  model_.image = attributeOf(node, "Name").value_or("");
  if (const auto size = noteImageSizes(node)) {
    model_.width = size->width;
    model_.height = size->height;
  }
}

std::optional<DeclaredImageSize> ModelReader::noteImageSizes(const XmlNode* node) {
  DeclaredImageSize size;
  size.line = xml_.lineOf(node);
  size.name = attributeOf(node, "Name").value_or("");
  char comma = 0;
  std::istringstream sizes(attributeOf(node, "ImageSizes").value_or(""));
  if (!(sizes >> size.width >> comma >> size.height) || comma != ',') return std::nullopt;
  model_.imageSizes.push_back(size);
  return size;
}

GaugeElement ModelReader::readElement(const XmlNode* node) {
  GaugeElement element;
  element.line = xml_.lineOf(node);
  if (const XmlNode* position = firstNamed(node, "Position")) {
    element.x = numberAttribute(position, "X");
    element.y = numberAttribute(position, "Y");
  }
  if (const XmlNode* visible = firstNamed(node, "Visible")) element.visible = script(visible);
  if (const XmlNode* image = firstNamed(node, "Image")) {
    element.image = attributeOf(image, "Name").value_or("");
  }
  readElementParts(node, element);
  return element;
}

// Values and Strings wherever they stand in the element (in its Rotate,
// Shift, Select, Text...), and nested Elements (in Select's Cases too), in
// file order.
void ModelReader::readElementParts(const XmlNode* node, GaugeElement& element) {
  ElementDrawing& drawing = element.drawing;
  forEachElement(node, [&](const XmlNode* child) {
    readDrawingPart(node, child, drawing);
    if (isNamed(child, "Element")) {
      element.children.push_back(readElement(child));
      if (isNamed(node, "Case")) {
        element.children.back().drawing.inCase = static_cast<int>(drawing.cases.size()) - 1;
      }
    } else if (isNamed(child, "Value")) {
      const int index = static_cast<int>(element.values.size());
      ElementMotion* motion = isNamed(node, "Rotate") ? &drawing.rotate
                              : isNamed(node, "Shift") ? &drawing.shift
                                                       : nullptr;
      if (motion != nullptr && motion->value < 0) {
        motion->value = index;
        motion->range = {optionalNumber(child, "Minimum"), optionalNumber(child, "Maximum")};
      }
      if (isNamed(node, "Select") && drawing.selectValue < 0) drawing.selectValue = index;
      element.values.push_back(script(child));
    } else if (isNamed(child, "String")) {
      if (isNamed(node, "Text") && drawing.text.string < 0) {
        drawing.text.string = static_cast<int>(element.strings.size());
      }
      element.strings.push_back(script(child));
    } else if (isNamed(child, "BlinkCode")) {
      if (!element.blinkCode.present()) element.blinkCode = script(child);
    } else if (isNamed(child, "CustomDraw")) {
      const int line = xml_.lineOf(child);
      ScriptSite site = file_;
      site.line = line;
      findings_.addUnsimulated(scriptLineSite(site, 0, xml_.fromLine(line)),
                               "<CustomDraw> elements", "the C module that draws one is not run");
      readElementParts(child, element);
    } else if (!isNamed(child, "Visible") && !isNamed(child, "Comment") &&
               !isNamed(child, "Macro")) {
      readElementParts(child, element);
    }
  });
}

ElementImage imageOf(const XmlNode* node) {
  ElementImage image;
  image.name = attributeOf(node, "Name").value_or("");
  if (const XmlNode* axis = firstNamed(node, "Axis")) {
    image.axisX = numberAttribute(axis, "X");
    image.axisY = numberAttribute(axis, "Y");
  }
  image.pointsTo = attributeOf(node, "PointsTo").value_or("");
  image.luminous = equalNoCase(attributeOf(node, "Luminous").value_or(""), "Yes");
  image.bright = equalNoCase(attributeOf(node, "Bright").value_or(""), "Yes");
  return image;
}

std::vector<NonlinearityItem> itemsOf(const XmlNode* nonlinearity) {
  std::vector<NonlinearityItem> items;
  forEachElement(nonlinearity, [&](const XmlNode* item) {
    if (!isNamed(item, "Item")) return;
    NonlinearityItem read;
    read.value = numberAttribute(item, "Value");
    read.x = numberAttribute(item, "X");
    read.y = numberAttribute(item, "Y");
    read.degrees = optionalNumber(item, "Degrees");
    items.push_back(read);
  });
  return items;
}

// The parts of an element that say how it is drawn, where they stand in it.
void ModelReader::readDrawingPart(const XmlNode* parent, const XmlNode* child, ElementDrawing& drawing) {
  if (isNamed(child, "Image") || isNamed(child, "MaskImage")) noteImageSizes(child);
  if (isNamed(child, "Image")) {
    if (isNamed(parent, "Case")) {
      if (!drawing.cases.empty()) drawing.cases.back().image = imageOf(child);
    } else if (drawing.image.name.empty()) {
      drawing.image = imageOf(child);
    }
  } else if (isNamed(child, "MaskImage")) {
    if (!drawing.mask) drawing.mask = imageOf(child);
  } else if (isNamed(child, "Case") && isNamed(parent, "Select")) {
    drawing.cases.push_back({numberAttribute(child, "Value"), {}});
  } else if (isNamed(child, "Rotate")) {
    drawing.rotate.present = true;
  } else if (isNamed(child, "Shift")) {
    drawing.shift.present = true;
  } else if (isNamed(child, "Scale") && isNamed(parent, "Shift")) {
    drawing.shift.scaled = true;
    drawing.shift.scaleX = numberAttribute(child, "X");
    drawing.shift.scaleY = numberAttribute(child, "Y");
  } else if (isNamed(child, "Delay")) {
    if (isNamed(parent, "Rotate")) drawing.rotate.delayPerSecond = numberAttribute(child, "DegreesPerSecond");
    if (isNamed(parent, "Shift")) drawing.shift.delayPerSecond = numberAttribute(child, "PixelsPerSecond");
  } else if (isNamed(child, "Nonlinearity")) {
    if (isNamed(parent, "Rotate")) drawing.rotate.items = itemsOf(child);
    if (isNamed(parent, "Shift")) drawing.shift.items = itemsOf(child);
  } else if (isNamed(child, "Text")) {
    ElementText& text = drawing.text;
    text.present = true;
    text.width = numberAttribute(child, "X");
    text.height = numberAttribute(child, "Y");
    text.font = attributeOf(child, "Font").value_or("");
    text.fontSize = numberAttribute(child, "FontSize");
    text.fixed = equalNoCase(attributeOf(child, "Fixed").value_or(""), "Yes");
    text.color = attributeOf(child, "Color").value_or("");
    text.background = attributeOf(child, "BackgroundColor").value_or("");
    text.adjust = attributeOf(child, "Adjust").value_or("");
    text.verticalAdjust = attributeOf(child, "VerticalAdjust").value_or("");
    text.bright = equalNoCase(attributeOf(child, "Bright").value_or(""), "Yes");
  }
}

MouseArea ModelReader::readArea(const XmlNode* node, const Rect& rect) {
  MouseArea area;
  area.line = xml_.lineOf(node);
  area.rect = rect;
  forEachElement(node, [&](const XmlNode* child) {
    if (isNamed(child, "Tooltip")) {
      area.tooltip = attributeOf(child, "ID").value_or(scriptOf(xml_, child).text);
    } else if (isNamed(child, "Help")) {
      area.help = attributeOf(child, "ID").value_or(scriptOf(xml_, child).text);
    } else if (isNamed(child, "Cursor")) {
      area.cursor = attributeOf(child, "Type").value_or("");
    } else if (isNamed(child, "Visible")) {
      if (!area.visible.present()) area.visible = script(child);
    } else if (isNamed(child, "Click")) {
      area.clicks.push_back(readClick(child));
    } else if (isNamed(child, "Area")) {
      const AreaEdges edges{optionalNumber(child, "Left"),  optionalNumber(child, "Top"),
                            optionalNumber(child, "Width"), optionalNumber(child, "Height"),
                            optionalNumber(child, "Right"), optionalNumber(child, "Bottom")};
      area.areas.push_back(readArea(child, placeArea(rect, edges)));
    }
  });
  return area;
}

Click ModelReader::readClick(const XmlNode* node) {
  Click click;
  click.line = xml_.lineOf(node);
  click.kinds = splitKinds(attributeOf(node, "Kind").value_or(""));
  click.event = attributeOf(node, "Event").value_or("");
  click.repeat = equalNoCase(attributeOf(node, "Repeat").value_or(""), "Yes");
  click.script = script(node);
  return click;
}

void ModelReader::readKeys(const XmlNode* node) {
  forEachElement(node, [&](const XmlNode* on) {
    if (!isNamed(on, "On")) return;
    KeyHandler key;
    key.line = xml_.lineOf(on);
    key.key = attributeOf(on, "Key").value_or(attributeOf(on, "Event").value_or(""));
    key.script = script(on);
    model_.keys.push_back(std::move(key));
  });
}

// The gauge's size when its background image does not give it: as far as
// the top-level areas that give their whole rectangle reach.
Rect ModelReader::mouseExtent(const XmlNode* mouse) const {
  Rect extent;
  forEachElement(mouse, [&](const XmlNode* area) {
    if (!isNamed(area, "Area")) return;
    extent.width = std::max(extent.width, numberAttribute(area, "Left") + numberAttribute(area, "Width"));
    extent.height = std::max(extent.height, numberAttribute(area, "Top") + numberAttribute(area, "Height"));
  });
  return extent;
}

}  // namespace

double ValueRange::clamp(double value) const {
  if (minimum && value < *minimum) value = *minimum;
  if (maximum && value > *maximum) value = *maximum;
  return value;
}

GaugeModel readGaugeModel(const std::string& text, const ScriptSite& file, Findings& findings) {
  GaugeModel model;
  const GaugeXml xml(text);
  const auto tell = [&](int line, std::string message) {
    tellAt(xml, file, findings, line, std::move(message));
  };
  if (xml.document() == nullptr) {
    tell(xml.problemLine(), "no XML the gauge can be read from (" + *xml.problem() +
                                "): the gauge does not run");
    return model;
  }
  if (xml.problem()) tell(xml.problemLine(), *xml.problem() + " (read leniently, as the simulator does)");
  const XmlNode* root = xml.document()->first_node();
  while (root != nullptr && root->type() != rapidxml::node_element) root = root->next_sibling();
  if (root == nullptr || !isNamed(root, "Gauge")) {
    tell(root == nullptr ? 1 : xml.lineOf(root),
         root == nullptr ? "no <Gauge> element: the gauge does not run"
                         : "the root is <" + std::string(root->name(), root->name_size()) +
                               ">, not <Gauge>: FS2004 runs only gauges of that older format");
    return model;
  }
  ModelReader(xml, file, findings, model).read(root);
  return model;
}

}  // namespace vorlanex::gauges
