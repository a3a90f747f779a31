// A progress line for long runs on a terminal, redrawn in place.
#pragma once

#include <cstdio>
#include <string>

namespace vorlanex::tool {

class ProgressLine {
 public:
  // Shows nothing unless `enabled` (standard output is a terminal).
  ProgressLine(std::FILE* out, bool enabled) : out_(out), enabled_(enabled) {}
  ~ProgressLine() { clear(); }

  // The run has reached `time` of at most `longest` seconds; redrawn once per
  // simulated second, and only for runs longer than a few seconds.
  void update(double time, double longest);
  // Removes the line, before other output is printed.
  void clear();

 private:
  std::FILE* out_;
  bool enabled_;
  bool shown_ = false;
  long lastSecond_ = -1;
};

// "[#####.....]  12.0 s of at most 30.0 s"
std::string progressText(double time, double longest, int width);

}  // namespace vorlanex::tool
