// Writes the reply fuzzer's seeds: for every case, the command the operation
// sends, asked of a logged-in virtual recorder, and its answer as the read
// leaves it, behind the case's two input bytes.
//   reply_seeds <folder>
#include <cstdio>
#include <fstream>
#include <string>

#include "LibVestra.h"
#include "common/state.h"
#include "protocol/exchange.h"
#include "reply_cases.h"
#include "vsim.h"

using namespace fuzzreply;

// One argument a set command of the case is answered for.
const char *SampleArgument(const Case &c) {
    if (c.row == &rows::kIniText) return "Video.Resolution=?|.Fps=?";
    if (c.row == &rows::kJsonText) return "{\"Video\":{}}";
    if (c.row == &rows::kDelAp || c.row == &rows::kSetSelAp) return "ALL";
    return "1";
}

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: reply_seeds <folder>\n");
        return 2;
    }
    VX_SetLibLog(VX_LOG_OFF);
    vsim::reset();
    vsim::add_bus("001", 1);
    vsim::DeviceSpec spec;
    spec.model = "VX001";
    vsim::plug(spec);
    VestraInfo *dev = VX_InitDev("VX001");
    if (dev == nullptr || !VX_Login(dev, "888888")) {
        std::fprintf(stderr, "reply_seeds: no virtual recorder to ask\n");
        return 1;
    }
    constexpr uint8_t kArg = 1;  // OSD 1, data pack 1, answer areas of 5 bytes
    int written = 0;
    for (std::size_t i = 0; i < kCaseCount; ++i) {
        const Case &c = kCases[i];
        const Wording w = WordingOf(c, kArg);
        std::string command;
        const Arg sample[] = {SampleArgument(c)};
        const Request request{.row = *c.row,
                              .args = c.row->form == Form::Set ? std::span<const Arg>(sample)
                                                               : std::span<const Arg>(),
                              .expect = w.expect,
                              .keyword = w.keyword};
        const char *refusal = BuildRequest(request, &command);
        if (refusal != nullptr) continue;
        std::string reply(c.row->reply, '\0');
        int n;
        {
            vx::LibGuard lock(vx::LibLock());
            n = vx::Transact(dev, command, reply.data(), int(reply.size())).n;
        }
        if (n <= 0) continue;
        std::ofstream out(std::string(argv[1]) + "/" + std::to_string(i) + "-" + w.keyword,
                          std::ios::binary);
        out.put(char(i)).put(char(kArg)).write(reply.data(), n);
        written += out.good() ? 1 : 0;
    }
    VX_Logout(dev);
    VX_UnInitDev(dev);
    std::printf("reply_seeds: %d seeds\n", written);
    return written > 0 ? 0 : 1;
}
