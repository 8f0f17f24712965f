// Runs the current test case alone in a fresh process of this program, for
// cases whose threads, handlers or once-only set-up outlive the case.
#pragma once

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char **environ;

namespace testsupport {

// Starts this program with a filter naming the current case only and the
// given environment: `set` entries first, then this process's own entries
// except those whose names `set` already gives. Waits for the child and
// expects it to have passed; its output goes to the same place as ours.
inline void RunCaseInChild(const std::vector<std::string> &set) {
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string filter =
        std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();
    std::string self = "/proc/self/exe";
    std::vector<char *> argv{self.data(), filter.data(), nullptr};
    std::vector<std::string> env_text = set;
    for (char **e = environ; *e != nullptr; ++e) {
        std::string entry = *e;
        bool replaced = false;
        for (const std::string &s : set)
            if (entry.compare(0, s.find('=') + 1, s, 0, s.find('=') + 1) == 0) replaced = true;
        if (!replaced) env_text.push_back(entry);
    }
    std::vector<char *> env;
    for (auto &s : env_text) env.push_back(s.data());
    env.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(0, ::posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), env.data()));
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the case failed in its child (its output is above)";
}

}  // namespace testsupport
