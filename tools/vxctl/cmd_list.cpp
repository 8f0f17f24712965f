// The device list: "list" (after one update) and "watch" (the monitor live).
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "LibVestra.h"
#include "commands.h"
#include "output.h"

namespace vxctl {
namespace {

std::atomic<bool> g_interrupted{false};

std::string Stamp() {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    int ms = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000);
    std::tm tm{};
#if defined(_WIN32)
    ::localtime_s(&tm, &t);
#else
    ::localtime_r(&t, &tm);
#endif
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%03d", tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
    return buf;
}

void PrintList(bool json) {
    DevListInfo info[VX_LIST_SLOTS];
    uint32_t n = VX_GetDevAllListInfoFromList(info, VX_LIST_SLOTS);
    if (json) {
        nlohmann::json out = nlohmann::json::array();
        for (uint32_t i = 0; i < n; ++i)
            out.push_back({{"slot", info[i].index},
                           {"devnum", info[i].devNum},
                           {"serial", info[i].serial},
                           {"idcode", info[i].idCode},
                           {"udisk", info[i].udiskStatus},
                           {"vid", info[i].busVendorId},
                           {"pid", info[i].busProductId},
                           {"model", info[i].handle->model.name}});
        std::printf("%s\n", out.dump(2).c_str());
        return;
    }
    std::printf("%u recorder(s)\n", n);
    for (uint32_t i = 0; i < n; ++i)
        std::printf("[%d] %-7s %04X:%04X devnum %-3d serial %-15s id %-7s udisk %d\n",
                    info[i].index, info[i].handle->model.name, info[i].busVendorId,
                    info[i].busProductId, info[i].devNum, info[i].serial, info[i].idCode,
                    info[i].udiskStatus);
}

void OnChange(int32_t kind, int32_t value) {
    if (kind == 1) {
        std::printf("%s list changed: %d recorder(s)\n", Stamp().c_str(), value);
        PrintList(false);
    } else {
        std::printf("%s device event: %s\n", Stamp().c_str(), value == 1 ? "arrival" : "removal");
    }
    std::fflush(stdout);
}

}  // namespace

void AddListCommands(CLI::App &app) {
    auto *list =
        app.add_subcommand("list", "update the device list once and print it (--json: as JSON)");
    list->callback([] {
        VX_InitDevListPthread();
        VX_InitDevList();
        PrintList(g_json_output);
    });

    auto seconds_storage = std::make_shared<double>(0);
    auto *watch =
        app.add_subcommand("watch", "start the monitor and print changes live until interrupted");
    watch->add_option("--seconds", *seconds_storage,
                      "stop after this many seconds (default: until Ctrl-C)");
    watch->callback([seconds_storage] {
        double seconds = *seconds_storage;
        (void)std::signal(SIGINT, [](int) { g_interrupted = true; });  // fixed, valid signals
        (void)std::signal(SIGTERM, [](int) { g_interrupted = true; });
        std::printf("%s watching (Ctrl-C ends)\n", Stamp().c_str());
        std::fflush(stdout);
        VX_InitDevListPthreadEx(OnChange);
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!g_interrupted.load() && (seconds <= 0 || std::chrono::steady_clock::now() < end))
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::printf("%s done\n", Stamp().c_str());
    });
}

}  // namespace vxctl
