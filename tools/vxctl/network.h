// Reading the access points, shared by `ap list` and `show`.
#pragma once

#include "LibVestra.h"
#include "output.h"

namespace vxctl {

// {"access_points": [ssid, ...], "selected": ssid or null}; an empty list or
// no selection (the library's -113 and -112) is an answer, not a failure.
// False when the list could not be read; a selection that could not be read
// is shown unavailable.
bool ReadAccessPoints(VestraInfo *dev, const char *pw, Json &value);

}  // namespace vxctl
