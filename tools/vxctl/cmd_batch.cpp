// vxctl batch [FILE]: several commands in one process, one per line. Against
// virtual recorders this keeps their state from line to line (each process
// starts from the scenario), so a set is seen by the next get.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "output.h"

namespace vxctl {
namespace {

// Shell-like words: blanks separate, '...' is literal, "..." allows \" and
// \\, a backslash outside quotes takes the next character. An empty quoted
// word stays a word. Gives false for an unclosed quote.
bool SplitWords(const std::string &line, std::vector<std::string> &words) {
    std::string word;
    bool in_word = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == ' ' || c == '\t') {
            if (in_word) words.push_back(word);
            word.clear();
            in_word = false;
            continue;
        }
        in_word = true;
        if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
        } else if (c == '\'' || c == '"') {
            std::size_t end = i + 1;
            for (; end < line.size() && line[end] != c; ++end) {
                if (c == '"' && line[end] == '\\' && end + 1 < line.size() &&
                    (line[end + 1] == '"' || line[end + 1] == '\\'))
                    ++end;
                word += line[end];
            }
            if (end >= line.size()) return false;
            i = end;
        } else {
            word += c;
        }
    }
    if (in_word) words.push_back(word);
    return true;
}

// Runs one line as a fresh app; gives its exit code.
int RunLine(const std::string &line) {
    std::vector<std::string> words;
    if (!SplitWords(line, words)) {
        std::fprintf(stderr, "vxctl: unclosed quote in: %s\n", line.c_str());
        return kUsage;
    }
    std::reverse(words.begin(), words.end());  // CLI11 takes the words last first
    CLI::App app{"vxctl"};
    BuildApp(app);
    ExitCode() = kOk;
    try {
        app.parse(words);
    } catch (const CLI::CallForHelp &e) {
        return app.exit(e);
    } catch (const CLI::RuntimeError &e) {
        return e.get_exit_code();
    } catch (const CLI::ParseError &e) {
        app.exit(e);
        return kUsage;
    }
    return ExitCode();
}

// Stops at the first line that fails (or, keeping going, runs every line);
// the exit code is the first failure's.
int RunBatch(std::istream &in, bool keep_going) {
    const bool json = g_json_output;
    int first = kOk;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') continue;
        g_json_output = json;
        const int code = RunLine(line);
        if (first == kOk) first = code;
        if (code != kOk && !keep_going) break;
    }
    return first;
}

}  // namespace

void AddBatchCommand(CLI::App &app) {
    auto file = std::make_shared<std::string>();
    auto keep_going = std::make_shared<bool>(false);
    auto *batch =
        app.add_subcommand("batch",
                           "run commands from FILE (default: standard input), one per line; "
                           "stops at the first that fails");
    batch->add_option("FILE", *file,
                      "commands without the leading vxctl; a line starting with # is a comment");
    batch->add_flag("--keep-going", *keep_going, "run the lines after a failure too");
    batch->callback([file, keep_going] {
        if (file->empty() || *file == "-") {
            ExitCode() = RunBatch(std::cin, *keep_going);
            return;
        }
        std::ifstream in(*file);
        if (!in) UsageError("cannot read " + *file);
        ExitCode() = RunBatch(in, *keep_going);
    });
}

}  // namespace vxctl
