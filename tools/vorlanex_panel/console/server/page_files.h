// The console page's files (HTML, CSS, JavaScript), built into the tool.
#pragma once

#include <string_view>

namespace vorlanex::tool {

struct PageFile {
  const char* data;
  std::size_t size;
  std::string_view text() const { return {data, size}; }
};

// The file served at `path` ("/index.html", "/console.js"); null for none.
const PageFile* findPageFile(std::string_view path);

// The content type a file is served with, from its name's ending.
std::string_view contentTypeOf(std::string_view path);

}  // namespace vorlanex::tool
