// Running vxctl against virtual recorders instead of the USB bus.
#pragma once

#include <string>

namespace vxctl {

// Makes the process use the virtual recorder bus described by the scenario
// file: re-executes itself once with the virtual libusb first on the library
// path. Returns only on failure, with a message for the user.
[[noreturn]] void use_scenario(const std::string &scenario, char **argv);
// True when the libusb this process loaded is the virtual bus.
bool virtual_bus_loaded();

}  // namespace vxctl
