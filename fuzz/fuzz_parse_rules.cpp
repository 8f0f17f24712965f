// Every parse rule over arbitrary replies, each with the outputs its exported
// operations hand in. Every output is a heap block of its exact size, so a
// write one byte past a field (not only past a whole record) is an ASan
// report. Byte 0 picks the case, byte 1 an index or a size, the rest is the
// reply as the steps pass it (cut at its first NUL and at the row's area).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "LibVestra.h"
#include "ops/rows.h"
#include "ops/rules.h"

namespace {

using namespace vx::ops;
namespace rows = vx::ops::rows;

constexpr uint8_t kFill = 0xA5;  // never a byte a rule writes on its own

// The caller's memory for one case: blocks of exact sizes, filled with kFill.
class Outputs {
public:
    char *Text(std::size_t n) { return static_cast<char *>(Block(n)); }
    uint32_t *Num() { return static_cast<uint32_t *>(Block(sizeof(uint32_t))); }
    void Add(Out o) { outs_.push_back(o); }
    const std::vector<Out> &outs() const { return outs_; }

private:
    void *Block(std::size_t n) {
        blocks_.emplace_back(new uint8_t[n]);
        std::memset(blocks_.back().get(), kFill, n);
        return blocks_.back().get();
    }
    std::vector<std::unique_ptr<uint8_t[]>> blocks_;
    std::vector<Out> outs_;
};

// A field-list field is either untouched or holds a terminator (raw copies
// carry none, by their contract).
void CheckField(const Out &o) {
    if (o.kind != Out::Text && o.kind != Out::TextNotNull) return;
    const uint8_t *p = static_cast<const uint8_t *>(o.ptr);
    bool touched = false;
    for (std::size_t i = 0; i < o.size; ++i) touched |= p[i] != kFill;
    if (touched && std::memchr(p, 0, o.size) == nullptr) std::abort();
}

struct Case {
    const Row *row;
    int kind;  // how the outputs are shaped, see ShapeOutputs
};

enum Kind { kFields, kServices, kOsd, kConfig, kText, kNumber, kList, kEcho };

constexpr Case kCases[] = {
    {&rows::kGetDevInfo, kFields},
    {&rows::kGetDevTime, kFields},
    {&rows::kGetVpn, kFields},
    {&rows::kGetServAddr, kFields},
    {&rows::kGetMasterVe, kFields},
    {&rows::kGetTalkBack, kServices},
    {&rows::kGetGb28181, kServices},
    {&rows::kGetGpsServ, kServices},
    {&rows::kGetCmsv6, kServices},
    {&rows::kGetPtyt, kServices},
    {&rows::kGet0787Serv01, kServices},
    {&rows::kGetLbs, kServices},
    {&rows::kGetNetCheck, kServices},
    {&rows::kGetVideoOsd, kOsd},
    {&rows::kIniText, kConfig},
    {&rows::kJsonText, kConfig},
    {&rows::kGetDevName, kText},
    {&rows::kGetApn, kText},
    {&rows::kGetBatVal, kNumber},
    {&rows::kGetLogLevel, kNumber},
    {&rows::kGetApList, kList},
    {&rows::kGetSelAp, kList},
    {&rows::kDelAp, kEcho},
    {&rows::kSetSelAp, kEcho},
    {&rows::kDataPthread, kEcho},
    {&rows::kDataPack, kEcho},
};

// The outputs the exported operation of a row hands in.
void ShapeOutputs(const Case &c, uint8_t arg, Outputs *o) {
    const Row &row = *c.row;
    switch (c.kind) {
    case kFields:
        if (&row == &rows::kGetDevInfo) {
            for (std::size_t n : {8, 7, 33, 13, 33}) o->Add(Out::Field(o->Text(n), n));  // ZFYInfo
        } else if (&row == &rows::kGetDevTime) {
            o->Add(Out::Field(o->Text(kArea), kArea));
            o->Add(Out::Num(o->Num()));
            o->Add(Out::Num(o->Num()));
            o->Add(Out::Field(o->Text(kArea), kArea));
        } else if (&row == &rows::kGetVpn) {
            for (int i = 0; i < 3; ++i) o->Add(Out::FieldNotNull(o->Text(kArea), kArea));
        } else if (&row == &rows::kGetServAddr) {
            o->Add(Out::Field(o->Text(kArea), kArea));
            o->Add(Out::Num(o->Num()));
        } else {
            o->Add(Out::WxH(o->Num(), o->Num()));
            o->Add(Out::Num(o->Num()));
            o->Add(Out::Num(o->Num()));
        }
        return;
    case kServices:
        o->Add(Out::Num(o->Num()));
        for (std::size_t i = 0; i < row.service->count; ++i) o->Add(Out::TextArea(o->Text(kArea)));
        if (row.service->report != Report::None) o->Add(Out::Num(o->Num()));
        return;
    case kOsd:
        o->Add(Out::Num(o->Num()));
        o->Add(Out::TextArea(o->Text(std::size_t(arg % 64) + 1), std::size_t(arg % 64) + 1));
        return;
    case kConfig: {
        std::size_t size = std::size_t(arg) * 4 + 1;  // 1 .. 1021, around the area
        o->Add(Out::TextArea(o->Text(size), size));
        return;
    }
    case kText:
        o->Add(Out::TextArea(o->Text(kArea)));
        return;
    case kNumber:
        o->Add(Out::Num(o->Num()));
        return;
    case kList: {
        std::size_t size = &row == &rows::kGetApList ? VX_AP_LIST_AREA : kArea;
        o->Add(Out::TextArea(o->Text(size), size));
        return;
    }
    default:
        return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    VX_SetLibLog(VX_LOG_OFF);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    constexpr std::size_t kCaseCount = sizeof kCases / sizeof kCases[0];
    if (size < 2) return 0;
    const Case &c = kCases[data[0] % kCaseCount];
    const uint8_t arg = data[1];
    const Row &row = *c.row;

    // The reply as the steps hand it over: an area of row.reply bytes read as
    // a C string. A heap copy of exactly that length catches over-reads.
    std::string_view raw(reinterpret_cast<const char *>(data + 2), size - 2);
    raw = raw.substr(0, std::min(raw.find('\0'), row.reply));
    std::unique_ptr<char[]> reply(new char[raw.size() ? raw.size() : 1]);
    std::memcpy(reply.get(), raw.data(), raw.size());

    std::string keyword = row.key;
    if (c.kind == kOsd) keyword += std::to_string(int(arg % 8));
    const std::string key = "+" + keyword + ":";
    const std::string expect = &row == &rows::kDataPack ? std::to_string(arg) : "ALL";

    Outputs o;
    ShapeOutputs(c, arg, &o);
    ParseInput in{std::string_view(reply.get(), raw.size()),
                  key,
                  o.outs().data(),
                  o.outs().size(),
                  expect,
                  &row};
    const std::string fallback = row.fallback_key ? std::string("+") + row.fallback_key + ":" : "";
    if (row.fallback_key != nullptr && in.reply.find(in.key) == std::string_view::npos)
        in.key = fallback;
    if (row.clear_outs)
        for (const Out &out : o.outs()) std::memset(out.ptr, 0, out.size);
    const Parsed p = vx::ops::rules::Apply(row.rule, in);

    // Statuses: 1, or the row's own special number.
    if (p.ok && p.status != 1 && p.status != row.special) std::abort();
    if (c.kind == kFields)
        for (const Out &out : o.outs()) CheckField(out);
    if (c.kind == kOsd && p.ok) {
        // The text's last byte is never written; the rest is text then zeros.
        const Out &t = o.outs()[1];
        const uint8_t *b = static_cast<const uint8_t *>(t.ptr);
        if (b[t.size - 1] != kFill) std::abort();
        std::size_t n = ::strnlen(static_cast<const char *>(t.ptr), t.size - 1);
        for (std::size_t i = n; i + 1 < t.size; ++i)
            if (b[i] != 0) std::abort();
    }
    if (c.kind == kConfig && !p.ok) {
        const Out &t = o.outs()[0];
        for (std::size_t i = 0; i < t.size; ++i)
            if (static_cast<const uint8_t *>(t.ptr)[i] != kFill) std::abort();
    }
    return 0;
}
