// The console following the files its panel was read from, so that the
// author's saves are heard without leaving the session: panel.cfg, the XML
// gauges (in folders and cabinets) and their images, the INI file and the
// WAV files. A thread looks at them; the frame loop applies what a look saw
// settle, at the start of a frame.
#pragma once

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "console_command.h"
#include "console_session.h"
#include "gauge_images.h"
#include "live_panel.h"
#include "panel_files.h"

namespace vorlanex::tool {

class ConsoleReload {
 public:
  // `setup`: the panel as the session started with it; none without --panel.
  // The reload lines go to `out` and `log` (null: nowhere else).
  ConsoleReload(const ConsoleRequest& request, std::optional<PanelSetup> setup, LivePanel& panel,
                ConsoleSession& session, std::FILE* out, std::FILE* log);
  ~ConsoleReload();
  ConsoleReload(const ConsoleReload&) = delete;
  ConsoleReload& operator=(const ConsoleReload&) = delete;

  // The bitmaps beside each gauge as the panel now has them, and a
  // window's beside panel.cfg, for the gauges' view; each file read is
  // followed. Called by the frame loop only.
  gauges::ImageBytes imageBytes();

  // Starts looking; told before the first frame.
  void start();
  // The frame loop, at the start of a frame: the saves seen settled since
  // the last call are applied.
  void atFrameStart(int frame);

 private:
  void look();  // the looking thread
  void apply(const std::vector<std::string>& saved, int frame);
  // What the saves of gauges and panel.cfg change; true when windows or
  // gauge lines were read again.
  bool reloadGauges(const std::vector<std::string>& saved, ReloadNote& note);
  // The module taken down and set up again, and the page's sounds made anew.
  void reloadModule(const std::vector<std::string>& saved, int frame, ReloadNote& note);
  std::vector<std::string> followedFiles() const;
  std::string shown(const std::string& path) const;
  void print(const ReloadNote& note);

  const ConsoleRequest request_;
  std::optional<PanelSetup> setup_;  // the last good one
  LivePanel& panel_;
  ConsoleSession& session_;
  std::FILE* out_;
  std::FILE* log_;
  RunFiles moduleFiles_;                // the INI and WAV files, as the module last read them
  std::vector<std::string> imageFiles_;  // bitmaps read for the drawing
  std::size_t imagesFollowed_ = 0;       // of them, handed to the looks

  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopping_ = false;
  std::vector<std::string> settled_;   // saves seen settled, for the frame loop
  std::vector<std::string> toFollow_;  // files the looks are to follow from now on
  std::thread looking_;
};

}  // namespace vorlanex::tool
