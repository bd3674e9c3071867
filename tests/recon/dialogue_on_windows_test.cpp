// The dialogue on the real windows: answers typed into the console as characters, the
// real file dialogs and message boxes answered as a user would. The run ends, once its
// script is used up and a question waits, by writing the console's text and leaving.
#include <windows.h>

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "console/console_window.h"
#include "console/input_line.h"
#include "console/ring_lines.h"
#include "console/text_ring.h"
#include "recon/dialogue_text.h"
#include "recon/test_files.h"
#include "recon/workflow.h"
#include "support/test_windows.h"
#include "tools/program_driver/dialogue_driver.h"

namespace dialogue_on_windows_test {

namespace {

const int TypeTickMs = 30;
const char Separator[] = "\n----\n";  // between the console's text and the boxes seen

std::vector<std::string> Typing;  // lines still to be typed, each followed by Enter
size_t LinesTyped = 0;
std::string RecordPath;

// A fixed name: the run itself happens in a child process that must find the same files.
std::string TempFile(const char *name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "quorvel_dialogue_" + name;
}

void CALLBACK TypeTick(HWND, UINT, UINT_PTR, DWORD) {
    MSG pending;
    if (!WaitingForInput || PeekMessageA(&pending, ConsoleWindow, WM_CHAR, WM_CHAR, PM_NOREMOVE)) return;
    if (LinesTyped < Typing.size()) {
        for (char c : Typing[LinesTyped]) PostMessageA(ConsoleWindow, WM_CHAR, (unsigned char)c, 1);
        PostMessageA(ConsoleWindow, WM_CHAR, '\r', 1);
        LinesTyped++;
        return;
    }
    std::string record = RingText() + Separator;
    for (const ModalSeen &seen : FinishModalScript()) record += seen.caption + ": " + seen.text + "\n";
    WriteWholeFile(RecordPath, record);
    exit(0);
}

// Runs the dialogue in a child process; returns the console's text and, after the
// separator, the boxes and dialogs answered.
std::string RunDialogue(const std::vector<ModalStep> &modals, const std::vector<std::string> &lines) {
    RecordPath = TempFile("record.txt");
    DeleteFileA(RecordPath.c_str());
    EXPECT_EXIT(
        {
            EnsureWindows();
            Typing = lines;
            StartModalScript(modals);
            SetTimer(NULL, 0, TypeTickMs, TypeTick);
            RunWorkflow();
        },
        testing::ExitedWithCode(0), "");
    return ReadWholeFile(RecordPath);
}

class DialogueOnWindows : public testing::Test {
  protected:
    std::string volume = TempFile("volume.sino");
    std::string filter = TempFile("filter.txt");
    void SetUp() override {
        WriteSinogramFile(volume, DialogueSample, 0, 0);
        WriteTextFile(filter, std::string("1\n") + std::string(127 * 2, ' '));
    }
};

TEST_F(DialogueOnWindows, TypedAnswersFollowEachQuestionsRules) {
    std::string record = RunDialogue(
        {ChooseFile(volume.c_str()), ChooseFile(filter.c_str()), ChooseFile(filter.c_str())},
        {"", "40 n", " ,40", "N", "no", "86", "", "", "", "N", "", ""});
    std::string expected =
        Banner + LoadVolume + MaxCountLine("49.000000") + Asked(DispProjection, "") +
        SelectSlice + "40 n" + SelectOk + "\n" +         // the rest answers at once
        Asked(SelectSlice, " ,40") + Asked(SelectOk, "N") + Asked(ReconOk, "no") +
        Asked(SelectSlice, "86") + Asked(SelectOk, "") + Asked(ReconOk, "") +
        Asked(LoadFilterAsk, "") + Asked(FilterOk(filter), "N") +
        Asked(LoadFilterAsk, "") + Asked(FilterOk(filter), "") + MethodAsk + Separator;
    EXPECT_EQ(record.substr(0, expected.size()), expected);
    EXPECT_EQ(record.find("unexpected"), std::string::npos) << record;
    EXPECT_EQ(record.find("never opened"), std::string::npos) << record;
}

// A file that does not exist cannot be chosen in the real dialog; the host tests cover it.
TEST_F(DialogueOnWindows, CancelledDialogIsReportedAndAskedAgainAfterEnter) {
    std::string record =
        RunDialogue({CancelFileDialog(), AnswerBox(IDOK), ChooseFile(volume.c_str())}, {""});
    std::string expected = Banner + Asked(LoadVolume + ChooseAgain, "") + LoadVolume + MaxCountLine("49.000000") +
                           DispProjection + Separator;
    EXPECT_EQ(record.substr(0, expected.size()), expected);
    size_t boxes = record.find(Separator);
    ASSERT_NE(boxes, std::string::npos) << record;
    std::string seen = record.substr(boxes);
    EXPECT_NE(seen.find("Tesmira Message: No sinogram file"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("unexpected"), std::string::npos) << seen;
}

}  // namespace

}  // namespace dialogue_on_windows_test
