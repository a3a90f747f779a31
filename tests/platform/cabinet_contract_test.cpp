// The cabinet seam on both builds, on cabinets made by gcab: Windows' own FDI
// functions under Wine, libarchive natively, must read the same members and
// refuse the same files the same way.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "cabinet.h"
#include "support/allocation_faults.h"

namespace vorlanex::tool {
namespace {

std::string cabinetFile(const char* name) { return std::string(VORLANEX_TEST_CABINETS) + "/" + name; }

std::string sourceOf(const std::string& member) {
  std::ifstream file(std::string(VORLANEX_CABINET_SOURCES) + "/" + member, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(CabinetContract, ReadsEveryMemberOfStoredAndCompressedCabinets) {
  for (const char* name : {"stored.cab", "mszip.cab"}) {
    const Cabinet cabinet = readCabinet(cabinetFile(name));
    ASSERT_EQ(cabinet.status, Cabinet::Status::kRead) << name;
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
    Cabinet::Status status;
  } cases[] = {
      {"none.cab", Cabinet::Status::kCannotOpen},
      {"not_a_cabinet.cab", Cabinet::Status::kNotACabinet},
      {"damaged.cab", Cabinet::Status::kDamaged},
  };
  for (const Case& c : cases) {
    const Cabinet cabinet = readCabinet(cabinetFile(c.name));
    EXPECT_EQ(cabinet.status, c.status) << c.name;
    EXPECT_TRUE(cabinet.members.empty()) << c.name;
  }
}

// Memory runs out at each of the reader's allocations in turn, those in the
// callbacks that Windows' cabinet.dll calls from its C frames included: each
// reading ends whole, or told as out of memory with nothing in it.
TEST(CabinetContract, MemoryRunningOutAnywhereIsToldAsSuch) {
  const std::string path = cabinetFile("mszip.cab");
  const Cabinet whole = readCabinet(path);
  long toldOutOfMemory = 0;
  for (long nth = 1; nth < 100000; ++nth) {
    test::failAllocation(nth);
    const Cabinet cabinet = readCabinet(path);
    const bool failed = test::allocationFailed();
    test::failAllocation(0);
    if (cabinet.status == Cabinet::Status::kOutOfMemory) {
      ++toldOutOfMemory;
      EXPECT_TRUE(cabinet.members.empty()) << "allocation " << nth;
      continue;
    }
    ASSERT_EQ(cabinet.status, Cabinet::Status::kRead) << "allocation " << nth;
    ASSERT_EQ(cabinet.members.size(), whole.members.size()) << "allocation " << nth;
    for (std::size_t m = 0; m < whole.members.size(); ++m) {
      EXPECT_EQ(cabinet.members[m].bytes, whole.members[m].bytes) << "allocation " << nth;
    }
    if (!failed) break;  // the reading made fewer allocations: each one has failed once
  }
  EXPECT_GT(toldOutOfMemory, 0);
}

}  // namespace
}  // namespace vorlanex::tool
