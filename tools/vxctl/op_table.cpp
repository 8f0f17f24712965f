#include "op_table.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "ops/op_shapes.h"

namespace vxctl {
namespace {

namespace rows = vx::ops::rows;
using vx::ops::Form;
using vx::ops::Rule;

// The exported functions whose outputs are more than one text or number,
// adapted to the one several-field signature.
uint32_t GetTime(VestraInfo *d, const char *p, Json &v) {
    char time[VX_TEXT_AREA] = {}, text[VX_TEXT_AREA] = {};
    uint32_t second = 0, third = 0;
    uint32_t ok = VX_GetDevTimeCfg(d, p, time, &second, &third, text);
    v = Json::array({time, second, third, text});
    return ok;
}
uint32_t SetTime(VestraInfo *d, const char *p, const std::vector<std::string> &a) {
    // NOLINTNEXTLINE(cert-err34-c): leading digits, as the library reads numbers
    return VX_SetDevTimeCfg(d, p, std::atoi(a[0].c_str()), a[1].c_str());
}
uint32_t SetUser(VestraInfo *d, const char *p, const std::vector<std::string> &a) {
    return VX_SetDevUser(d, p, a[0].c_str(), a[1].c_str(), a[2].c_str());
}
template <uint32_t (*Fn)(VestraInfo *, const char *, uint32_t *, uint32_t *, uint32_t *,
                         uint32_t *)>
uint32_t GetEncoder(VestraInfo *d, const char *p, Json &v) {
    uint32_t w = 0, h = 0, third = 0, fourth = 0;
    uint32_t ok = Fn(d, p, &w, &h, &third, &fourth);
    v = Json::array({w, h, third, fourth});
    return ok;
}
uint32_t GetVpn(VestraInfo *d, const char *p, Json &v) {
    char a[VX_TEXT_AREA] = {}, b[VX_TEXT_AREA] = {}, c[VX_TEXT_AREA] = {};
    uint32_t ok = VX_GetVpn(d, p, a, b, c);
    v = Json::array({a, b, c});
    return ok;
}
uint32_t SetVpn(VestraInfo *d, const char *p, const std::vector<std::string> &a) {
    return VX_SetVpn(d, p, a[0].c_str(), a[1].c_str(), a[2].c_str());
}
uint32_t GetServAddr(VestraInfo *d, const char *p, Json &v) {
    char address[VX_TEXT_AREA] = {};
    uint32_t port = 0;
    uint32_t ok = VX_GetServAddr(d, p, address, &port);
    v = Json::array({address, port});
    return ok;
}
uint32_t SetServAddr(VestraInfo *d, const char *p, const std::vector<std::string> &a) {
    // NOLINTNEXTLINE(cert-err34-c): leading digits, as the library reads numbers
    return VX_SetServAddr(d, p, a[0].c_str(), std::atoi(a[1].c_str()));
}
uint32_t GetZfy(VestraInfo *d, const char *p, Json &v) {
    ZFYInfo info{};
    uint32_t ok = VX_GetDevInfo(d, p, &info);
    v = Json::array({info.serial, info.userNo, info.userName, info.unitNo, info.unitName});
    return ok;
}
template <std::size_t N>
void CopyField(char (&to)[N], const std::string &from) {
    std::strncpy(to, from.c_str(), N - 1);
}
uint32_t SetZfy(VestraInfo *d, const char *p, const std::vector<std::string> &a) {
    ZFYInfo info{};
    CopyField(info.serial, a[0]);
    CopyField(info.userNo, a[1]);
    CopyField(info.userName, a[2]);
    CopyField(info.unitNo, a[3]);
    CopyField(info.unitName, a[4]);
    return VX_SetDevInfo(d, p, &info);
}

// The library asks a record for its battery at most once in 20 s, counting a
// record that never asked from the start of the process. A record vxctl just
// opened has not asked in this process, so it asks at once; later reads in
// the same process keep the library's window.
uint32_t GetBattery(VestraInfo *d, const char *p, uint32_t *level) {
    return d->lastBatteryQuery == 0 ? VX_GetBatValNow(d, p, level) : VX_GetBatVal(d, p, level);
}

// NOLINTNEXTLINE(cert-err58-cpp): a start-up allocation failure ends the tool
const std::vector<const char *> kEncoderFields{"width", "height", "third", "fourth"};

const char *RuleWord(Rule rule) {
    switch (rule) {
    case Rule::Number:
        return "number";
    case Rule::FieldList:
        return "fields";
    default:
        return "text";
    }
}

// How vxctl calls one export of the list: as a getter or a setter, and the
// names of its fields. Exports of the simple shapes are called as they are;
// the others need an adapter below, and one with a key but none does not
// build.
struct Binding {
    Getter get;
    Setter set;
    std::vector<const char *> fields;
};

template <typename>
constexpr bool kNoAdapter = false;

template <auto Fn>
Binding Bind() {
    using F = decltype(Fn);
    if constexpr (std::is_same_v<F, GetText> || std::is_same_v<F, GetNumber>)
        return {Fn, {}, {}};
    else if constexpr (std::is_same_v<F, SetText> || std::is_same_v<F, SetInt>)
        return {{}, Fn, {}};
    else if constexpr (std::is_same_v<F, vx::ops::shape::GetEncoder>)
        return {GetEncoder<Fn>, {}, kEncoderFields};
    else
        static_assert(kNoAdapter<F>, "an export with a vxctl key needs an adapter in op_table.cpp");
}
template <>
Binding Bind<VX_GetDevInfo>() {
    return {GetZfy, {}, {"serial", "userNo", "userName", "unitNo", "unitName"}};
}
template <>
Binding Bind<VX_SetDevInfo>() {
    return {{}, SetZfy, {"serial", "userNo", "userName", "unitNo", "unitName"}};
}
template <>
Binding Bind<VX_GetDevTimeCfg>() {
    return {GetTime, {}, {"utc", "second", "third", "text"}};
}
template <>
Binding Bind<VX_SetDevTimeCfg>() {
    return {{}, SetTime, {"third", "text"}};
}
template <>
Binding Bind<VX_SetDevUser>() {
    return {{}, SetUser, {"user", "password1", "password2"}};
}
template <>
Binding Bind<VX_GetBatValNow>() {
    return {GetBattery, {}, {}};
}
template <>
Binding Bind<VX_GetVpn>() {
    return {GetVpn, {}, {"first", "second", "third"}};
}
template <>
Binding Bind<VX_SetVpn>() {
    return {{}, SetVpn, {"first", "second", "third"}};
}
template <>
Binding Bind<VX_GetServAddr>() {
    return {GetServAddr, {}, {"address", "port"}};
}
template <>
Binding Bind<VX_SetServAddr>() {
    return {{}, SetServAddr, {"address", "port"}};
}

// One entry of the list joins its key's operation (made at its first entry).
void Join(std::vector<SimpleOp> &ops, const char *key, const char *label, const vx::ops::Row *row,
          const Binding &binding) {
    auto it = std::find_if(ops.begin(), ops.end(),
                           [&](const SimpleOp &op) { return std::strcmp(op.name, key) == 0; });
    if (it == ops.end()) {
        SimpleOp added{};
        added.name = key;
        added.about = "";
        it = ops.insert(ops.end(), added);
    }
    if (!std::holds_alternative<std::monostate>(binding.get)) {
        it->get_row = row;
        it->get = binding.get;
        it->fields = binding.fields;
    } else {
        it->set_row = row;
        it->set = binding.set;
        it->set_fields = binding.fields;
    }
    if (*label != '\0') it->about = label;
}

// Only the entries with a key (sizeof "" is 1) are bound.
template <bool kHasKey, auto Fn>
void JoinIf(std::vector<SimpleOp> &ops, const char *key, const char *label,
            const vx::ops::Row *row) {
    if constexpr (kHasKey) Join(ops, key, label, row, Bind<Fn>());
}

std::vector<SimpleOp> MakeOps() {
    std::vector<SimpleOp> ops;
#define VX_OP(Export, Row, Shape, Cli, Label) \
    JoinIf<(sizeof(Cli) > 1), Export>(ops, Cli, Label, vx::ops::RowOf(vx::ops::rows::Row));
#include "ops/op_list.h"
#undef VX_OP
    return ops;
}

}  // namespace

const std::vector<SimpleOp> &SimpleOps() {
    // NOLINTNEXTLINE(cert-err58-cpp): a start-up allocation failure ends the tool
    static const std::vector<SimpleOp> kOps = MakeOps();
    return kOps;
}

const SimpleOp *FindOp(const std::string &name) {
    for (const SimpleOp &op : SimpleOps())
        if (name == op.name) return &op;
    return nullptr;
}

bool ReadOp(const SimpleOp &op, VestraInfo *dev, const char *pw, Json &value) {
    uint32_t ok = 0;
    if (auto *text = std::get_if<GetText>(&op.get)) {
        char out[VX_TEXT_AREA] = {};
        ok = (*text)(dev, pw, out);
        value = out;
    } else if (auto *number = std::get_if<GetNumber>(&op.get)) {
        uint32_t out = 0;
        ok = (*number)(dev, pw, &out);
        value = out;
    } else if (auto *fields = std::get_if<GetFields>(&op.get)) {
        Json values;
        ok = (*fields)(dev, pw, values);
        value = Json::object();
        for (std::size_t i = 0; i < op.fields.size(); ++i) value[op.fields[i]] = values[i];
    }
    if (!ok) value = Unavailable(dev);
    return ok != 0;
}

std::vector<std::string> SetArguments(const SimpleOp &op) {
    if (std::holds_alternative<SetFields>(op.set)) {
        const auto &names = op.set_fields.empty() ? op.fields : op.set_fields;
        return {names.begin(), names.end()};
    }
    if (std::holds_alternative<SetInt>(op.set)) return {"NUMBER"};
    return {"TEXT"};
}

std::string OpsHelp() {
    std::string help = "Keys (get prints, set takes):\n";
    for (const SimpleOp &op : SimpleOps()) {
        const vx::ops::Row *row = op.get_row ? op.get_row : op.set_row;
        std::string line = std::string("  ") + op.name;
        line.resize(14, ' ');
        line += std::string("VX+") + row->key;
        line.resize(32, ' ');
        if (op.get_row) {
            line += std::string("get: ") + RuleWord(op.get_row->rule);
            if (op.get_row->rule == Rule::FieldList)
                for (std::size_t i = 0; i < op.fields.size(); ++i)
                    line += (i ? "," : " ") + std::string(op.fields[i]);
        }
        if (op.set_row && op.set_row->form == Form::Set) {
            line += op.get_row ? "; set:" : "set:";
            for (const std::string &arg : SetArguments(op)) line += " " + arg;
        }
        help += line + "  (" + op.about + ")\n";
    }
    return help;
}

}  // namespace vxctl
