# Writes the fonts texts are drawn with into a C++ source, so the tool needs
# no font on the machine it runs on:
#   cmake -DOUTPUT=drawing_fonts.cpp -DSANS=DejaVuSans.ttf -DMONO=DejaVuSansMono.ttf -P embed_fonts.cmake
function(font_array variable file)
  file(READ ${file} bytes HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  set(${variable} "${bytes}" PARENT_SCOPE)
endfunction()
font_array(sans ${SANS})
font_array(mono ${MONO})
file(WRITE ${OUTPUT}.new "// Made by embed_fonts.cmake from the DejaVu fonts.
#include \"drawing_fonts.h\"

namespace vorlanex::gauges {
namespace {
const unsigned char kSans[] = {${sans}};
const unsigned char kMono[] = {${mono}};
}  // namespace

const unsigned char* drawingFont(bool fixed) { return fixed ? kMono : kSans; }

std::string_view drawingFontFile(bool fixed) {
  return fixed ? std::string_view(reinterpret_cast<const char*>(kMono), sizeof kMono)
               : std::string_view(reinterpret_cast<const char*>(kSans), sizeof kSans);
}

}  // namespace vorlanex::gauges
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
