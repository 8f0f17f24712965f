#include "read_text.h"

#include <fstream>
#include <iterator>

#include "output.h"

namespace vxctl {

std::string TextOrFile(const std::vector<std::string> &words, const std::string &file,
                       const std::string &separator) {
    if (words.empty() == file.empty()) UsageError("give the text or --file FILE (one of them)");
    if (file.empty()) {
        std::string text;
        for (const std::string &w : words) text += (text.empty() ? "" : separator) + w;
        return text;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) UsageError("cannot read " + file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace vxctl
