// Splitting, joining and checking the texts of command arguments.
#include "text.h"

#include <cctype>

namespace vsim {

std::vector<std::string> split(const std::string &text, char sep) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(sep, start);
        pieces.push_back(
            text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return pieces;
        start = end + 1;
    }
}

std::string join(const std::vector<std::string> &pieces, char sep) {
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i) out += sep;
        out += pieces[i];
    }
    return out;
}

bool is_integer(const std::string &text) {
    std::size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

}  // namespace vsim
