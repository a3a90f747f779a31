// Windows file names on a case-sensitive file system.
#include "platform/portable/windows_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "module_library.h"
#include "platform/profile_file.h"
#include "support/temp_folder.h"

using vorlanex::platform::resolveWindowsPath;

namespace {

// A fresh temporary folder holding Sub/Cabin.INI, made the current one.
class WindowsPath : public ::testing::Test {
 protected:
  void SetUp() override { root_.write("Sub/Cabin.INI", "[Config]\nVolume=80\n"); }
  vorlanex::test::TempFolder root_;
};

TEST_F(WindowsPath, FindsEachComponentWhateverItsCase) {
  struct {
    const char* path;
    const char* expected;
  } cases[] = {
      {"./sub/cabin.ini", "Sub/Cabin.INI"},  {".\\SUB\\cabin.ini", "Sub/Cabin.INI"},
      {"sub\\Cabin.ini", "Sub/Cabin.INI"},   {"sub//cabin.ini", "Sub/Cabin.INI"},
      {"./sub/none.ini", "Sub/none.ini"},    // missing: kept as written from there
      {"none\\cabin.ini", "none/cabin.ini"}, {"", ""},
      {"sub/cabin.ini. .", "Sub/Cabin.INI"}, {"sub./cabin.ini", "Sub/Cabin.INI"},
      {"none/../sub/./cabin.ini", "Sub/Cabin.INI"}, {"../x", "../x"},
  };
  for (const auto& c : cases) EXPECT_EQ(resolveWindowsPath(c.path), c.expected) << c.path;
  EXPECT_EQ(resolveWindowsPath(nullptr), "");
  EXPECT_EQ(resolveWindowsPath((root_.path().string() + "\\SUB\\CABIN.INI").c_str()),
            (root_.path() / "Sub/Cabin.INI").string());
}

TEST_F(WindowsPath, PrefersExactName) {
  std::ofstream("Sub/cabin.ini") << "";
  EXPECT_EQ(resolveWindowsPath("sub/cabin.ini"), "Sub/cabin.ini");
  EXPECT_EQ(resolveWindowsPath("sub/Cabin.INI"), "Sub/Cabin.INI");
}

TEST_F(WindowsPath, ProfileReaderUsesIt) {
  EXPECT_EQ(vorlanex::platform::readProfileInt("Config", "Volume", -1, ".\\sub\\cabin.ini"), 80);
}

}  // namespace

namespace {

// The released module handed to the native tool: the loader's "invalid ELF
// header" is put in words a panel author can act on.
TEST(NativeLoader, TellsAWindowsDllForWhatItIs) {
  vorlanex::test::TempFolder root;
  root.write("Vorlanex_sound.gau", "MZ\x90 not for this system");
  root.write("other.so", "neither");
  const auto why = [](const char* path) {
    try {
      vorlanex::host::ModuleLibrary library(path);
    } catch (const std::runtime_error& e) {
      return std::string(e.what());
    }
    return std::string("loaded");
  };
  EXPECT_NE(why("./Vorlanex_sound.gau").find("it is a Windows DLL"), std::string::npos);
  EXPECT_EQ(why("./other.so").find("Windows DLL"), std::string::npos);
  EXPECT_NE(why("./other.so"), "loaded");
}

}  // namespace
