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

// Where a call writes its status: the caller's argument, or nowhere when the
// caller passed null.
// The fork handler's child side: the maintenance lock made anew.
void RenewMaintenanceLockInChild();

inline int32_t *StatusOf(int32_t *status) {
    static thread_local int32_t ignored;
    return status != nullptr ? status : &ignored;
}

}  // namespace vx
