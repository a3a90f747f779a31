// The simulator calls gauge routines, the service callback and its own panel
// function table with __stdcall.
#pragma once
#define GAUGE_CALL __stdcall

// The simulator is a 32-bit program: its records are made of 32-bit words.
static_assert(sizeof(void*) == 4, "the module must be built for 32-bit Windows");

// The module's exports are named by its .def file.
#define GAUGE_EXPORT
