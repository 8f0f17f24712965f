// The data channel, data packs and shell lines.
#include <chrono>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "commands.h"
#include "text.h"

namespace vsim {
namespace {

// Shell lines after which the recorder goes away: power-off, and the last of
// the two lines that enter download mode.
const char *const kLeavingLines[] = {
    "/usr/local/sbin/i2ccmd W 2 0x70 0xaa 0x10 1 1 0xbc",
    "test_encode --idle --nopreview ;killall test_image ;echo 3 > /proc/sys/vm/drop_caches",
};

bool to_int(const std::string &text, int *out) {
    if (!is_integer(text)) return false;
    errno = 0;
    long long n = std::strtoll(text.c_str(), nullptr, 10);
    if (errno || n < INT_MIN || n > INT_MAX) return false;
    *out = static_cast<int>(n);
    return true;
}

}  // namespace

std::string on_datapthread(Recorder &rec, const Command &c) {
    if (c.form != '=' || !is_integer(c.args)) return kParaError;
    rec.set(c.keyword, c.args);
    return reply(c, c.args);
}

// "number,base64": the decoded pack is recorded, the number echoed.
std::string on_base64(Recorder &rec, const Command &c) {
    std::size_t comma = c.args.find(',');
    if (c.form != '=' || comma == std::string::npos) return kParaError;
    std::string bytes;
    int number = 0;
    if (!to_int(c.args.substr(0, comma), &number) ||
        !base64_decode(c.args.substr(comma + 1), &bytes))
        return kParaError;
    rec.data_packs.push_back(DataPack{number, bytes});
    return reply(c, std::to_string(number));
}

// A Base64 shell line: recorded with its arrival time, acknowledged.
std::string on_syscmd(Recorder &rec, const Command &c) {
    std::string line;
    if (c.form != '=' || c.args.empty() || !base64_decode(c.args, &line)) return kParaError;
    rec.shell_lines.push_back(ShellLine{line, std::chrono::steady_clock::now()});
    for (const char *leaving : kLeavingLines)
        if (line == leaving) rec.powering_off = true;
    return reply(c, "OK");
}

}  // namespace vsim
