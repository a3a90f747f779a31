// The module set up again for a save of its INI or WAV files is heard
// playing the new sound at the next play.
#include <gtest/gtest.h>

#include "reload_session.h"
#include "rendered_sound.h"
#include "support/sine_wave.h"

namespace vorlanex::tool {
namespace {

// The sound heard at a time of the rendering: which of the tones is loudest.
double toneAt(const test::Sound& sound, double time) {
  double loudest = -200;
  double tone = 0;
  for (double hertz : {440.0, 660.0, 880.0}) {
    const double level = test::partialDb(sound, time, hertz);
    if (level > loudest) {
      loudest = level;
      tone = hertz;
    }
  }
  return loudest > test::kHeardDb ? tone : 0.0;
}

TEST(ConsoleReload, SavesOfTheIniAndOfAWavSetTheModuleUpAgainAndAreHeard) {
  test::TempFolder root;
  root.write("Sound/a.wav", test::sineWave({1, 22050, 16, 0.4, 440.0}));
  root.write("Sound/b.wav", test::sineWave({1, 22050, 16, 0.4, 880.0}));
  const std::string render = (root.path() / "heard.wav").string();
  ReloadSession s(root, render);
  std::vector<int> played;
  const auto play = [&] {
    played.push_back(s.frame);
    s.set("tone", 1);
  };
  const auto ended = [&] { return s.value("tone") == 0; };  // a one-shot hands its variable back
  const auto reloaded = [&](int count) { return [&, count] { return s.reloadsSaying("module") == count; }; };
  s.play({
      {play, ended, "the first tone played"},
      // The same size, written in place: only its content tells the save.
      {[&] { root.write("Sound/a.wav", test::sineWave({1, 22050, 16, 0.4, 660.0})); }, reloaded(1),
       "the WAV file's save taken"},
      {play, ended, "the rewritten WAV played"},
      {[&] { root.write("Gauges/t.ini", std::string(kIni).replace(std::string(kIni).find("a.wav"), 5, "b.wav")); },
       reloaded(2), "the INI's save taken"},
      {play, ended, "the INI's other WAV played"},
  });
  ASSERT_EQ(played.size(), 3u);
  const test::Sound heard = test::readSound(render);
  const double fps = s.request.framesPerSecond;
  EXPECT_EQ(toneAt(heard, played[0] / fps + 0.15), 440.0);
  EXPECT_EQ(toneAt(heard, played[1] / fps + 0.15), 660.0);
  EXPECT_EQ(toneAt(heard, played[2] / fps + 0.15), 880.0);
}

}  // namespace
}  // namespace vorlanex::tool
