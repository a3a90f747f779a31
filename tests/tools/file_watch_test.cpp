// Editors' saves seen by the file watch; the lines a save changed shown.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include "file_watch.h"
#include "run_watch.h"

namespace vorlanex::tool {
namespace {
namespace fs = std::filesystem;
void write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

TEST(FileWatchTest, SeesEverySaveAndOnlyTheFileSaved) {
  using Save = void (*)(const fs::path& file);
  const Save saves[] = {
      // Equal size within the same tick of a coarse clock: only the content tells.
      [](const fs::path& f) { write(f, "value 2\n"); },
      [](const fs::path& f) { write(fs::path(f) += ".tmp", "renamed\n"), fs::rename(fs::path(f) += ".tmp", f); },
      [](const fs::path& f) { fs::remove(f); },
  };
  const fs::path folder = fs::temp_directory_path() / "vorlanex_file_watch_test";
  for (Save save : saves) {
    fs::remove_all(folder), fs::create_directories(folder);
    const fs::path saved = folder / "gauge.xml", other = folder / "other.xml";
    const fs::path later = folder / "later.wav";  // not there at first
    write(saved, "value 1\n"), write(other, "untouched\n");
    FileWatch watch({saved.string(), other.string(), later.string()});
    save(saved);
    EXPECT_EQ(watch.changed(), std::vector<std::string>{saved.string()});
    EXPECT_TRUE(watch.changed().empty());  // each save is told once
    write(later, "RIFF");
    EXPECT_EQ(watch.changed(), std::vector<std::string>{later.string()});
  }
  fs::remove_all(folder);
}

TEST(RunWatchTest, ChangedLinesAreTheLinesAddedAndRemovedInOrder) {
  using Lines = std::vector<std::string>;
  const struct { Lines before, after, changed; } cases[] = {
      {{"a", "b", "c"}, {"a", "b", "c"}, {}},
      {{"a", "b", "c"}, {"a", "x", "c"}, {"- b", "+ x"}},
      {{"a", "b", "c", "d"}, {"b", "c", "e"}, {"- a", "- d", "+ e"}},
      {{}, {"a"}, {"+ a"}},
      {{"a", "a"}, {"a"}, {"- a"}},
  };
  for (const auto& c : cases) EXPECT_EQ(changedLines(c.before, c.after), c.changed);
}

}  // namespace
}  // namespace vorlanex::tool
