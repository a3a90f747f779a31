// The console takes the author's saves while it runs: a gauge compiled again
// with the panel's and the aircraft's variables kept, a broken save kept out
// until the next good one, and the module set up again for a save of its INI.
#include <gtest/gtest.h>

#include "reload_session.h"

namespace vorlanex::tool {
namespace {

TEST(ConsoleReload, AGaugeSavedIsCompiledAgainKeepingVariablesAndABrokenSaveIsKeptOut) {
  test::TempFolder root;
  ReloadSession s(root);
  double countAtSave = 0;
  s.play({
      {nullptr, [&] { return s.value("count") >= 5; }, "the first version running"},
      {[&] {
         countAtSave = s.value("count");
         saveByRename(root, kGaugePath, counter(2, "(A:ELECTRICAL MASTER BATTERY, bool) (>L:battery2, number)"));
       },
       [&] { return s.value("version") == 2; }, "the second version, saved by rename"},
      {[&] {
         EXPECT_GE(s.value("count"), countAtSave);  // the L: variable kept its value
         EXPECT_EQ(s.value("battery2"), s.value("battery"));  // and the aircraft its battery
         EXPECT_NE(s.value("battery"), s.value("first"));
         root.write(kGaugePath, counter(3).substr(0, 60));  // cut short
       },
       [&] { return s.reloadsSaying("kept as it was") == 1; }, "the broken save told"},
      {[&] {
         EXPECT_EQ(s.value("version"), 2);  // the last good version runs on
         root.write(kGaugePath, counter(3));
       },
       [&] { return s.value("version") == 3; }, "the fixed save"},
  });
  ASSERT_EQ(s.reloads.size(), 3u);
  EXPECT_NE(s.reloads[1]["findings"].dump().find("counter.xml"), std::string::npos) << s.reloads[1];
  EXPECT_EQ(s.reloads[2]["gauges"], json::array({0}));
  // The script marks each reload, where the replay would see the files anew.
  EXPECT_NE(s.script.find("# reloaded at "), std::string::npos);
  EXPECT_NE(s.script.find("read as they are when it is replayed"), std::string::npos);
}

TEST(ConsoleReload, AnIniSavedSetsTheModuleUpAgainWithItsNewVariables) {
  test::TempFolder root;
  ReloadSession s(root);
  std::string renamed = kIni;
  renamed.replace(renamed.find("Lvar00=tone"), 11, "Lvar00=chime");
  s.play({
      {nullptr, [&] { return s.value("count") >= 3; }, "the panel running"},
      {[&] {
         s.set("chime", 1);
         root.write("Gauges/t.ini", "[Config]\nMaxSounds=oops\n");  // an error
       },
       [&] { return s.reloadsSaying("runs on with the files it read last") == 1; }, "the broken INI told"},
      {[&] {
         EXPECT_EQ(s.value("chime"), 1);  // not the module's variable yet
         root.write("Gauges/t.ini", renamed);
       },
       [&] { return s.reloadsSaying("set up again") == 1; }, "the INI's save taken"},
      // The module reads its new variable: the play ends, or fails for want
      // of a device, either way not left at 1.
      {[&] { s.set("chime", 1); }, [&] { return s.value("chime") != 1; }, "the new variable played"},
  });
  EXPECT_EQ(s.panel["sounds"][0]["variable"], "chime");  // the page's sounds as the INI now has them
}

}  // namespace
}  // namespace vorlanex::tool
