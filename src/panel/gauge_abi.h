// The records through which the simulator's panel system and a gauge module
// find each other. Every field is one machine word: 32 bits on the win32 build,
// as the simulator reads them; natively a word is pointer-sized, so the same
// code walks the records on both builds. The panel host includes this header
// too, so both sides agree on one layout.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gauge_call.h"

namespace vorlanex::abi {

using Word = std::uintptr_t;
constexpr std::size_t kWord = sizeof(Word);

struct GaugeHeader;
struct StaticImageElement;
using ElementHeader = StaticImageElement;

using ModuleRoutine = void(GAUGE_CALL*)();
using GaugeRoutine = void(GAUGE_CALL*)();
using GaugeRoutineWithValue = void(GAUGE_CALL*)(std::uint32_t value);
using ServiceCallback = void(GAUGE_CALL*)(GaugeHeader* gauge, std::int32_t service,
                                          std::uint32_t extraData);

// The exported `Linkage` record: how the simulator finds the module's gauges.
struct ModuleLinkage {
  Word moduleId;
  ModuleRoutine moduleInit;
  ModuleRoutine moduleDeinit;
  Word reserved1;
  Word reserved2;
  Word moduleVersion;
  GaugeHeader* gauges[2];  // gauge table, ended by null
};

// The host's panel function table, an array of function pointers.
constexpr int kHostPanelsEntries = 64;
struct HostPanels {
  void* entries[kHostPanelsEntries];
};

// The exported `ImportTable`: the host writes the address of its panel
// function table into `panels` before it calls any routine of the module.
struct ImportRecord {
  Word panelsId;
  HostPanels* panels;
  Word endId;
  void* endAddress;
};

struct GaugeHeader {
  Word headerVersion;
  const char* gaugeName;
  ElementHeader* const* elementList;
  GaugeRoutine query;
  GaugeRoutineWithValue install;
  GaugeRoutine initialize;
  GaugeRoutine update;
  GaugeRoutineWithValue generate;
  GaugeRoutine draw;
  GaugeRoutine kill;
  Word reserved1;
  Word sizeXmm;
  Word sizeAndMouse[9];  // further size, position and mouse fields, reserved words
  ServiceCallback serviceCallback;
  Word userData;
  const char* parameters;  // the gauge's parameter text, filled by the host
  Word rest[40];           // the rest of the host's gauge header, all zero
};

struct StaticImageElement {
  Word elementType;
  Word imageId;
  Word position[6];  // position, previous position, offset: x and y each
  GaugeHeader* gauge;
  StaticImageElement* previousElement;
  StaticImageElement* const* nextElements;
  void* failures;
  Word imageFlags;
  Word imageState[11];
};

// Entries of HostPanels the module calls, counted from 0.
enum HostPanelsEntry : int {
  kElementQuery = 24,
  kElementInstall = 25,
  kElementInitialize = 26,
  kElementUpdate = 27,
  kElementGenerate = 28,
  kElementDraw = 29,
  kElementKill = 31,
  kLookupNamedVariable = 51,
  kRegisterNamedVariable = 52,
  kGetNamedVariableValue = 53,
  kSetNamedVariableValue = 55,
};

using ElementRoutine = void(GAUGE_CALL*)(ElementHeader* element);
using ElementRoutineWithValue = void(GAUGE_CALL*)(ElementHeader* element, std::uint32_t value);
using VariableByName = std::int32_t(GAUGE_CALL*)(const char* name);
using GetVariableValue = double(GAUGE_CALL*)(std::int32_t id);
using SetVariableValue = void(GAUGE_CALL*)(std::int32_t id, double value);

// Service codes the module acts on.
enum ServiceCode : std::int32_t {
  kPreInstall = 2,
  kPostInstall = 3,
  kPreUpdate = 6,
  kConnectToWindow = 14,
  kDisconnect = 15,
};

// Each record's word offsets, as the simulator reads them.
static_assert(offsetof(ModuleLinkage, moduleVersion) == 5 * kWord);
static_assert(offsetof(ModuleLinkage, gauges) == 6 * kWord);
static_assert(sizeof(ModuleLinkage) == 8 * kWord);
static_assert(offsetof(ImportRecord, panels) == 1 * kWord);
static_assert(sizeof(ImportRecord) == 4 * kWord);
static_assert(offsetof(GaugeHeader, kill) == 9 * kWord);
static_assert(offsetof(GaugeHeader, sizeXmm) == 11 * kWord);
static_assert(offsetof(GaugeHeader, serviceCallback) == 21 * kWord);
static_assert(offsetof(GaugeHeader, parameters) == 23 * kWord);
static_assert(offsetof(StaticImageElement, gauge) == 8 * kWord);
static_assert(offsetof(StaticImageElement, imageFlags) == 12 * kWord);
static_assert(sizeof(StaticImageElement) == 24 * kWord);
static_assert(sizeof(HostPanels) == kHostPanelsEntries * kWord);

}  // namespace vorlanex::abi
