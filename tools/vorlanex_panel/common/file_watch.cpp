#include "file_watch.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

namespace vorlanex::tool {
namespace {

namespace fs = std::filesystem;

// FNV-1a: cheap, and enough to tell one save of a file from the next.
std::uint64_t contentHash(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::uint64_t hash = 14695981039346656037ull;
  char buffer[1 << 14];
  while (file) {
    file.read(buffer, sizeof buffer);
    for (std::streamsize i = 0; i < file.gcount(); ++i) {
      hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
    }
  }
  return hash;
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const {
  return present == other.present && size == other.size && modified == other.modified &&
         hash == other.hash;
}

FileStamp stampOf(const std::string& path, const FileStamp* before) {
  std::error_code error;
  FileStamp stamp;
  if (!fs::is_regular_file(path, error)) return stamp;
  stamp.size = fs::file_size(path, error);
  if (error) return stamp;
  const fs::file_time_type time = fs::last_write_time(path, error);
  if (error) return stamp;
  stamp.present = true;
  stamp.modified = static_cast<std::int64_t>(time.time_since_epoch().count());
  // A rewrite that keeps size and time can only hide within a tick of a
  // coarse clock, so a file that size and time say is as it was, and that
  // was written longer ago than that, is not read again: a panel's WAV files
  // are not read four times a second.
  const bool unchanged = before != nullptr && before->present && before->size == stamp.size &&
                         before->modified == stamp.modified;
  if (unchanged && fs::file_time_type::clock::now() - time > kCoarsestClockTick) {
    stamp.hash = before->hash;
  } else if (stamp.size <= kHashedFileBytes) {
    stamp.hash = contentHash(path);
  }
  return stamp;
}

FileWatch::FileWatch(std::vector<std::string> paths) : paths_(std::move(paths)) {
  for (const std::string& path : paths_) stamps_.push_back(stampOf(path));
}

void FileWatch::follow(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (std::find(paths_.begin(), paths_.end(), path) != paths_.end()) continue;
    paths_.push_back(path);
    stamps_.push_back(stampOf(path));
  }
}

std::vector<std::string> FileWatch::changed() {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < paths_.size(); ++i) {
    FileStamp now = stampOf(paths_[i], &stamps_[i]);
    if (now == stamps_[i]) continue;
    stamps_[i] = now;
    out.push_back(paths_[i]);
  }
  return out;
}

std::vector<std::string> FileWatch::waitForChange(std::chrono::milliseconds interval) {
  std::vector<std::string> found;
  while ((found = changed()).empty()) std::this_thread::sleep_for(interval);
  // A save written in several steps (or a file removed before another is
  // renamed to its name) is taken once it has come to rest.
  for (;;) {
    std::this_thread::sleep_for(interval);
    const std::vector<std::string> more = changed();
    if (more.empty()) break;
    for (const std::string& path : more) {
      if (std::find(found.begin(), found.end(), path) == found.end()) found.push_back(path);
    }
  }
  return found;
}

}  // namespace vorlanex::tool
