#include "graphics/file_dialog.h"

#include <gtest/gtest.h>
#include <string.h>

#include "support/test_windows.h"
#include "tools/program_driver/dialogue_driver.h"

namespace file_dialog_test {

namespace {

typedef void (*Chooser)(char *destination);

struct ChooserCase {
    const char *what;
    Chooser choose;
};

const ChooserCase Choosers[] = {
    {"open", ChooseOpenFile},
    {"save", ChooseSaveFile},
};

std::string FileNameOf(const std::string &path) {
    return path.substr(path.find_last_of('\\') + 1);
}

// Runs a chooser while the driver answers its dialog; returns what the driver saw.
std::vector<ModalSeen> Choose(Chooser choose, const ModalStep &answer, char *destination) {
    StartModalScript({answer});
    choose(destination);
    return FinishModalScript();
}

TEST(FileDialogs, ChosenPathReachesCallerAndIsOfferedNextTime) {
    EnsureWindows();
    for (const ChooserCase &c : Choosers) {
        std::string path = FreshTempPath((std::string(c.what) + "_choice.txt").c_str());
        WriteWholeFile(path, "data");
        char destination[PathBytes];
        memset(destination, 'x', sizeof destination);
        std::vector<ModalSeen> seen = Choose(c.choose, ChooseFile(path.c_str()), destination);
        ASSERT_EQ(seen.size(), 1u) << c.what;
        EXPECT_EQ(seen[0].kind, ModalFileDialog) << c.what << " " << seen[0].caption;
        EXPECT_STRCASEEQ(destination, path.c_str()) << c.what;
        EXPECT_STRCASEEQ(DialogPath, path.c_str()) << c.what;
        EXPECT_STRCASEEQ(DialogTitle, FileNameOf(path).c_str()) << c.what;

        // The next dialog opens with the last choice; cancelling it keeps that choice.
        seen = Choose(c.choose, CancelFileDialog(), destination);
        ASSERT_EQ(seen.size(), 1u) << c.what;
        EXPECT_NE(seen[0].text, "") << c.what;
        EXPECT_NE(path.find(seen[0].text), std::string::npos)
            << c.what << ": offered " << seen[0].text;
        EXPECT_STREQ(destination, "") << c.what;
        EXPECT_STRCASEEQ(DialogPath, path.c_str()) << c.what;
    }
}

TEST(FileDialogs, SaveDialogAcceptsANewFile) {
    EnsureWindows();
    std::string path = FreshTempPath("new_file.bmp");
    char destination[PathBytes];
    std::vector<ModalSeen> seen = Choose(ChooseSaveFile, ChooseFile(path.c_str()), destination);
    ASSERT_GE(seen.size(), 1u);
    EXPECT_EQ(seen.size(), 1u) << seen.back().caption << ": " << seen.back().text;
    EXPECT_STRCASEEQ(destination, path.c_str());
}

}  // namespace

}  // namespace file_dialog_test
