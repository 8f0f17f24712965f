// What a device operation is made of: a row of constant data (keyword, form,
// parse rule, areas) and the outputs a caller hands in. The steps that run a
// row are in ops/steps.h, the parse rules in ops/rules.h, the rows in
// ops/rows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vx::ops {

constexpr std::size_t kArea = 1024;  // command, reply and text-output areas

// How the command line is made from the keyword.
enum class Form : uint8_t {
    Get,   // "VX+KEY?\r\n"
    Set,   // "VX+KEY=" arguments joined by the row's separator "\r\n"
    Bare,  // "VX+KEY\r\n"
};

// The outcome of a parse rule: whether the reply was understood, and the
// status number the operation then reports with result 1 (1, or one of the
// special numbers -110 to -113).
struct Parsed {
    bool ok = false;
    int status = 1;
};

// One output of a get operation, in the caller's memory.
struct Out {
    enum Kind : uint8_t {
        Text,         // bytes copied, bounded by size (raw copy: no terminator)
        TextNotNull,  // as Text, but a field "NULL" leaves the output untouched
        Number,       // atoi into an unsigned 32-bit output
        Size,         // "WxH" into two unsigned 32-bit outputs (ptr, second)
    };
    Kind kind = Text;
    void *ptr = nullptr;
    std::size_t size = kArea;
    void *second = nullptr;

    static Out TextArea(char *p, std::size_t n = kArea) { return {Text, p, n, nullptr}; }
    static Out Field(char *p, std::size_t n) { return {Text, p, n, nullptr}; }
    static Out FieldNotNull(char *p, std::size_t n) { return {TextNotNull, p, n, nullptr}; }
    static Out Num(uint32_t *p) { return {Number, p, sizeof *p, nullptr}; }
    static Out WxH(uint32_t *w, uint32_t *h) { return {Size, w, sizeof *w, h}; }
};

struct Row;

// What a parse rule sees: the whole reply, the reply key ("+DEVNAME:"), the
// caller's outputs and, for rules that look for one, the text expected.
struct ParseInput {
    std::string_view reply;
    std::string_view key;
    const Out *outs = nullptr;
    std::size_t count = 0;
    std::string_view expect;
    const Row *row = nullptr;
};
// The parse rules (ops/rules.h); a row names its rule, so the rows stay plain
// data that tools can read without linking the library's internals.
enum class Rule : uint8_t {
    None,  // "OK" alone decides
    RawCopy,
    Number,
    FieldList,
    KeyedList,
    Osd,
    ConfigText,
    Contains,
    NonEmpty,
    KeyPresent,
    EchoNumber,
};

// Argument texts of the set form that the row treats alike.
enum class Texts : uint8_t {
    AsGiven,
    NullWord,  // empty becomes "NULL"; 32 characters or more are refused
};

// When a service configuration writes its "ReportTime:%d," pair.
enum class Report : uint8_t { None, Always, Positive };

// The named fields of a service configuration, in wire order.
struct Service {
    const char *fields[8];
    uint8_t count;
    Report report;
    bool servid_as_name;  // ServID also sent (and read) as "Name"
};

// One operation family member. Everything an operation needs that is not the
// caller's data: the keyword is spelled here only; the command and the reply
// key are made from it.
struct Row {
    const char *key;  // "DEVNAME"
    Form form;
    Rule rule = Rule::None;
    char separator = ',';         // between set arguments
    bool check_ok = true;         // false: the rule alone judges the reply
    int special = 0;              // status for the rule's special outcome
    std::size_t command = kArea;  // command area
    std::size_t reply = kArea;    // reply area
    Texts texts = Texts::AsGiven;
    const char *fallback_key = nullptr;  // reply key tried when key is missing
    const Service *service = nullptr;
    bool clear_outs = false;  // zero every output once the reply is accepted
};

}  // namespace vx::ops
