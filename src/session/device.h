// Probing, opening and identifying recorders.
#pragma once

#include "LibVestra.h"
#include "common/state.h"

namespace vx {

constexpr int kIdCodeMin = 5;

// Reads the ID code into the record: 1 when the device reported one of 5 to 7
// characters. No login; status number and error text untouched. Lock held.
int GetGBIDCode(VestraInfo *dev) REQUIRES(LibLock());

}  // namespace vx
