// Noticing that the files a panel was read from were saved again, by looking
// at them over and over: the same on every build, also under Wine, where
// change notifications of the host's file system do not always come through.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vorlanex::tool {

// What a look at a file saw. Size and modification time catch nearly every
// save; the content's hash catches a rewrite of equal size within the
// resolution of the file system's clock, and a file renamed over another
// that kept its time.
struct FileStamp {
  bool present = false;
  std::uintmax_t size = 0;
  std::int64_t modified = 0;  // the file system's own ticks, full resolution
  std::uint64_t hash = 0;     // of the content; 0 for files too big to hash
  bool operator==(const FileStamp& other) const;
  bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// Files larger than this are told apart by size and time only.
constexpr std::uintmax_t kHashedFileBytes = 4u << 20;

// The coarsest clock a file system keeps modification times with (FAT's
// two seconds), with room to spare.
constexpr std::chrono::seconds kCoarsestClockTick{10};

// A look at `path`. Given the look `before` it, the content is read again
// only when size or time moved, or the file was written within a tick of the
// coarsest clock: no other rewrite can leave both as they were.
FileStamp stampOf(const std::string& path, const FileStamp* before = nullptr);

class FileWatch {
 public:
  // `paths` as the file system takes them; a file not there yet is watched
  // for its appearance.
  explicit FileWatch(std::vector<std::string> paths);

  // The files saved (or removed, or made) since the last look, in the order
  // they were given; each look takes its own stamps.
  std::vector<std::string> changed();

  // Looks every `interval` until a file changed and no file changes any more
  // at the next look, and returns the changed.
  std::vector<std::string> waitForChange(
      std::chrono::milliseconds interval = std::chrono::milliseconds(250));

  // Watches also these files, the ones watched already as they were.
  void follow(const std::vector<std::string>& paths);

  const std::vector<std::string>& paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
  std::vector<FileStamp> stamps_;
};

}  // namespace vorlanex::tool
