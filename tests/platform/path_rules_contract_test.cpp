// The rules by which a panel's paths name files, held alike on both builds:
// Windows' own on the win32 build, our stand-ins natively. Each path goes
// through the three ways the module opens files: the file probe, the RIFF
// open and the profile read.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_probe.h"
#include "platform/profile_file.h"
#include "platform/riff_file.h"
#include "support/temp_folder.h"

namespace vorlanex::platform {
namespace {

TEST(PathRules, NameFilesAsWindowsDoes) {
  test::TempFolder root;
  root.write("Sound/Cabin/door.ini", "[Sound]\nKind=door\n");
  struct Case {
    const char* path;
    bool found;
  };
  const Case cases[] = {
      {"./Sound/Cabin/door.ini", true},
      {".\\SOUND\\cabin\\DOOR.INI", true},           // either separator, any case
      {"./Sound//Cabin\\\\door.ini", true},          // runs of separators
      {"./Sound/Cabin/door.ini ", true},             // trailing blanks and dots of the
      {"./Sound/Cabin/door.ini. .", true},           // last component are dropped
      {"./Sound./Cabin/door.ini", true},             // one trailing dot of another
      {"./Sound/./Cabin/../Cabin/door.ini", true},   // "." and ".."
      {"./Sound/None/../Cabin/door.ini", true},      // ".." whether or not the folder is there
      {"./Sound/Cabin/door", false},
      {"./Sound/Cabin/door.ini/", false},            // a file is no folder
      {"./Sound/Cabin.wav/door.ini", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fileOpensForReading(c.path), c.found) << "probe: " << c.path;
    RiffFile* file = openRiffFile(c.path);
    EXPECT_EQ(file != nullptr, c.found) << "RIFF open: " << c.path;
    closeRiffFile(file);
    char value[16];
    readProfileString("Sound", "Kind", "none", value, sizeof value, c.path);
    EXPECT_EQ(std::string(value), c.found ? "door" : "none") << "profile: " << c.path;
  }
}

}  // namespace
}  // namespace vorlanex::platform
