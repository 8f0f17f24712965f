// The INI command parser over arbitrary texts, with one record reused across
// inputs as a caller would: it continues at its count, its values released
// after every input, zero-filled again when full or when the input asks.
// Byte 0: bit 0 starts from a zero-filled record, bit 1 calls the parser
// directly instead of through the C interface. The rest is up to three
// texts separated by NUL bytes, parsed one after the other.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "LibVestra.h"
#include "ops/inicmd.h"

namespace {

UmsIniCmd g_cmd{};

bool Terminated(const char *text, std::size_t size) {
    return std::memchr(text, 0, size) != nullptr;
}

// What any call leaves: a sane count and op, terminated names, no spaces,
// a value text for every entry filled by this input that has one.
void Check(const UmsIniCmd &c, int32_t first_new) {
    if (c.count < 0 || c.count > VX_INI_ITEMS) std::abort();
    if (c.count > 0 && c.op != 0 && c.op != 1 && c.op != 3 && c.op != 4) std::abort();
    if (!Terminated(c.section, sizeof c.section) || std::strchr(c.section, ' ')) std::abort();
    for (int32_t i = 0; i < c.count; ++i) {
        const UmsIniItem &item = c.items[i];
        if (!Terminated(item.keyName, sizeof item.keyName) || std::strchr(item.keyName, ' '))
            std::abort();
        if (i < first_new) continue;
        if (item.kind != 0 && item.kind != 2) std::abort();
        if (item.kind == 2 && (item.valueText == nullptr || std::strchr(item.valueText, ' ')))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    VX_SetLibLog(VX_LOG_OFF);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    const uint8_t flags = data[0];
    if ((flags & 1) || g_cmd.count >= VX_INI_ITEMS) std::memset(&g_cmd, 0, sizeof g_cmd);
    const int32_t first_new = g_cmd.count;

    std::size_t pos = 1;
    for (int text = 0; text < 3 && pos <= size; ++text) {
        const void *nul = std::memchr(data + pos, 0, size - pos);
        const std::size_t end = nul ? std::size_t(static_cast<const uint8_t *>(nul) - data) : size;
        // A heap copy of exactly the text and its terminator.
        std::unique_ptr<char[]> copy(new char[end - pos + 1]);
        std::memcpy(copy.get(), data + pos, end - pos);
        copy[end - pos] = '\0';

        const UmsIniCmd before = g_cmd;
        const uint32_t ok = (flags & 2) ? vx::ParseIniCommand(copy.get(), &g_cmd)
                                        : VX_UmsIniStr2IniCmd(copy.get(), &g_cmd);
        if (ok > 1 || (ok == 1 && g_cmd.count < 1)) std::abort();
        if (before.count >= VX_INI_ITEMS && std::memcmp(&before, &g_cmd, sizeof g_cmd) != 0)
            std::abort();  // a full record is left alone
        if (g_cmd.count < before.count) std::abort();
        Check(g_cmd, first_new);
        pos = end + 1;
    }
    VX_ReleaseUmsIniCmd(&g_cmd);
    for (const UmsIniItem &item : g_cmd.items)
        if (item.valueText != nullptr) std::abort();
    return 0;
}
