// What check says of the sound device it offers the WAV files to, with the
// device's answers injected into our engine: natively only.
#include <gtest/gtest.h>
#include <vorlanex_engine/engine_control.h>

#include "check.h"
#include "support/sine_wave.h"
#include "support/temp_folder.h"

namespace vorlanex::tool {
namespace {

TEST(CheckDevice, SaysWhetherTheFilesWereOfferedToADevice) {
  struct Case {
    const char* name;
    void (*arm)();
    bool offered;
    const char* message;  // the device's one problem, "" for none
  };
  const Case cases[] = {
      {"a device", [] {}, true, ""},
      {"no device", [] { engine::failDirectSoundCreate(DSERR_NODRIVER); }, false,
       "no sound device here: the WAV formats were not offered to one"},
      {"cooperative level refused", [] { engine::failSetCooperativeLevel(DSERR_INVALIDPARAM); },
       true, "the sound device refused its cooperative level (0x80070057) but plays all the same"},
  };
  for (const Case& c : cases) {
    test::TempFolder root;
    root.write("Gauges/t.ini", "[Config]\nMaxSounds=1\n");
    root.write("Sound/zeb/zeb_xml_00.wav", test::sineWave({1, 22050, 16, 0.1}));
    engine::reset();
    c.arm();
    const CheckResult result = runCheck({"./Gauges/t.ini", "", true});
    engine::reset();
    ASSERT_EQ(result.soundFiles.readings.size(), 1u) << c.name;
    EXPECT_EQ(result.soundFiles.readings[0].offered, c.offered) << c.name;
    std::string messages;
    for (const Problem& p : result.problems) messages += p.message;
    EXPECT_EQ(messages, c.message) << c.name;
  }
}

}  // namespace
}  // namespace vorlanex::tool
