// Prints the bindings' operation table from the list of operations
// (src/ops/op_list.h) and their rows (src/ops/rows.h): each operation over a
// row with the row's keyword, form, rule, reply area, special status and
// service fields; a Python module, with --csharp a C# source, with --json the
// list itself (export, row, shape, vxctl key) for the generators in Python.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "ops/op_shapes.h"
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

// One operation in each language: the same fields, in the same order. C#
// names each operation (a static field the generated methods read) and lists
// the names after them.
struct Language {
    const char *head;
    const char *open;    // before the fields
    const char *naming;  // after open, the function's name, then this; or null
    const char *fields;  // before the service fields
    const char *close;   // after them
    const char *list;    // between the operations and the list of names, or null
    const char *tail;
};

constexpr Language kPython{
    "\"\"\"Device operations generated from src/ops/op_list.h and src/ops/rows.h at build time: do "
    "not edit.\"\"\"\n"
    "from collections import namedtuple\n\n"
    "Operation = namedtuple(\"Operation\", \"function row keyword form rule reply_area "
    "special service_fields\")\n\n"
    "OPERATIONS = (\n",
    "    Operation(",
    nullptr,
    "(",
    ")),\n",
    nullptr,
    ")\n"};

constexpr Language kCSharp{
    "// Device operations generated from src/ops/op_list.h and src/ops/rows.h at build time: do "
    "not edit.\n"
    "namespace Vestra\n{\n    public static partial class Operations\n    {\n",
    "        internal static readonly Operation ",
    " = new Operation(",
    "new string[] { ",
    "});\n",
    "\n        private static readonly Operation[] Table =\n        {\n",
    "        };\n    }\n}\n"};

void Print(std::FILE *out, const Language &lang, const char *function, const char *row_name,
           const Row *found) {
    if (found == nullptr) return;  // the caller's own command line: no row to describe
    const Row &row = *found;
    std::fprintf(out, "%s", lang.open);
    if (lang.naming != nullptr) std::fprintf(out, "%s%s", function, lang.naming);
    std::fprintf(out, "\"%s\", \"%s\", \"%s\", \"%s\", \"%s\", %zu, %d, %s", function, row_name,
                 row.key, FormName(row.form), RuleName(row.rule), row.reply, row.special,
                 lang.fields);
    if (row.service != nullptr)
        for (int i = 0; i < row.service->count; ++i)
            std::fprintf(out, "\"%s\", ", row.service->fields[i]);
    std::fprintf(out, "%s", lang.close);
}

// The list as JSON: one object per entry, in the list's order.
void PrintJson(std::FILE *out) {
    std::fprintf(out, "[\n");
    const char *comma = "";
#define VX_OP(Export, RowName, Shape, Cli, Label)                                                 \
    std::fprintf(out,                                                                             \
                 "%s  {\"function\": \"%s\", \"row\": %s, \"shape\": \"%s\", "                    \
                 "\"cli\": \"%s\", \"label\": \"%s\"}",                                           \
                 comma, #Export,                                                                  \
                 vx::ops::RowOf(vx::ops::rows::RowName) != nullptr ? "\"" #RowName "\"" : "null", \
                 #Shape, Cli, Label);                                                             \
    comma = ",\n";
#include "ops/op_list.h"
#undef VX_OP
    std::fprintf(out, "\n]\n");
}

}  // namespace

// optable [--csharp | --json] [OUT]
int main(int argc, char **argv) {
    const bool csharp = argc > 1 && std::strcmp(argv[1], "--csharp") == 0;
    const bool json = argc > 1 && std::strcmp(argv[1], "--json") == 0;
    const Language &lang = csharp ? kCSharp : kPython;
    const int at = csharp || json ? 2 : 1;
    const char *path = argc > at ? argv[at] : nullptr;
    std::FILE *out = path != nullptr ? std::fopen(path, "w") : stdout;
    if (out == nullptr) {
        std::perror(path);
        return 1;
    }
    if (json) {
        PrintJson(out);
        return out == stdout || std::fclose(out) == 0 ? 0 : 1;
    }
    std::fprintf(out, "%s", lang.head);
#define VX_OP(Export, RowName, Shape, Cli, Label) \
    Print(out, lang, #Export, #RowName, vx::ops::RowOf(vx::ops::rows::RowName));
#include "ops/op_list.h"
#undef VX_OP
    if (lang.list != nullptr) {
        std::fprintf(out, "%s", lang.list);
#define VX_OP(Export, RowName, Shape, Cli, Label)          \
    if (vx::ops::RowOf(vx::ops::rows::RowName) != nullptr) \
        std::fprintf(out, "            %s,\n", #Export);
#include "ops/op_list.h"
#undef VX_OP
    }
    std::fprintf(out, "%s", lang.tail);
    return out == stdout || std::fclose(out) == 0 ? 0 : 1;
}
