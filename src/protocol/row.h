// A command row: the constant data that one command line and its reply are
// made from. The rows themselves are in ops/rows.h, the only place a keyword
// is spelled; every layer that sends a line takes its row from there and has
// it built by BuildCommand (protocol/command.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vx::ops {

constexpr std::size_t kArea = 1024;  // command, reply and text-output areas

// How the command line is made from the keyword.
enum class Form : uint8_t {
    Get,   // "VX+KEY?\r\n"
    Set,   // "VX+KEY=" arguments joined by the row's separator "\r\n"
    Bare,  // "VX+KEY\r\n"
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
    const char *fields[8] = {};
    uint8_t count = 0;
    Report report = Report::None;
    bool servid_as_name = false;  // ServID also sent (and read) as "Name"
};

// One command. Everything a command needs that is not the caller's data: the
// keyword is spelled here only; the command and the reply key are made from
// it. Written with named fields: `{.key = "APSEL", .form = Form::Get, ...}`.
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
