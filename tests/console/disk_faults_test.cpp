// The menu's saves onto failing disks: a file system that fills up midway, one that is
// already full, and a read-only folder. Each save must say it failed, claim no success,
// leave an existing file as it was and leave no file behind. The places are prepared by
// disk_faults.sh, which names their folder in QUORVEL_DISK_FAULTS.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "app/window_side.h"
#include "console/console_window.h"
#include "console/menu_commands.h"
#include "console/text_ring.h"
#include "support/test_windows.h"
#include "tools/program_driver/dialogue_driver.h"

namespace {

struct FaultCase {
    const char *what;
    WPARAM command;
    const char *place;     // small, full or readonly
    const char *name;      // file chosen in the save dialog
    const char *message;   // the failure the user is shown
};

// The files of a folder, by name.
std::vector<std::string> FolderFiles(const std::string &folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string Describe(const std::vector<ModalSeen> &seen) {
    std::string all;
    for (const ModalSeen &s : seen) all += "[" + s.caption + ": " + s.text + "] ";
    return all;
}

TEST(DiskFaults, FailedSavesSaySoAndLeaveTheDiskAsItWas) {
    const char *prepared = getenv("QUORVEL_DISK_FAULTS");
    ASSERT_NE(prepared, nullptr) << "run by disk_faults.sh, which prepares the failing places";
    std::string places = WinePath(prepared);   // Windows path of the prepared folder
    EnsureWindows();
    GraphicsOpen();
    FillBox(0, 0, 600, 400);
    // More text than the small file system holds: 200 lines of 150 characters.
    ResetTextRing();
    for (int i = 0; i < RingLines; i++) ConsolePrint("%03d %0146d\n", i, i);
    const FaultCase cases[] = {
        {"text, disk fills up midway, new file", CommandSaveText, "small", "new.txt", "Failed to nopen file."},
        {"text, disk fills up midway, over a file", CommandSaveText, "small", "old.txt", "Failed to nopen file."},
        {"picture, disk fills up midway, new file", CommandSaveGraphic, "small", "new.bmp", "Failed to save"},
        {"picture, disk fills up midway, over a file", CommandSaveGraphic, "small", "old.txt", "Failed to save"},
        {"text, full disk, over a file", CommandSaveText, "full", "old.txt", "Failed to nopen file."},
        {"picture, full disk, new file", CommandSaveGraphic, "full", "new.bmp", "Failed to save"},
        {"text, read-only folder, new file", CommandSaveText, "readonly", "new.txt", "Failed to nopen file."},
        {"picture, read-only folder, over a file", CommandSaveGraphic, "readonly", "old.txt", "Failed to nopen file."},
    };
    for (const FaultCase &c : cases) {
        SCOPED_TRACE(c.what);
        std::string folder = places + "\\" + c.place;
        std::vector<std::string> before = FolderFiles(folder);
        std::string target = folder + "\\" + c.name;
        bool exists = false;
        std::string old = ReadWholeFile(target, &exists);
        std::vector<ModalStep> steps = {ChooseFile(target.c_str())};
        if (exists) steps.push_back(AnswerBox(IDOK));  // "OverWrite?"
        steps.push_back(AnswerBox(IDOK));
        StartModalScript(steps);
        SendMessageA(ConsoleWindow, WM_COMMAND, c.command, 0);
        std::vector<ModalSeen> seen = FinishModalScript();
        ASSERT_EQ(seen.size(), steps.size()) << Describe(seen);
        EXPECT_EQ(seen.back().caption, "Tesmira Message");
        EXPECT_EQ(seen.back().text, c.message);
        bool after = false;
        std::string now = ReadWholeFile(target, &after);
        EXPECT_EQ(after, exists) << "a new file stays unmade";
        EXPECT_TRUE(now == old) << "an existing file stays as it was; " << old.size() << " bytes before, "
                                << now.size() << " after";
        EXPECT_EQ(FolderFiles(folder), before) << "nothing is left behind";
    }
}

}  // namespace
