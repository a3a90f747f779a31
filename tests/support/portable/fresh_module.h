// A fresh module natively: the module's code linked in, with a state of its own.
#pragma once

#include "linked_module.h"

namespace vorlanex::test {

using FreshModule = host::LinkedModule;

}  // namespace vorlanex::test
