// The simple operations of `get KEY` and `set KEY VALUE...`, made from the
// library's list of operations (ops/op_list.h: each export's row and key):
// one entry per key with its rows (keyword, form, parse rule) and the
// exported getter and setter.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "LibVestra.h"
#include "ops/rows.h"
#include "output.h"

namespace vxctl {

// The signature kinds of the exported functions the table holds.
using GetText = uint32_t (*)(VestraInfo *, const char *, char *);
using GetNumber = uint32_t (*)(VestraInfo *, const char *, uint32_t *);
using GetFields = uint32_t (*)(VestraInfo *, const char *, Json &values);  // one value per field
using SetText = uint32_t (*)(VestraInfo *, const char *, const char *);
using SetInt = uint32_t (*)(VestraInfo *, const char *, int32_t);
using SetFields = uint32_t (*)(VestraInfo *, const char *, const std::vector<std::string> &);

using Getter = std::variant<std::monostate, GetText, GetNumber, GetFields>;
using Setter = std::variant<std::monostate, SetText, SetInt, SetFields>;

struct SimpleOp {
    const char *name;
    const vx::ops::Row *get_row;  // null: no get
    const vx::ops::Row *set_row;  // null: no set
    Getter get;
    Setter set;
    std::vector<const char *> fields;      // names of a field list's values
    std::vector<const char *> set_fields;  // arguments of a several-field set (default: fields)
    const char *about;
};

const std::vector<SimpleOp> &SimpleOps();
const SimpleOp *FindOp(const std::string &name);

// Reads the key: its value as the row's rule shapes it (text, number, or an
// object of named fields), or Unavailable(...) when the device refused.
bool ReadOp(const SimpleOp &op, VestraInfo *dev, const char *pw, Json &value);
// The names a set takes, for usage lines.
std::vector<std::string> SetArguments(const SimpleOp &op);
// One help line per key: name, command words, what get prints, what set takes.
std::string OpsHelp();

}  // namespace vxctl
