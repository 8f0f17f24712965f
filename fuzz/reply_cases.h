// The device operations the reply fuzzer judges replies for: every row of
// ops/rows.h, each with the outputs its exported operation hands in (blocks
// of their exact sizes, so a write one byte past a field is an ASan report).
// Shared by the fuzzer and the seed writer, which asks the virtual recorder
// each case's command and stores its answer.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "LibVestra.h"
#include "ops/rows.h"
#include "ops/steps.h"

namespace fuzzreply {

using namespace vx::ops;
namespace rows = vx::ops::rows;

constexpr uint8_t kFill = 0xA5;  // never a byte a rule writes on its own

// How a case's outputs are shaped.
enum Shape : uint8_t {
    kNone,       // the reply check alone (set operations, bare commands)
    kDevInfo,    // ZFYInfo's five fields
    kDevTime,    // text, two numbers, text
    kVpn,        // three fields, "NULL" leaves them alone
    kServAddr,   // text, number
    kVideoInfo,  // WxH, two numbers
    kService,    // enable, the service's fields, the report time
    kOsd,        // value, a text of the size given
    kConfig,     // the answer area of the size given (1 .. 1021)
    kText,       // one text area
    kNumber,     // one number
    kApList,     // the list's 2048-byte area
    kEcho,       // none: the expected text is what counts
};

struct Case {
    const Row *row;
    Shape shape;
};

// clang-format off
constexpr Case kCases[] = {
    {&rows::kGetDevInfo, kDevInfo},     {&rows::kSetDevInfo, kNone},
    {&rows::kGetDevName, kText},        {&rows::kSetDevName, kNone},
    {&rows::kGetDevUid, kText},         {&rows::kGetDevUuid, kText},
    {&rows::kGetDevVid, kText},         {&rows::kGetDevDid, kText},
    {&rows::kGetDevTime, kDevTime},     {&rows::kSetDevTime, kNone},
    {&rows::kGetDevUser, kText},        {&rows::kSetDevUser, kNone},
    {&rows::kGetBatVal, kNumber},       {&rows::kGetMasterVe, kVideoInfo},
    {&rows::kGetSlaveVe, kVideoInfo},   {&rows::kGetRecordPwd, kText},
    {&rows::kSetRecordPwd, kNone},      {&rows::kGetApn, kText},
    {&rows::kSetApn, kNone},            {&rows::kGetVpn, kVpn},
    {&rows::kSetVpn, kNone},            {&rows::kGetServAddr, kServAddr},
    {&rows::kSetServAddr, kNone},       {&rows::kGetDevSsid, kText},
    {&rows::kSetDevSsid, kNone},        {&rows::kAddAp, kNone},
    {&rows::kDelAp, kEcho},             {&rows::kSetSelAp, kEcho},
    {&rows::kGetSelAp, kText},          {&rows::kGetApList, kApList},
    {&rows::kGetUDiskAuthEn, kNumber},  {&rows::kSetUDiskAuthEn, kNone},
    {&rows::kGetPfpttEn, kNumber},      {&rows::kSetPfpttEn, kNone},
    {&rows::kGetReportTime, kNumber},   {&rows::kSetReportTime, kNone},
    {&rows::kGetGpsEn, kNumber},        {&rows::kSetGpsEn, kNone},
    {&rows::kEnterDiskMode, kNone},     {&rows::kFormatUdisk, kNone},
    {&rows::kFReset, kNone},            {&rows::kGetLogLevel, kNumber},
    {&rows::kSetLogLevel, kNone},       {&rows::kExportLog, kNone},
    {&rows::kPowerOff, kNone},          {&rows::kPowerSave, kNone},
    {&rows::kGetVideoOsd, kOsd},        {&rows::kSetVideoOsd, kNone},
    {&rows::kDataPthread, kEcho},       {&rows::kDataPack, kEcho},
    {&rows::kIniText, kConfig},         {&rows::kJsonText, kConfig},
    {&rows::kGetTalkBack, kService},    {&rows::kSetTalkBack, kNone},
    {&rows::kGetGb28181, kService},     {&rows::kSetGb28181, kNone},
    {&rows::kGetGpsServ, kService},     {&rows::kSetGpsServ, kNone},
    {&rows::kGetCmsv6, kService},       {&rows::kSetCmsv6, kNone},
    {&rows::kGetPtyt, kService},        {&rows::kSetPtyt, kNone},
    {&rows::kGet0787Serv01, kService},  {&rows::kSet0787Serv01, kNone},
    {&rows::kGetLbs, kService},         {&rows::kSetLbs, kNone},
    {&rows::kGetNetCheck, kService},    {&rows::kSetNetCheck, kNone},
};
// clang-format on
constexpr std::size_t kCaseCount = sizeof kCases / sizeof kCases[0];

// The caller's memory for one case: blocks of exact sizes, filled with kFill.
// Kept across inputs and filled again (Refill), so an input costs no heap
// allocation while ASan still sees each block's own bounds.
class Outputs {
public:
    char *Text(std::size_t n) { return static_cast<char *>(Block(n)); }
    uint32_t *Num() { return static_cast<uint32_t *>(Block(sizeof(uint32_t))); }
    void Add(Out o) { outs_.push_back(o); }
    const std::vector<Out> &outs() const { return outs_; }
    void Refill() {
        for (const Block_ &b : blocks_) std::memset(b.bytes.get(), kFill, b.size);
    }

private:
    struct Block_ {
        std::unique_ptr<uint8_t[]> bytes;
        std::size_t size;
    };
    void *Block(std::size_t n) {
        blocks_.push_back({std::unique_ptr<uint8_t[]>(new uint8_t[n]), n});
        std::memset(blocks_.back().bytes.get(), kFill, n);
        return blocks_.back().bytes.get();
    }
    std::vector<Block_> blocks_;
    std::vector<Out> outs_;
};

inline std::size_t OsdSize(uint8_t arg) { return std::size_t(arg % 64) + 1; }
inline std::size_t AnswerSize(uint8_t arg) { return std::size_t(arg) * 4 + 1; }

// The outputs the exported operation of a case hands in; arg is an index or
// a size.
inline void ShapeOutputs(const Case &c, uint8_t arg, Outputs *o) {
    switch (c.shape) {
    case kDevInfo:
        for (std::size_t n : {8, 7, 33, 13, 33}) o->Add(Out::Field(o->Text(n), n));
        return;
    case kDevTime:
        o->Add(Out::Field(o->Text(kArea), kArea));
        o->Add(Out::Num(o->Num()));
        o->Add(Out::Num(o->Num()));
        o->Add(Out::Field(o->Text(kArea), kArea));
        return;
    case kVpn:
        for (int i = 0; i < 3; ++i) o->Add(Out::FieldNotNull(o->Text(kArea), kArea));
        return;
    case kServAddr:
        o->Add(Out::Field(o->Text(kArea), kArea));
        o->Add(Out::Num(o->Num()));
        return;
    case kVideoInfo:
        o->Add(Out::WxH(o->Num(), o->Num()));
        o->Add(Out::Num(o->Num()));
        o->Add(Out::Num(o->Num()));
        return;
    case kService:
        o->Add(Out::Num(o->Num()));
        for (std::size_t i = 0; i < c.row->service->count; ++i)
            o->Add(Out::TextArea(o->Text(kArea)));
        if (c.row->service->report != Report::None) o->Add(Out::Num(o->Num()));
        return;
    case kOsd:
        o->Add(Out::Num(o->Num()));
        o->Add(Out::TextArea(o->Text(OsdSize(arg)), OsdSize(arg)));
        return;
    case kConfig:
        o->Add(Out::TextArea(o->Text(AnswerSize(arg)), AnswerSize(arg)));
        return;
    case kText:
        o->Add(Out::TextArea(o->Text(kArea)));
        return;
    case kNumber:
        o->Add(Out::Num(o->Num()));
        return;
    case kApList:
        o->Add(Out::TextArea(o->Text(VX_AP_LIST_AREA), VX_AP_LIST_AREA));
        return;
    case kNone:
    case kEcho:
        return;
    }
}

// The keyword with its index ("VIDEOOSD3") and the text a rule looks for.
struct Wording {
    std::string keyword;
    std::string expect;
};

inline Wording WordingOf(const Case &c, uint8_t arg) {
    Wording w{c.row->key, ""};
    if (c.shape == kOsd) w.keyword += std::to_string(int(arg % 8));
    if (c.row == &rows::kDataPack) w.expect = std::to_string(arg);
    if (c.row == &rows::kDelAp || c.row == &rows::kSetSelAp) w.expect = "ALL";
    return w;
}

}  // namespace fuzzreply
