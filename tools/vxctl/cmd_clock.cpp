// vxctl time sync: set the recorder's clock from the host's UTC time and
// read it back.
#include <ctime>
#include <string>

#include "commands.h"
#include "output.h"
#include "target.h"

namespace vxctl {
namespace {

std::string HostUtc() {
    std::time_t now = std::time(nullptr);
    std::tm utc{};
#if defined(_WIN32)
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    char text[16] = {};
    if (std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &utc) == 0) text[0] = '\0';
    return text;
}

int Sync(VestraInfo *dev, const char *pw) {
    const std::string host = HostUtc();
    if (!VX_SetDevTime(dev, pw)) return Failed(dev, "time sync");
    char device[VX_TEXT_AREA] = {};
    if (!VX_GetDevTime(dev, pw, device)) return Failed(dev, "time sync: reading the clock back");
    Print(Json{{"host_utc", host}, {"device_utc", device}});
    return kOk;
}

}  // namespace

void AddClockCommands(CLI::App &app) {
    auto *time =
        app.add_subcommand("time", "the recorder's clock (get time / set time read and change it)");
    time->require_subcommand(1);
    AddDeviceCommand(*time, "sync",
                     "set the recorder's clock to the host's UTC time, then read it back", Sync);
}

}  // namespace vxctl
