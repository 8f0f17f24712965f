#include "umock/recorder.h"

namespace umock {

void Recorder::Receive(std::string_view bytes) {
    partial_.append(bytes);
    for (std::size_t end; (end = partial_.find("\r\n")) != std::string::npos;) {
        std::string line = partial_.substr(0, end);
        partial_.erase(0, end + 2);
        pending_ += Answer(line);
    }
}

std::string Recorder::TakeReply(std::size_t most) {
    std::string part = pending_.substr(0, most);
    pending_.erase(0, part.size());
    return part;
}

std::string Recorder::Answer(const std::string &line) {
    if (spec_.silent.count(line) != 0) return {};
    if (line == "VX+GBIDCODE?") return "+GBIDCODE:" + spec_.id_code + "\r\nOK\r\n";
    const std::string login = "VX+LOGIN=admin:";
    if (line.compare(0, login.size(), login) == 0) {
        logged_in_ = line.substr(login.size()) == spec_.digest;
        return logged_in_ ? "+LOGIN:Sucess\r\nOK\r\n" : "+LOGIN:Fail\r\nError: password error\r\n";
    }
    if (line == "VX+LOGOUT") {
        logged_in_ = false;
        return "+LOGOUT:Sucess\r\nOK\r\n";
    }
    if (!logged_in_) return "Error: not logged in\r\n";
    if (line == "VX+DEVNAME?") return "+DEVNAME:" + spec_.name + "\r\nOK\r\n";
    return "Error: unknown command\r\n";
}

}  // namespace umock
