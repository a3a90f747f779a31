// A freshly loaded module with a panel host attached: what each host-level
// test starts from, so configuration is read anew in every test.
#pragma once

#include "module_library.h"
#include "panel_host.h"
#include "support/built_files.h"

namespace vorlanex::test {

struct LoadedPanel {
  host::ModuleLibrary module{modulePath()};
  host::PanelHost host{module.exports()};
};

}  // namespace vorlanex::test
