// The GLOBAL.DLL stand-in is found the way the module looks for the
// simulator's library: by name, only once loaded, its sound switch a fixed number of bytes
// past its Linkage export.
#include "simulator_sound.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "panel/global_dll.h"
#include "platform/dynamic_library.h"
#include "support/built_files.h"

namespace vorlanex {
namespace {

const std::uint32_t* switchSeenByName() {
  void* library = platform::findLoadedLibrary("GLOBAL.DLL");
  if (library == nullptr) return nullptr;
  auto* linkage =
      static_cast<const unsigned char*>(platform::findLibrarySymbol(library, "Linkage"));
  return linkage == nullptr ? nullptr : reinterpret_cast<const std::uint32_t*>(linkage + kSoundSwitchOffset);
}

TEST(SimulatorSound, IsFoundByNameOnlyWhileLoaded) {
  EXPECT_EQ(platform::findLoadedLibrary("GLOBAL.DLL"), nullptr);
  {
    host::SimulatorSound sound(test::globalDllPath());
    const std::uint32_t* seen = switchSeenByName();
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(*seen, 1u) << "the simulator starts with its sound on";
    sound.set(0);
    EXPECT_EQ(*seen, 0u);
    sound.set(1);
    EXPECT_EQ(*seen, 1u);
  }
  EXPECT_EQ(platform::findLoadedLibrary("GLOBAL.DLL"), nullptr);
}

// The module keeps the handle it found; if the library goes away, asking the
// stale handle for the switch must find nothing rather than read freed memory.
TEST(SimulatorSound, AHandleKeptPastAnUnloadFindsNothing) {
  void* kept = nullptr;
  {
    host::SimulatorSound sound(test::globalDllPath());
    kept = platform::findLoadedLibrary("GLOBAL.DLL");
    ASSERT_NE(kept, nullptr);
    EXPECT_NE(platform::findLibrarySymbol(kept, "Linkage"), nullptr);
  }
  EXPECT_EQ(platform::findLibrarySymbol(kept, "Linkage"), nullptr);
}

}  // namespace
}  // namespace vorlanex
