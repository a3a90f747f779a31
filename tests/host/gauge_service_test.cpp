// The gauge's face as the simulator sees it, through the loaded module.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "support/loaded_panel.h"
#include "support/temp_folder.h"

namespace vorlanex {
namespace {

using host::HostCall;
using test::LibraryPanel;
using test::LoadedPanel;

template <std::size_t N>
void expectAllZero(const abi::Word (&words)[N], const char* what) {
  for (std::size_t i = 0; i < N; ++i) EXPECT_EQ(words[i], 0u) << what << " word " << i;
}

TEST(GaugeRecords, HoldWhatTheSimulatorReads) {
  host::ModuleLibrary module(test::modulePath());
  const abi::ModuleLinkage& linkage = *module.exports().linkage;
  const abi::ImportRecord& imports = *module.exports().importTable;

  EXPECT_EQ(linkage.moduleId, 0x13u);
  EXPECT_NE(linkage.moduleInit, nullptr);
  EXPECT_NE(linkage.moduleDeinit, nullptr);
  EXPECT_EQ(linkage.reserved1, 0u);
  EXPECT_EQ(linkage.reserved2, 0u);
  EXPECT_EQ(linkage.moduleVersion, 0x900u);
  ASSERT_NE(linkage.gauges[0], nullptr);
  EXPECT_EQ(linkage.gauges[1], nullptr);

  EXPECT_EQ(imports.panelsId, 0x0Fu);
  EXPECT_EQ(imports.panels, nullptr) << "only the host fills in its table";
  EXPECT_EQ(imports.endId, 0u);
  EXPECT_EQ(imports.endAddress, nullptr);

  const abi::GaugeHeader& gauge = *linkage.gauges[0];
  EXPECT_EQ(gauge.headerVersion, 800u);
  EXPECT_STREQ(gauge.gaugeName, "sound");
  for (auto routine : {gauge.query, gauge.initialize, gauge.update, gauge.draw, gauge.kill}) {
    EXPECT_NE(routine, nullptr);
  }
  EXPECT_NE(gauge.install, nullptr);
  EXPECT_NE(gauge.generate, nullptr);
  EXPECT_EQ(gauge.reserved1, 0u);
  EXPECT_EQ(gauge.sizeXmm, 20u);
  expectAllZero(gauge.sizeAndMouse, "header");
  EXPECT_NE(gauge.serviceCallback, nullptr);
  EXPECT_EQ(gauge.userData, 0u);
  EXPECT_EQ(gauge.parameters, nullptr);
  expectAllZero(gauge.rest, "header");

  ASSERT_NE(gauge.elementList, nullptr);
  ASSERT_NE(gauge.elementList[0], nullptr);
  EXPECT_EQ(gauge.elementList[1], nullptr);
  const abi::StaticImageElement& image = *gauge.elementList[0];
  EXPECT_EQ(image.elementType, 0u);
  EXPECT_EQ(image.imageId, 256u);
  expectAllZero(image.position, "element");
  EXPECT_EQ(image.gauge, &gauge);
  EXPECT_EQ(image.previousElement, nullptr);
  EXPECT_EQ(image.nextElements, nullptr);
  EXPECT_EQ(image.failures, nullptr);
  EXPECT_EQ(image.imageFlags, 0x83u);
  expectAllZero(image.imageState, "element");
}

TEST(GaugeRecords, HostTableIsWrittenIntoImportTable) {
  LibraryPanel panel;
  EXPECT_NE(panel.module.exports().importTable->panels, nullptr);
}

struct RoutineCase {
  const char* name;
  std::function<void(host::PanelHost&)> call;
  int entry;
  std::uint32_t argument;
};

TEST(GaugeRoutines, ForwardToTheHostsElementRoutineWithTheFirstElement) {
  const RoutineCase cases[] = {
      {"query", [](host::PanelHost& h) { h.query(); }, 24, 0},
      {"install", [](host::PanelHost& h) { h.installRoutine(0xCAFE0001u); }, 25, 0xCAFE0001u},
      {"initialize", [](host::PanelHost& h) { h.initialize(); }, 26, 0},
      {"update", [](host::PanelHost& h) { h.update(); }, 27, 0},
      {"generate", [](host::PanelHost& h) { h.generate(7); }, 28, 7},
      {"draw", [](host::PanelHost& h) { h.draw(); }, 29, 0},
      {"kill", [](host::PanelHost& h) { h.kill(); }, 31, 0},
  };
  LibraryPanel panel;
  const void* element = panel.host.gauge().elementList[0];
  for (const RoutineCase& c : cases) {
    panel.host.clearCalls();
    c.call(panel.host);
    ASSERT_EQ(panel.host.calls().size(), 1u) << c.name;
    const HostCall& call = panel.host.calls()[0];
    EXPECT_EQ(call.entry, c.entry) << c.name;
    EXPECT_EQ(call.element, element) << c.name;
    EXPECT_EQ(call.argument, c.argument) << c.name;
  }
}

TEST(GaugeService, ConnectToWindowRegistersTheThreeStatusVariablesInOrder) {
  // Through the exported service callback, which serves the library's state.
  LibraryPanel panel;
  panel.host.service(abi::kConnectToWindow);
  ASSERT_EQ(panel.host.calls().size(), 3u);
  const char* expected[] = {"zeb_volume_played", "zeb_xml_sound_volume", "zeb_sound_indicator"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(panel.host.calls()[i].entry, abi::kRegisterNamedVariable);
    EXPECT_EQ(panel.host.calls()[i].name, expected[i]);
  }

  // Connecting again registers the same variables, not new ones.
  panel.host.service(abi::kConnectToWindow);
  EXPECT_EQ(panel.host.variables().names().size(), 3u);
}

const std::int32_t kIgnoredCodes[] = {0, 1, 4, 5, 7, 8, 9, 10, 11, 12, 13, 16, -1};

TEST(GaugeService, UnknownCodesDoNothingBeforeOrAfterConfiguration) {
  test::TempFolder root;
  root.write("Gauges/zeb_xml_sound.ini", "[Config]\nMaxSounds=1\n");
  LoadedPanel panel;

  for (std::int32_t code : kIgnoredCodes) panel.host.service(code);
  EXPECT_TRUE(panel.host.calls().empty());

  // None of them counted as the post-install: the configuration is still read.
  panel.host.service(abi::kPostInstall);
  EXPECT_EQ(panel.host.registeredNames(),
            (std::vector<std::string>{"zeb_xml_id_00", "zeb_stop_sounds"}));

  panel.host.clearCalls();
  for (std::int32_t code : kIgnoredCodes) panel.host.service(code);
  EXPECT_TRUE(panel.host.calls().empty());
}

TEST(GaugeService, PreInstallAndDisconnectCallNoPanelFunction) {
  test::TempFolder root;
  LoadedPanel panel;
  panel.host.disconnect();  // before any post-install: nothing was loaded
  panel.host.service(abi::kPreInstall);
  panel.host.service(abi::kPreUpdate);  // not configured yet
  panel.host.disconnect();
  EXPECT_TRUE(panel.host.calls().empty());
}

}  // namespace
}  // namespace vorlanex
