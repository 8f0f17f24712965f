// Prints the binding's operation table, a Python module, from the rows of
// src/ops/rows.h: each record operation (paired with its row by the
// generated op_links.inc) with the row's keyword, form, rule, reply area,
// special status and service fields.
#include <cstdio>
#include <iterator>

#include "ops/rows.h"

namespace {

using vx::ops::Form;
using vx::ops::Row;
using vx::ops::Rule;

// Names in the order of the enumerations; the sizes below keep them in step.
constexpr const char *kFormNames[] = {"get", "set", "bare"};
constexpr const char *kRuleNames[] = {"ok_only",    "raw_copy",    "number",      "field_list",
                                      "keyed_list", "osd",         "config_text", "contains",
                                      "non_empty",  "key_present", "echo_number"};
static_assert(std::size(kFormNames) == static_cast<std::size_t>(Form::Bare) + 1);
static_assert(std::size(kRuleNames) == static_cast<std::size_t>(Rule::EchoNumber) + 1);

const char *FormName(Form form) { return kFormNames[static_cast<int>(form)]; }
const char *RuleName(Rule rule) { return kRuleNames[static_cast<int>(rule)]; }

void Print(std::FILE *out, const char *function, const char *row_name, const Row &row) {
    std::fprintf(out, "    Operation(%s, %s, \"%s\", \"%s\", \"%s\", %zu, %d, (", function,
                 row_name, row.key, FormName(row.form), RuleName(row.rule), row.reply, row.special);
    if (row.service != nullptr)
        for (int i = 0; i < row.service->count; ++i)
            std::fprintf(out, "\"%s\", ", row.service->fields[i]);
    std::fprintf(out, ")),\n");
}

}  // namespace

int main(int argc, char **argv) {
    std::FILE *out = argc > 1 ? std::fopen(argv[1], "w") : stdout;
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(
        out,
        "\"\"\"Device operations generated from src/ops/rows.h at build time: do not edit.\"\"\"\n"
        "from collections import namedtuple\n\n"
        "Operation = namedtuple(\"Operation\", \"function row keyword form rule reply_area "
        "special service_fields\")\n\n"
        "OPERATIONS = (\n");
#define VX_OP(function, row) Print(out, "\"" function "\"", "\"" #row "\"", vx::ops::rows::row);
#include "op_links.inc"
#undef VX_OP
    std::fprintf(out, ")\n");
    return out == stdout || std::fclose(out) == 0 ? 0 : 1;
}
