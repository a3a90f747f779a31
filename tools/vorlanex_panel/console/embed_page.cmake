# Writes the console page's files into a C++ source, so the tool reads no
# file at run time:
#   cmake -DOUTPUT=page_files.cpp -DFILES="a.html;b.js" -P embed_page.cmake
set(entries "")
set(arrays "")
set(index 0)
foreach(file ${FILES})
  file(READ ${file} bytes HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
  get_filename_component(name ${file} NAME)
  string(APPEND arrays "const char kFile${index}[] = {${bytes}'\\0'};\n")
  string(APPEND entries "    {\"/${name}\", {kFile${index}, sizeof kFile${index} - 1}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.new "// Made by embed_page.cmake from tools/vorlanex_panel/console/page.
#include \"page_files.h\"

namespace vorlanex::tool {
namespace {
${arrays}}  // namespace

const PageFile* findPageFile(std::string_view path) {
  static const std::pair<std::string_view, PageFile> files[] = {
${entries}  };
  for (const auto& [name, file] : files) {
    if (name == path) return &file;
  }
  return nullptr;
}

}  // namespace vorlanex::tool
")
# An unchanged page leaves the source as it was, so nothing is rebuilt.
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
