// What a device operation is made of: a row of constant data (keyword, form,
// parse rule, areas: protocol/row.h) and the outputs a caller hands in. The
// steps that run a row are in ops/steps.h, the parse rules in ops/rules.h,
// the rows in ops/rows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "protocol/row.h"

namespace vx::ops {

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
}  // namespace vx::ops
