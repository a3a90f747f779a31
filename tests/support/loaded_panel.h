// A fresh module with a panel host attached: what each host-level test starts
// from, so configuration is read anew in every test.
#pragma once

#include "fresh_module.h"
#include "module_library.h"
#include "panel_host.h"
#include "support/built_files.h"

namespace vorlanex::test {

// Natively the module's code linked in with a state of its own; on the win32
// build the real Vorlanex_sound.gau loaded afresh, as the simulator loads it,
// so the same tests hold the real Windows libraries to the protocol.
struct LoadedPanel {
  FreshModule module;
  host::PanelHost host{module.exports()};
};

// The real module file loaded afresh on every build: for the tests of its
// exported face (its records, its standard routines, its service callback).
struct LibraryPanel {
  host::ModuleLibrary module{modulePath()};
  host::PanelHost host{module.exports()};
};

}  // namespace vorlanex::test
