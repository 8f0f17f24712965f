// Running vxctl against virtual recorders instead of the USB bus.
#pragma once

#include <string>

namespace vxctl {

// Makes the process use the virtual recorder bus described by the scenario
// file: re-executes itself once with the virtual libusb first on the library
// path. Returns only on failure, with a message for the user.
[[noreturn]] void UseScenario(const std::string &scenario, char **argv);
// True when the libusb this process loaded is the virtual bus.
bool VirtualBusLoaded();

}  // namespace vxctl
