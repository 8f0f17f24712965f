// Small text helpers the command handlers share.
#pragma once

#include <string>
#include <vector>

#pragma GCC visibility push(hidden)

namespace vsim {

// Pieces between separators; "" gives one empty piece.
std::vector<std::string> split(const std::string &text, char sep);
std::string join(const std::vector<std::string> &pieces, char sep);
// Decimal with an optional sign, as printf's %d writes it.
bool is_integer(const std::string &text);
// Standard-alphabet Base64 with padding; false on anything else.
bool base64_decode(const std::string &text, std::string *bytes);

}  // namespace vsim

#pragma GCC visibility pop
