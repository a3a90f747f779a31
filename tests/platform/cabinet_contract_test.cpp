// The cabinet seam on both builds, on cabinets made by gcab: Windows' own FDI
// functions under Wine, libarchive natively, must read the same members and
// refuse the same files the same way.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "cabinet.h"

namespace vorlanex::panel {
namespace {

std::string cabinetFile(const char* name) { return std::string(VORLANEX_TEST_CABINETS) + "/" + name; }

std::string sourceOf(const std::string& member) {
  std::ifstream file(std::string(VORLANEX_CABINET_SOURCES) + "/" + member, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(CabinetContract, ReadsEveryMemberOfStoredAndCompressedCabinets) {
  for (const char* name : {"stored.cab", "mszip.cab"}) {
    const Cabinet cabinet = readCabinet(cabinetFile(name));
    ASSERT_EQ(cabinet.state, Cabinet::State::kRead) << name;
    ASSERT_EQ(cabinet.members.size(), 2u) << name;
    for (const CabinetMember& member : cabinet.members) {
      EXPECT_FALSE(member.bytes.empty()) << name << ":" << member.name;
      EXPECT_EQ(member.bytes, sourceOf(member.name)) << name << ":" << member.name;
    }
    EXPECT_EQ(cabinet.members[0].name, "chime_switch.xml");
    EXPECT_EQ(cabinet.members[1].name, "fan_switch.xml");
  }
}

TEST(CabinetContract, TellsAMissingFileATextFileAndADamagedCabinetApart) {
  struct Case {
    const char* name;
    Cabinet::State state;
  } cases[] = {
      {"none.cab", Cabinet::State::kCannotOpen},
      {"not_a_cabinet.cab", Cabinet::State::kNotACabinet},
      {"damaged.cab", Cabinet::State::kDamaged},
  };
  for (const Case& c : cases) {
    const Cabinet cabinet = readCabinet(cabinetFile(c.name));
    EXPECT_EQ(cabinet.state, c.state) << c.name;
    EXPECT_TRUE(cabinet.members.empty()) << c.name;
  }
}

}  // namespace
}  // namespace vorlanex::panel
