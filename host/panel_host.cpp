#include "panel_host.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "panel_functions.h"

namespace vorlanex::host {

PanelHost::PanelHost(const ModuleExports& module)
    : module_(module),
      previousHost_(activeHost()),
      previousPanels_(module.importTable->panels),
      panels_{},
      instance_(*module.linkage->gauges[0]) {
  fillPanelFunctions(panels_);
  setActiveHost(this);
  module_.importTable->panels = &panels_;
  instance_.parameters = nullptr;
}

PanelHost::~PanelHost() {
  if (module_.importTable) module_.importTable->panels = previousPanels_;
  setActiveHost(previousHost_);
}

void PanelHost::releaseModule() {
  if (module_.importTable) module_.importTable->panels = previousPanels_;
  module_ = {};
}

void PanelHost::useModule(const ModuleExports& module) {
  module_ = module;
  previousPanels_ = module.importTable->panels;
  const char* parameters = instance_.parameters;
  instance_ = *module.linkage->gauges[0];
  instance_.parameters = parameters;
  module_.importTable->panels = &panels_;
}

void PanelHost::setParameters(const std::string& parameters) {
  parameters_ = parameters;
  instance_.parameters = parameters_.c_str();
}

void PanelHost::service(std::int32_t code) {
  if (module_.service) {
    module_.service(&instance_, code);
  } else {
    instance_.serviceCallback(&instance_, code, 0);
  }
}

void PanelHost::install() {
  service(abi::kPreInstall);
  service(abi::kPostInstall);
  service(abi::kConnectToWindow);
}

void PanelHost::runFrames(int count) {
  const auto frame = std::chrono::duration<double>(1.0 / frameRate_);
  auto next = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    service(abi::kPreUpdate);
    if (onFrame_) onFrame_(frame.count());
    if (realTime_) {
      next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(frame);
      std::this_thread::sleep_until(next);
    }
  }
}

std::vector<std::string> PanelHost::registeredNames() const {
  std::vector<std::string> names;
  for (const HostCall& call : calls_) {
    if (call.entry == abi::kRegisterNamedVariable &&
        std::find(names.begin(), names.end(), call.name) == names.end()) {
      names.push_back(call.name);
    }
  }
  return names;
}

void PanelHost::record(HostCall call) {
  if (recording_) calls_.push_back(std::move(call));
}

}  // namespace vorlanex::host
