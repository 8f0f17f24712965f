// The national-standard function set works on one library-owned record,
// opened through a model table of its own.
#pragma once

#include <cstdint>

#include "LibVestra.h"

namespace vx {

constexpr int kGbModelRows = 10;
extern const DevModel GBModelTable[kGbModelRows];

// Opens the library-owned record on the first attached model of the table,
// in table order. status: 1 opened, 2 none could be. Lock held.
int OpenGbDev(int32_t *status);

}  // namespace vx
