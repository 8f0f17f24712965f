// Configuration requests as INI or JSON text, passed to the device whole.
#include "common/guard.h"
#include "ops/rows.h"
#include "ops/steps.h"

using namespace vx;
using namespace vx::ops;

namespace {

uint32_t SendText(VestraInfo *dev, const char *password, const Row &row, const char *text, char *answer,
                  int32_t size) {
    return Guarded(0u, [&] {
        std::size_t room = size > 0 ? std::size_t(size) : 0;
        const Arg args[] = {text};
        const Out outs[] = {Out::TextArea(answer, room)};
        return Call(dev, password, Request{.row = row, .args = args, .outs = outs});
    });
}

}  // namespace

extern "C" {

VX_API uint32_t VX_DevCfgIniStr(VestraInfo *dev, const char *password, const char *text, char *answer,
                                int32_t size) {
    return SendText(dev, password, rows::kIniText, text, answer, size);
}

VX_API uint32_t VX_DevCfgJsonStr(VestraInfo *dev, const char *password, const char *text, char *answer,
                                 int32_t size) {
    return SendText(dev, password, rows::kJsonText, text, answer, size);
}

}  // extern "C"
