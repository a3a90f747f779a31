// Natively the host and the module share the platform's default convention.
#pragma once
#define GAUGE_CALL

// The native module is built with hidden visibility; only the records the host
// links against are exported, as on Windows.
#define GAUGE_EXPORT __attribute__((visibility("default")))
