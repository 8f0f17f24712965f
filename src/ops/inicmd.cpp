#include "ops/inicmd.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/guard.h"
#include "common/text.h"

namespace vx {
namespace {

enum Op : int32_t { kQuery = 0, kSet = 1, kAdd = 3, kRemove = 4 };

// Every search below is a C-string search on the scratch copy, so it stops at
// the terminators that earlier steps wrote into it.
char *ValueCopy(const char *value) {
    std::size_t n = std::strlen(value);
    char *copy = static_cast<char *>(std::calloc(n + 1, 1));
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result): calloc left copy[n] zero
    if (copy != nullptr) std::memcpy(copy, value, n);
    return copy;
}

}  // namespace

uint32_t ParseIniCommand(const char *text, UmsIniCmd *cmd) {
    if (text == nullptr || cmd == nullptr) return 0;
    if (cmd->count < 0 || cmd->count >= VX_INI_ITEMS) return 0;  // full: nothing more fits

    std::string scratch;
    for (const char *p = text; *p; ++p)
        if (*p != ' ') scratch += *p;
    const std::size_t length = scratch.size();
    char *base = scratch.data();

    char *cursor = base;
    while (cmd->count < VX_INI_ITEMS) {
        char *dot = std::strchr(cursor, '.');
        if (dot == nullptr) break;
        char *eq = std::strchr(dot + 1, '=');
        if (eq == nullptr || eq == dot + 1 || std::size_t(eq - cursor) + 1 >= length) break;
        *dot = '\0';
        const char *section = cursor;
        const char *key = dot + 1;

        int32_t op;
        if (eq[-1] == '+' || eq[-1] == '-') {
            op = eq[-1] == '+' ? kAdd : kRemove;
            eq[-1] = '\0';
        } else {
            op = eq[1] == '?' ? kQuery : kSet;
        }
        *eq = '\0';
        if (cmd->count == 0) cmd->op = op;

        char *value = eq + 1;
        char *bar = std::strchr(value, '|');
        if (bar != nullptr) *bar = '\0';

        UmsIniItem &item = cmd->items[cmd->count];
        if (cmd->count == 0) CopyText(cmd->section, section);
        CopyText(item.keyName, key);
        if (cmd->op != kQuery) {
            item.kind = 2;
            std::free(item.valueText);
            item.valueText = ValueCopy(value);
        } else {
            item.kind = 0;
        }
        ++cmd->count;

        if (bar == nullptr) break;  // a later pass would find no dot
        cursor = std::strchr(bar + 1, '.');
        if (cursor == nullptr) break;
    }
    return cmd->count >= 1 ? 1 : 0;
}

}  // namespace vx

extern "C" {

VX_API uint32_t VX_UmsIniStr2IniCmd(const char *text, UmsIniCmd *cmd) {
    return vx::Guarded(0u, [&] { return vx::ParseIniCommand(text, cmd); });
}

VX_API void VX_ReleaseUmsIniCmd(UmsIniCmd *cmd) {
    if (cmd == nullptr) return;
    for (UmsIniItem &item : cmd->items) {
        std::free(item.valueText);
        item.valueText = nullptr;
    }
}

}  // extern "C"
