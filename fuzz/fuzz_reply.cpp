// Whatever a recorder answers, judging the reply must neither crash, nor read
// past the reply area, nor write past an output, nor report a status an
// operation cannot have. Entered where every operation (the library's own,
// the standard set's) judges its reply, with the reply in process: no login,
// no exchange. An INI answer the judge accepts goes on through the INI helper
// as a host would pass it.
// Byte 0 picks the case (kCases in reply_cases.h), byte 1 an index or a size;
// the rest is the bytes read, as the read leaves them in a zero-filled area
// of the row's reply size (embedded NULs included, the last byte never read).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "LibVestra.h"
#include "ops/inicmd.h"
#include "protocol/exchange.h"
#include "reply_cases.h"

using vx::Outcome;

namespace {

using namespace fuzzreply;

bool Touched(const Out &o) {
    const auto *p = static_cast<const uint8_t *>(o.ptr);
    return std::any_of(p, p + o.size, [](uint8_t b) { return b != kFill; });
}

// A field is untouched or holds a terminator (raw copies carry none, by
// their contract).
void CheckField(const Out &o) {
    if (o.kind != Out::Text && o.kind != Out::TextNotNull) return;
    if (Touched(o) && std::memchr(o.ptr, 0, o.size) == nullptr) std::abort();
}

// The OSD text's last byte is never written; the rest is text then zeros.
void CheckOsdText(const Out &t) {
    const auto *b = static_cast<const uint8_t *>(t.ptr);
    if (b[t.size - 1] != kFill) std::abort();
    const std::size_t n = ::strnlen(static_cast<const char *>(t.ptr), t.size - 1);
    for (std::size_t i = n; i + 1 < t.size; ++i)
        if (b[i] != 0) std::abort();
}

// An accepted INI answer, terminated as a host terminates it, parsed into a
// fresh record: a sane count and op, names terminated and without blanks.
void CheckIniAnswer(const Out &answer) {
    std::unique_ptr<char[]> text(new char[answer.size + 1]);
    std::memcpy(text.get(), answer.ptr, answer.size);
    text[answer.size] = '\0';
    auto cmd = std::make_unique<UmsIniCmd>();
    const uint32_t ok = vx::ParseIniCommand(text.get(), cmd.get());
    if (ok > 1 || (ok == 1 && cmd->count < 1) || cmd->count < 0 || cmd->count > VX_INI_ITEMS)
        std::abort();
    for (int32_t i = 0; i < cmd->count; ++i) {
        const UmsIniItem &item = cmd->items[i];
        if (std::memchr(item.keyName, 0, sizeof item.keyName) == nullptr) std::abort();
        if (item.kind == 2 && item.valueText == nullptr) std::abort();
    }
    VX_ReleaseUmsIniCmd(cmd.get());
}

// Judges the reply in hand with the case's outputs.
Outcome Judge(const Row &row, const Wording &w, const std::vector<Out> &v, const char *reply, int n,
              int *status) {
    return JudgeReply(Request{.row = row, .outs = v, .expect = w.expect, .keyword = w.keyword},
                      reply, InHand(reply, n), status);
}

// The outputs of a case (and, where the size is the input's, of that size),
// made on first use and filled again for every later input.
Outputs &OutputsFor(std::size_t index, uint8_t arg) {
    static std::unique_ptr<Outputs> pool[kCaseCount * 256];
    const Case &c = kCases[index];
    const bool sized = c.shape == kOsd || c.shape == kConfig;
    std::unique_ptr<Outputs> &o = pool[index * 256 + (sized ? arg : 0)];
    if (o == nullptr) {
        o = std::make_unique<Outputs>();
        ShapeOutputs(c, arg, o.get());
    } else {
        o->Refill();
    }
    return *o;
}

// A row's reply area, zero-filled as the read finds it; exactly as big as
// the row's, so ASan sees a read past it. Only the bytes the last input
// wrote are cleared again.
char *ReplyArea(std::size_t index, const uint8_t *bytes, std::size_t n) {
    static std::unique_ptr<char[]> areas[kCaseCount];
    static std::size_t used[kCaseCount];
    if (areas[index] == nullptr) areas[index].reset(new char[kCases[index].row->reply]());
    char *area = areas[index].get();
    std::memset(area, 0, used[index]);
    std::memcpy(area, bytes, n);
    used[index] = n;
    return area;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    VX_SetLibLog(VX_LOG_OFF);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    const std::size_t index = data[0] % kCaseCount;
    const Case &c = kCases[index];
    const uint8_t arg = data[1];
    const Row &row = *c.row;

    const std::size_t n = std::min(size - 2, row.reply - 1);  // the read keeps the last byte
    const char *reply = ReplyArea(index, data + 2, n);
    const Wording w = WordingOf(c, arg);
    Outputs &o = OutputsFor(index, arg);
    int status = 1;
    const Outcome outcome = Judge(row, w, o.outs(), reply, int(n), &status);
    const Parsed p{outcome == Outcome::Done || outcome == Outcome::Special, status};

    // Statuses: 1, or the row's own special number, which only Special reports.
    if (outcome == Outcome::Done && status != 1) std::abort();
    if (outcome == Outcome::Special && (status == 1 || status != row.special)) std::abort();
    if (!p.ok && row.check_ok && vx::ReplyAccepted(reply, int(n)) && row.rule == Rule::None)
        std::abort();  // "OK" alone decides these rows
    switch (c.shape) {
    case kDevInfo:
    case kDevTime:
    case kVpn:
    case kServAddr:
        for (const Out &out : o.outs()) CheckField(out);
        break;
    case kOsd:
        if (p.ok) CheckOsdText(o.outs()[1]);
        break;
    case kConfig:
        if (!p.ok && Touched(o.outs()[0])) std::abort();  // a refused answer writes nothing
        if (p.ok && &row == &rows::kIniText) CheckIniAnswer(o.outs()[0]);
        break;
    default:
        break;
    }
    return 0;
}
