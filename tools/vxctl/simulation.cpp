#include "simulation.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace vxctl {
namespace {

std::string SimDir() {
    if (const char *dir = std::getenv("VESTRA_SIM_DIR")) return dir;
    return VXCTL_SIM_DIR;
}

std::string RealPath(const std::string &path) {
    char *resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string out(resolved);
    std::free(resolved);
    return out;
}

}  // namespace

bool VirtualBusLoaded() {
    void *sym = ::dlsym(RTLD_DEFAULT, "usb_init");
    Dl_info info{};
    if (sym == nullptr || ::dladdr(sym, &info) == 0 || info.dli_fname == nullptr) return false;
    std::string loaded = RealPath(info.dli_fname);
    std::string dir = RealPath(SimDir());
    return loaded.compare(0, dir.size() + 1, dir + "/") == 0;
}

void UseScenario(const std::string &scenario, char **argv) {
    std::string path = RealPath(scenario);
    if (::access(path.c_str(), R_OK) != 0) {
        std::fprintf(stderr, "vxctl: cannot read scenario file %s\n", scenario.c_str());
        std::exit(2);
    }
    if (std::getenv("VXCTL_REEXEC") != nullptr) {
        std::fprintf(stderr, "vxctl: the virtual recorder bus was not found in %s\n",
                     SimDir().c_str());
        std::exit(1);
    }
    std::string libpath = SimDir();
    if (const char *old = std::getenv("LD_LIBRARY_PATH")) libpath += std::string(":") + old;
    ::setenv("LD_LIBRARY_PATH", libpath.c_str(), 1);
    ::setenv("VSIM_SCENARIO", path.c_str(), 1);
    ::setenv("VXCTL_REEXEC", "1", 1);
    ::execv("/proc/self/exe", argv);
    std::perror("vxctl: re-executing with the virtual bus");
    std::exit(1);
}

}  // namespace vxctl
