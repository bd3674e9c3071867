// A temporary folder of the test that runs: the native tests run side by side, each in a
// process of its own, and would otherwise write files of the same names into one folder.
#pragma once
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <filesystem>
#include <string>

// Named after the running test, so a death test's child, which runs the same test, finds
// the parent's files; made on first use and never emptied here. Paths taken before any
// test runs are the process's own, except on Windows, where one process runs all of a
// program's tests and a death test's child is a new process that must find the same.
inline std::string TestFolder() {
    const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
#if defined(_WIN32)
    std::string name = "quorvel_tests";
#else
    std::string name = "quorvel_tests_" + std::to_string(getpid());
#endif
    if (test) name = name + "_" + test->test_suite_name() + "." + test->name();
    std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(folder);
    return folder.string();
}

// A path in that folder.
inline std::string TestFolderPath(const std::string &name) {
    return (std::filesystem::path(TestFolder()) / name).string();
}
