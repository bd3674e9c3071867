// The one replacement of a file, through the data tool's body of its file operations
// (the program's, on Windows, is checked by the saves' tests under Wine).
#include "graphics/replace_beside.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/test_folder.h"
#include "teaching/file_replacement.h"
#include "teaching/tool_error.h"

namespace replace_beside_test {

namespace {

const char Old[] = "old contents";
const char New[] = "new contents, longer than the old";

struct ReplacementCase {
    const char *what;
    const char *target;    // in the test's folder unless absolute
    const char *before;    // the target's contents first, null: none; "/": a folder
    int written;           // whether the writer reports every byte written
    int begun;             // BeginReplacing gives a file
    const char *after;     // the target's contents after, null: none; Unchanged: as before
};

const char Unchanged[] = "as before";

const ReplacementCase Cases[] = {
    {"a new file appears whole", "new.txt", nullptr, 1, 1, New},
    {"a file is replaced whole", "old.txt", Old, 1, 1, New},
    {"a failed write leaves the old file", "old.txt", Old, 0, 1, Old},
    {"a failed write of a new file leaves nothing", "new.txt", nullptr, 0, 1, nullptr},
    {"a folder is refused and stays", "folder", "/", 1, 0, Unchanged},
    {"a missing folder is refused", "no/such/out.txt", nullptr, 1, 0, nullptr},
#ifndef _WIN32
    {"a read-only folder is refused", "/proc/quorvel_out.txt", nullptr, 1, 0, nullptr},
    {"a file in a read-only folder is refused and stays", "/proc/version", nullptr, 1, 0, Unchanged},
#endif
};

std::string Path(const char *name) { return name[0] == '/' ? name : TestFolderPath(name); }

std::string Contents(const std::string &path) {
    if (std::filesystem::is_directory(path)) return "a folder";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Names in the test's folder other than the case's own target and the user's "~qv00".
int StrayFiles(const std::string &target) {
    int stray = 0;
    for (const auto &entry : std::filesystem::directory_iterator(TestFolder())) {
        std::string name = entry.path().string();
        stray += name != target && entry.path().filename() != "~qv00" && entry.path().filename() != "folder";
    }
    return stray;
}

}  // namespace

TEST(Replacement, ReplacesWholeOrLeavesTheOldFileAndNoTemporary) {
    for (const ReplacementCase &c : Cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(TestFolder());
        std::string target = Path(c.target);
        if (c.before && c.before[0] == '/') std::filesystem::create_directories(target);
        else if (c.before) std::ofstream(target, std::ios::binary) << c.before;
        // The user's own file of the first temporary name must not be used.
        std::string users = TestFolderPath("~qv00");
        if (target != users) std::ofstream(users, std::ios::binary) << "the user's";

        std::filesystem::file_status was = std::filesystem::status(target);
        std::string wasContents = Contents(target);
        FILE *file = BeginReplacing(target.c_str());
        ASSERT_EQ(file != nullptr, c.begun) << ToolError;
        if (file) {
            ASSERT_NE(ReplacementPath, target);
            EXPECT_EQ(Contents(target), c.before ? c.before : "") << "the target is untouched while written";
            int ok = fputs(New, file) >= 0;
            EXPECT_EQ(FinishReplacing(target.c_str(), file, c.written && ok), c.written);
        }
        if (c.after == Unchanged) {
            EXPECT_EQ(std::filesystem::status(target).type(), was.type());
            EXPECT_EQ(Contents(target), wasContents);
        } else if (c.after) {
            EXPECT_EQ(Contents(target), c.after);
        } else {
            EXPECT_FALSE(std::filesystem::exists(target));
        }
        if (target != users) {
            EXPECT_EQ(Contents(users), "the user's");
        }
        EXPECT_EQ(StrayFiles(target), 0);
    }
}

// A device is written directly: renaming over it would remove it.
TEST(Replacement, WritesADeviceInPlace) {
#ifndef _WIN32
    FILE *file = BeginReplacing("/dev/null");
    ASSERT_NE(file, nullptr) << ToolError;
    EXPECT_EQ(ReplacementInPlace, 1);
    EXPECT_EQ(FinishReplacing("/dev/null", file, fputs(New, file) >= 0), 1);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
#endif
}

}  // namespace replace_beside_test
