// The recorder's side of the line protocol, as small as these tests need:
// each complete command line gets its reply queued for the bulk IN pipe.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>

namespace umock {

struct RecorderSpec {
    std::string id_code = "3400001";
    std::string digest;  // the login digest it accepts, upper-case hex
    std::string name = "Patrol 7";
    std::set<std::string> silent = {};  // command lines it never answers
};

class Recorder {
public:
    explicit Recorder(RecorderSpec spec) : spec_(std::move(spec)) {}

    void Receive(std::string_view bytes);
    bool HasReply() const { return !pending_.empty(); }
    std::string TakeReply(std::size_t most);
    void Silence(const std::string &line) { spec_.silent.insert(line); }

private:
    std::string Answer(const std::string &line);

    RecorderSpec spec_;
    std::string partial_;
    std::string pending_;
    bool logged_in_ = false;
};

}  // namespace umock
