// Breaking an INI command text ("Section.Key=value|.Key2=value") into a
// UmsIniCmd record. No device, no lock.
#pragma once

#include <cstdint>

#include "LibVestra.h"

namespace vx {

// 1 when the record holds at least one entry afterwards; 0 when the text or
// the record is null, the record is full already, or nothing was filled.
uint32_t ParseIniCommand(const char *text, UmsIniCmd *cmd);

}  // namespace vx
