#include "simulation.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#if defined(_WIN32)
#include <io.h>
#include <process.h>

#include <vector>

namespace vxctl {
namespace {

// One argument as the Windows runtime splits a command line back into argv.
std::string Quoted(const std::string &arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string out = "\"";
    std::size_t slashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        out.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
        slashes = 0;
        out += c;
    }
    out.append(2 * slashes, '\\');
    return out + "\"";
}

}  // namespace

// Windows loads libusb0.dll from the program's own folder first: the build
// puts the virtual bus there, beside vxctl.exe. The scenario reaches it
// through the environment of a second run of vxctl (the bus reads it once,
// at its start).
bool VirtualBusLoaded() { return std::getenv("VXCTL_REEXEC") != nullptr; }

void UseScenario(const std::string &scenario, char **argv) {
    char full[1024];
    if (_fullpath(full, scenario.c_str(), sizeof full) == nullptr || _access(full, 4) != 0) {
        std::fprintf(stderr, "vxctl: cannot read scenario file %s\n", scenario.c_str());
        std::exit(2);
    }
    _putenv_s("VSIM_SCENARIO", full);
    _putenv_s("VXCTL_REEXEC", "1");
    std::vector<std::string> args;
    for (char **a = argv; *a; ++a) args.push_back(Quoted(*a));
    std::vector<const char *> ptrs;
    for (const auto &a : args) ptrs.push_back(a.c_str());
    ptrs.push_back(nullptr);
    std::fflush(nullptr);
    intptr_t code = _spawnv(_P_WAIT, argv[0], ptrs.data());
    if (code < 0) {
        std::perror("vxctl: running again with the virtual bus");
        std::exit(1);
    }
    std::exit(int(code));
}

}  // namespace vxctl

#else
#include <dlfcn.h>
#include <unistd.h>

namespace vxctl {
namespace {

std::string RealPath(const std::string &path) {
    char *resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string out(resolved);
    std::free(resolved);
    return out;
}

// vxctl reads and sets its environment before any thread starts.
// NOLINTBEGIN(concurrency-mt-unsafe)

// The virtual bus lies at a fixed place relative to vxctl: beside the build
// tree's bin/, or in the installed private folder. VESTRA_SIM_DIR overrides.
std::string SimDir() {
    if (const char *dir = std::getenv("VESTRA_SIM_DIR")) return dir;
    std::string exe = RealPath("/proc/self/exe");
    std::string base = exe.substr(0, exe.rfind('/') + 1);
    for (const char *relative : {VXCTL_SIM_BUILT, VXCTL_SIM_INSTALLED}) {
        std::string dir = base + relative;
        if (::access((dir + "/libusb-0.1.so.4").c_str(), R_OK) == 0) return RealPath(dir);
    }
    return RealPath(base) + "/" + VXCTL_SIM_INSTALLED;
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

// NOLINTEND(concurrency-mt-unsafe)

}  // namespace vxctl
#endif
