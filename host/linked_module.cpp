#include "linked_module.h"

#include "module/gauge_records.h"
#include "commands/sound_device.h"
#include "module/service_dispatch.h"

namespace vorlanex::host {

LinkedModule::LinkedModule()
    : imports_{kPanelsTableId, nullptr, 0, nullptr},
      state_(std::make_unique<ModuleState>(&imports_)),
      exports_{&Linkage, &imports_, [this](abi::GaugeHeader* gauge, std::int32_t service) {
                 serveModule(*state_, gauge, service);
               }} {}

LinkedModule::~LinkedModule() { releaseAllSounds(*state_); }

}  // namespace vorlanex::host
