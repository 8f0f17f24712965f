#include "ops/rules.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "common/log.h"
#include "common/secret_mask.h"
#include "protocol/payload.h"

namespace vx::ops::rules {
namespace {

constexpr std::size_t kFieldMax = 127;  // a field is collected in 128 bytes
constexpr std::string_view kLineEnd = "\r\n";

// Position just behind the key, or npos.
std::size_t Behind(std::string_view reply, std::string_view key) {
    std::size_t at = reply.find(key);
    return at == std::string_view::npos ? at : at + key.size();
}

bool Payload(const ParseInput &in, std::string_view *payload) {
    return FindPayload(in.reply, in.key, payload);
}

// Copies up to out.size bytes, no terminator.
void CopyBytes(const Out &out, std::string_view text) {
    if (out.ptr == nullptr) return;
    std::memcpy(out.ptr, text.data(), text.size() < out.size ? text.size() : out.size);
}

void StoreNumber(const Out &out, std::string_view text) {
    if (out.ptr != nullptr) *static_cast<uint32_t *>(out.ptr) = uint32_t(AtoiLike(text));
}

// One field into its output, by the output's kind.
void StoreField(const Out &out, std::string_view field) {
    if (out.ptr == nullptr) return;
    switch (out.kind) {
    case Out::TextNotNull:
        if (field == "NULL") return;
        [[fallthrough]];
    case Out::Text: {
        if (out.size == 0) return;
        std::size_t n = field.size() < out.size - 1 ? field.size() : out.size - 1;
        char *dst = static_cast<char *>(out.ptr);
        std::memcpy(dst, field.data(), n);
        dst[n] = '\0';
        return;
    }
    case Out::Number:
        StoreNumber(out, field);
        return;
    case Out::Size: {
        std::size_t x = field.find('x');
        if (x == std::string_view::npos) return;
        StoreNumber(out, field);
        if (out.second != nullptr)
            *static_cast<uint32_t *>(out.second) = uint32_t(AtoiLike(field.substr(x + 1)));
        return;
    }
    }
}

}  // namespace

Parsed RawCopy(const ParseInput &in) {
    std::string_view payload;
    if (!Payload(in, &payload)) return {false};
    if (in.count > 0) CopyBytes(in.outs[0], payload);
    return {true};
}

Parsed Number(const ParseInput &in) {
    std::size_t begin = Behind(in.reply, in.key);
    if (begin == std::string_view::npos) return {false};
    if (in.reply.find(kLineEnd, begin) == std::string_view::npos) return {false};
    if (in.count > 0) StoreNumber(in.outs[0], in.reply.substr(begin));
    return {true};
}

Parsed FieldList(const ParseInput &in) {
    std::size_t pos = Behind(in.reply, in.key);
    if (pos == std::string_view::npos) return {false};
    std::size_t index = 0;
    while (pos < in.reply.size()) {
        std::size_t end = in.reply.find_first_of(",\r\n", pos);
        if (end == std::string_view::npos) break;  // no separator behind it: dropped
        std::string_view field = in.reply.substr(pos, end - pos);
        if (field.size() > kFieldMax) field = field.substr(0, kFieldMax);
        if (index < in.count) StoreField(in.outs[index], field);
        ++index;
        if (in.reply[end] != ',') break;  // cutting stops at the first CR or LF
        pos = end + 1;
    }
    return {true};
}

Parsed KeyedList(const ParseInput &in) {
    const Service *svc = in.row ? in.row->service : nullptr;
    std::size_t from = in.reply.find(in.key);
    if (svc == nullptr || from == std::string_view::npos) return {false};

    // The value of one pair: between the first colon at or after the name and
    // the first comma after that colon.
    auto value_of = [&](std::string_view name, std::string_view *value) {
        std::size_t at = in.reply.find(name, from);
        if (at == std::string_view::npos) return false;
        std::size_t colon = in.reply.find(':', at);
        if (colon == std::string_view::npos) return false;
        std::size_t comma = in.reply.find(',', colon + 1);
        if (comma == std::string_view::npos) return false;
        *value = in.reply.substr(colon + 1, comma - colon - 1);
        return true;
    };
    bool stored = false;
    auto store = [&](std::string_view name, std::size_t slot, bool number) {
        std::string_view value;
        if (slot >= in.count || !value_of(name, &value)) return;
        if (number)
            StoreNumber(in.outs[slot], value);
        else
            CopyBytes(in.outs[slot], value);
        stored = true;
    };

    store("bEnable:", 0, true);
    for (std::size_t i = 0; i < svc->count; ++i) {
        std::string_view field = svc->fields[i];
        std::string name(field);
        if (field != "DevName") name += ':';  // "DevName" is looked for without its colon
        if (svc->servid_as_name && field == "ServID") store("Name:", i + 1, false);
        store(name, i + 1, false);
    }
    if (svc->report != Report::None) store("ReportTime", svc->count + 1, true);
    return {stored};
}

Parsed Osd(const ParseInput &in) {
    std::string shown = MaskSecrets(in.reply);
    LibLog("ParseCheckResp OK: readbuf=%.*s\r\n", int(shown.size()), shown.data());
    std::size_t begin = Behind(in.reply, in.key);
    if (begin == std::string_view::npos || in.count < 2) return {false};
    std::size_t cr = in.reply.find(kLineEnd, begin);
    if (cr == std::string_view::npos) return {false};
    StoreNumber(in.outs[0], in.reply.substr(begin, cr - begin));

    // The text follows the comma behind the value, however many digits the
    // value has (a fixed offset would cut or prefix it for values over 9).
    const Out &text = in.outs[1];
    std::string_view payload = in.reply.substr(begin, cr - begin);
    std::size_t comma = payload.find(',');
    std::string_view src =
        comma == std::string_view::npos ? std::string_view() : payload.substr(comma + 1);
    if (text.ptr != nullptr && text.size > 0) {
        char *dst = static_cast<char *>(text.ptr);
        std::size_t room = text.size - 1;  // the last byte is never written
        std::size_t n = src.size() < room ? src.size() : room;
        if (n > 0) std::memcpy(dst, src.data(), n);
        std::memset(dst + n, 0, room - n);
    }
    LibLog("ParseGetVideoOsd OK\r\n");
    return {true};
}

Parsed ConfigText(const ParseInput &in) {
    std::string_view payload;
    if (in.count == 0 || !Payload(in, &payload)) return {false};
    if (payload.size() >= in.outs[0].size) return {false};
    CopyBytes(in.outs[0], payload);
    return {true};
}

Parsed Contains(const ParseInput &in) {
    std::size_t begin = Behind(in.reply, in.key);
    if (begin == std::string_view::npos) return {false};
    if (in.reply.find(in.expect, begin) != std::string_view::npos) return {true, 1};
    return {true, in.row ? in.row->special : 0};
}

Parsed NonEmpty(const ParseInput &in) {
    std::string_view payload;
    if (!Payload(in, &payload)) return {false};
    if (payload.empty()) return {true, in.row ? in.row->special : 0};
    if (in.count > 0) CopyBytes(in.outs[0], payload);
    return {true, 1};
}

Parsed KeyPresent(const ParseInput &in) {
    return {Behind(in.reply, in.key) != std::string_view::npos};
}

Parsed EchoNumber(const ParseInput &in) {
    std::size_t begin = Behind(in.reply, in.key);
    if (begin == std::string_view::npos) return {false};
    return {AtoiLike(in.reply.substr(begin)) == AtoiLike(in.expect)};
}

Parsed Apply(Rule rule, const ParseInput &in) {
    using Fn = Parsed (*)(const ParseInput &);
    static constexpr Fn kRules[] = {
        nullptr,    RawCopy,  Number,   FieldList,  KeyedList,  Osd,
        ConfigText, Contains, NonEmpty, KeyPresent, EchoNumber,
    };
    static_assert(sizeof kRules / sizeof kRules[0] == std::size_t(Rule::EchoNumber) + 1);
    Fn fn = kRules[std::size_t(rule)];
    return fn != nullptr ? fn(in) : Parsed{true};
}

}  // namespace vx::ops::rules
