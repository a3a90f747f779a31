// `snapshot`: runs the panel (its XML gauges beside the module, as `run
// --panel` does) to a moment of a script and draws one window as it stands
// then into a PNG file, edge to edge, one pixel per unit of its size_mm.
#pragma once

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "raster.h"

namespace vorlanex::tool {

struct SnapshotRequest {
  std::string panelConfig;  // as the file system takes it
  std::string panelShown;   // as the author named it
  std::optional<std::string> parameters;  // the INI path; none: the module's line's
  std::string scriptFile;   // empty: none, the first frame is drawn
  double at = 0.0;          // seconds into the script
  std::string window;       // a section name, ident or title; empty: the first window
  bool night = false;
  double scale = 1.0;
  std::string outFile;
  std::string globalDllPath;  // empty: none
  double framesPerSecond = 18.0;
};

// A request the command line cannot have meant: a window the panel lacks,
// a moment past the script's end, a file that cannot be read.
struct SnapshotRequestError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The window drawn; the bitmaps that could not be had go to `missing`, one
// line each naming the file that names them.
// Throws SnapshotRequestError, or another error when the panel cannot be
// run or drawn.
gauges::Raster drawSnapshot(const SnapshotRequest& request, std::vector<std::string>& missing);

// Writes the PNG. Returns the exit status (exit_status.h): 0 written, 2 the
// panel cannot be drawn, 3 the command line cannot be followed (a window
// the panel lacks, a moment past the script's end).
int snapshotCommand(const SnapshotRequest& request, std::FILE* out, std::FILE* errors);

}  // namespace vorlanex::tool
