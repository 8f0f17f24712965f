// The text a command sends: its words, or the contents of --file.
#pragma once

#include <string>
#include <vector>

namespace vxctl {

// The words joined by `separator`, or the file's bytes when a file is named
// (then words must be empty). Usage error when both or neither are given,
// or the file cannot be read.
std::string TextOrFile(const std::vector<std::string> &words, const std::string &file,
                       const std::string &separator);

}  // namespace vxctl
