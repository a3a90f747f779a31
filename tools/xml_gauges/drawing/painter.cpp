#include "painter.h"

#include <algorithm>
#include <cmath>

#include "drawing_choices.h"
#include "drawing_fonts.h"

#define STB_TRUETYPE_IMPLEMENTATION
#include "stb/stb_truetype.h"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include "stb/stb_image_write.h"

namespace vorlanex::gauges {
namespace {

struct Color {
  double r = 0.0, g = 0.0, b = 0.0, a = 0.0;  // premultiplied, 0..1
};

double lightFactor(Lighting lighting, bool night) {
  return night && lighting == Lighting::kPlain ? drawing_choices::kNightFactor : 1.0;
}

// Lays `c` over the pixel.
void blend(uint8_t* pixel, const Color& c) {
  const double keep = 1.0 - c.a;
  pixel[0] = static_cast<uint8_t>(std::lround(std::clamp(c.r * 255.0 + pixel[0] * keep, 0.0, 255.0)));
  pixel[1] = static_cast<uint8_t>(std::lround(std::clamp(c.g * 255.0 + pixel[1] * keep, 0.0, 255.0)));
  pixel[2] = static_cast<uint8_t>(std::lround(std::clamp(c.b * 255.0 + pixel[2] * keep, 0.0, 255.0)));
  pixel[3] = static_cast<uint8_t>(std::lround(std::clamp(c.a * 255.0 + pixel[3] * keep, 0.0, 255.0)));
}

// The image at the continuous point (u,v), pixel k covering [k, k+1):
// bilinear between the four nearest pixel centres, edges held.
Color sample(const Raster& image, double u, double v) {
  const double x = u - 0.5;
  const double y = v - 0.5;
  const int x0 = static_cast<int>(std::floor(x));
  const int y0 = static_cast<int>(std::floor(y));
  const double fx = x - x0;
  const double fy = y - y0;
  Color out;
  for (int j = 0; j < 2; ++j) {
    for (int i = 0; i < 2; ++i) {
      const double weight = (i ? fx : 1.0 - fx) * (j ? fy : 1.0 - fy);
      if (weight == 0.0) continue;
      const uint8_t* p = image.at(std::clamp(x0 + i, 0, image.width - 1), std::clamp(y0 + j, 0, image.height - 1));
      const double alpha = p[3] / 255.0;
      out.r += weight * alpha * p[0] / 255.0;
      out.g += weight * alpha * p[1] / 255.0;
      out.b += weight * alpha * p[2] / 255.0;
      out.a += weight * alpha;
    }
  }
  return out;
}

bool inverse(const Affine& m, Affine& out) {
  const double det = m.a * m.d - m.b * m.c;
  if (std::abs(det) < 1e-12) return false;
  out.a = m.d / det;
  out.b = -m.b / det;
  out.c = -m.c / det;
  out.d = m.a / det;
  out.tx = -(out.a * m.tx + out.b * m.ty);
  out.ty = -(out.c * m.tx + out.d * m.ty);
  return true;
}

// The pixels of the raster the rectangle (0,0)-(w,h) under `place` covers.
struct Bounds {
  int left, top, right, bottom;
};
Bounds boundsOf(const Affine& place, double w, double h, const Raster& into) {
  double xs[4] = {place.mapX(0, 0), place.mapX(w, 0), place.mapX(0, h), place.mapX(w, h)};
  double ys[4] = {place.mapY(0, 0), place.mapY(w, 0), place.mapY(0, h), place.mapY(w, h)};
  return {std::max(0, static_cast<int>(std::floor(*std::min_element(xs, xs + 4)))),
          std::max(0, static_cast<int>(std::floor(*std::min_element(ys, ys + 4)))),
          std::min(into.width, static_cast<int>(std::ceil(*std::max_element(xs, xs + 4)))),
          std::min(into.height, static_cast<int>(std::ceil(*std::max_element(ys, ys + 4))))};
}

void paintImage(const DisplayItem& item, const GaugeImages& images, const Affine& toPixels, bool night,
                Raster& into) {
  const Raster& image = images.image(item.image);
  const Affine place = item.place.then(toPixels);
  Affine back;
  if (!inverse(place, back)) return;
  const Raster* mask = item.mask >= 0 ? &images.image(item.mask) : nullptr;
  Affine maskBack;
  if (mask != nullptr && !inverse(item.maskPlace.then(toPixels), maskBack)) return;
  const double light = lightFactor(item.lighting, night);
  const Bounds bounds = boundsOf(place, image.width, image.height, into);
  for (int y = bounds.top; y < bounds.bottom; ++y) {
    for (int x = bounds.left; x < bounds.right; ++x) {
      const double px = x + 0.5;
      const double py = y + 0.5;
      const double u = back.mapX(px, py);
      const double v = back.mapY(px, py);
      if (u < 0.0 || v < 0.0 || u >= image.width || v >= image.height) continue;
      if (mask != nullptr) {
        const double mu = maskBack.mapX(px, py);
        const double mv = maskBack.mapY(px, py);
        if (mu < 0.0 || mv < 0.0 || mu >= mask->width || mv >= mask->height) continue;
        if (mask->at(static_cast<int>(mu), static_cast<int>(mv))[3] == 0) continue;
      }
      Color c = sample(image, u, v);
      if (c.a <= 0.0) continue;
      c.r *= light;
      c.g *= light;
      c.b *= light;
      blend(into.at(x, y), c);
    }
  }
}

// One decoded UTF-8 character at `i`, which moves past it.
int nextCodepoint(const std::string& text, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char first = byte(i++);
  int extra = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : 0;
  int code = extra == 3 ? first & 0x07 : extra == 2 ? first & 0x0F : extra == 1 ? first & 0x1F : first;
  while (extra-- > 0 && i < text.size() && (byte(i) & 0xC0) == 0x80) code = (code << 6) | (byte(i++) & 0x3F);
  return code;
}

Color colorOf(uint32_t rgb, double light, double alpha) {
  return {((rgb >> 16) & 0xFF) / 255.0 * light * alpha, ((rgb >> 8) & 0xFF) / 255.0 * light * alpha,
          (rgb & 0xFF) / 255.0 * light * alpha, alpha};
}

// Texts are drawn upright, their box and size scaled with the gauge.
void paintText(const DisplayItem& item, const Affine& toPixels, bool night, Raster& into) {
  const DrawnText& text = item.text;
  const Affine place = item.place.then(toPixels);
  const double scaleX = std::hypot(place.a, place.c);
  const double scaleY = std::hypot(place.b, place.d);
  const double light = lightFactor(item.lighting, night);
  const Bounds box = boundsOf(place, text.width, text.height, into);
  if (text.hasBackground) {
    const Color background = colorOf(text.background, light, 1.0);
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) blend(into.at(x, y), background);
    }
  }
  stbtt_fontinfo font;
  const unsigned char* bytes = drawingFont(text.fixed);
  if (!stbtt_InitFont(&font, bytes, stbtt_GetFontOffsetForIndex(bytes, 0))) return;
  const float pixelHeight = static_cast<float>(text.size * scaleY);
  const float scale = stbtt_ScaleForPixelHeight(&font, pixelHeight);
  const float stretch = static_cast<float>(scaleX / scaleY);
  int ascent = 0;
  int descent = 0;
  int gap = 0;
  stbtt_GetFontVMetrics(&font, &ascent, &descent, &gap);
  std::vector<int> codes;
  for (size_t i = 0; i < text.text.size();) codes.push_back(nextCodepoint(text.text, i));
  double width = 0.0;
  for (size_t k = 0; k < codes.size(); ++k) {
    int advance = 0;
    int bearing = 0;
    stbtt_GetCodepointHMetrics(&font, codes[k], &advance, &bearing);
    width += advance * scale * stretch;
    if (k + 1 < codes.size()) width += stbtt_GetCodepointKernAdvance(&font, codes[k], codes[k + 1]) * scale * stretch;
  }
  const double boxLeft = place.tx;
  const double boxTop = place.ty;
  const double boxWidth = text.width * scaleX;
  const double boxHeight = text.height * scaleY;
  const double lineHeight = (ascent - descent) * scale;
  double penX = boxLeft + (text.adjust < 0 ? 0.0 : text.adjust > 0 ? boxWidth - width : (boxWidth - width) / 2);
  const double top = boxTop + (text.verticalAdjust < 0   ? 0.0
                               : text.verticalAdjust > 0 ? boxHeight - lineHeight
                                                         : (boxHeight - lineHeight) / 2);
  const double baseline = top + ascent * scale;
  for (size_t k = 0; k < codes.size(); ++k) {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    const float shiftX = static_cast<float>(penX - std::floor(penX));
    stbtt_GetCodepointBitmapBoxSubpixel(&font, codes[k], scale * stretch, scale, shiftX, 0.0f, &x0, &y0, &x1, &y1);
    const int w = x1 - x0;
    const int h = y1 - y0;
    if (w > 0 && h > 0) {
      std::vector<unsigned char> coverage(static_cast<size_t>(w) * static_cast<size_t>(h));
      stbtt_MakeCodepointBitmapSubpixel(&font, coverage.data(), w, h, w, scale * stretch, scale, shiftX, 0.0f,
                                        codes[k]);
      const int originX = static_cast<int>(std::floor(penX)) + x0;
      const int originY = static_cast<int>(std::lround(baseline)) + y0;
      for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
          const int x = originX + i;
          const int y = originY + j;
          if (x < box.left || y < box.top || x >= box.right || y >= box.bottom) continue;
          const double alpha = coverage[static_cast<size_t>(j * w + i)] / 255.0;
          if (alpha > 0.0) blend(into.at(x, y), colorOf(text.color, light, alpha));
        }
      }
    }
    int advance = 0;
    int bearing = 0;
    stbtt_GetCodepointHMetrics(&font, codes[k], &advance, &bearing);
    penX += advance * scale * stretch;
    if (k + 1 < codes.size()) penX += stbtt_GetCodepointKernAdvance(&font, codes[k], codes[k + 1]) * scale * stretch;
  }
}

}  // namespace

Raster paintDisplayList(const DisplayList& list, const GaugeImages& images, const PaintOptions& options) {
  Raster into(static_cast<int>(std::ceil(list.width * options.scale - 1e-9)),
              static_cast<int>(std::ceil(list.height * options.scale - 1e-9)));
  const Affine toPixels{options.scale, 0, 0, options.scale, 0, 0};
  for (const DisplayItem& item : list.items) {
    if (item.kind == DisplayItem::Kind::kText) {
      paintText(item, toPixels, options.night, into);
    } else if (item.image >= 0) {
      paintImage(item, images, toPixels, options.night, into);
    }
  }
  return into;
}

std::string pngBytes(const Raster& raster) {
  std::string out;
  stbi_write_png_to_func(
      [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
      },
      &out, raster.width, raster.height, 4, raster.rgba.data(), raster.width * 4);
  return out;
}

}  // namespace vorlanex::gauges
