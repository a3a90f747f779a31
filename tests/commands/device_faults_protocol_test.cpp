// What gauges read when the device fails under a sound: faults injected into
// our engine, so natively only.
#include <gtest/gtest.h>
#include <vorlanex_engine/engine_control.h>

#include "support/sound_panel.h"

namespace vorlanex {
namespace {

using test::SoundPanel;

const std::string kSound0 = test::soundVariable(0);

void installOneSound(SoundPanel& panel) {
  panel.writeIni("[Config]\nMaxSounds=1\nErrorFlag=-1\n");
  panel.writeSound(0, {1, 22050, 16, 0.5});
  panel.install();
  engine::reset();
}

// A buffer whose fill fails would play silence: the play is told as failed,
// and the next one asked for fills the buffer and plays.
TEST(DeviceFaults, AFillThatFailsIsToldAsAFailedPlayAndTriedAgain) {
  SoundPanel panel;
  installOneSound(panel);
  engine::failLock(DSERR_INVALIDCALL, 2);  // the load's fill and the play's
  panel.set("zeb_volume_played", -5);
  panel.set(kSound0, 1);
  panel.frames(1);
  EXPECT_EQ(panel.get(kSound0), -1);
  EXPECT_EQ(panel.get("zeb_volume_played"), -5) << "nothing was played";
  EXPECT_EQ(engine::callCount(engine::Call::Play), 0u);

  panel.set(kSound0, 1);
  panel.frames(1);
  EXPECT_EQ(panel.get(kSound0), 1);
  EXPECT_EQ(panel.get("zeb_volume_played"), 100);
  EXPECT_EQ(engine::callCount(engine::Call::Play), 1u);
}

// A one-shot whose status the device will not give plays on: it is handed
// back only once the device says it has ended.
TEST(DeviceFaults, AOneShotIsNotHandedBackWhileTheDeviceWillNotSay) {
  SoundPanel panel;
  installOneSound(panel);
  panel.set(kSound0, 1);
  panel.frames(1);
  engine::failGetStatus(E_FAIL, engine::kEveryCall);
  ASSERT_FALSE(panel.framesUntil([&] { return panel.get(kSound0) == 0; }, 2.0));
  engine::failGetStatus(DS_OK, 0);
  EXPECT_TRUE(panel.framesUntil([&] { return panel.get(kSound0) == 0; }));
}

}  // namespace
}  // namespace vorlanex
