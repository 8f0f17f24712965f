// The library's log lines, written to standard output while a capture is
// alive; the log is off again once the text is read or the capture ends.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "LibVestra.h"

namespace testsupport {

class LogCapture {
public:
    LogCapture() {
        VX_SetLibLog(VX_LOG_CONSOLE);
        testing::internal::CaptureStdout();
    }
    std::string text() {
        if (!done_) {
            text_ = testing::internal::GetCapturedStdout();
            done_ = true;
            VX_SetLibLog(VX_LOG_OFF);
        }
        return text_;
    }
    bool has(const std::string &s) { return text().find(s) != std::string::npos; }
    ~LogCapture() { text(); }

private:
    std::string text_;
    bool done_ = false;
};

}  // namespace testsupport
