// The dialogue, driven by scripted answers through the real input parser.
#include <gtest/gtest.h>
#include <string.h>

#include <initializer_list>
#include <string>

#include "recon/dialogue_text.h"
#include "recon/test_files.h"
#include "recon/workflow.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"

namespace workflow_test {

static bool EndsWith(const std::string &text, const std::string &end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

static int Occurrences(const std::string &text, const std::string &part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) count++;
    return count;
}

class Workflow : public testing::Test {
  protected:
    static std::string volume, shortVolume, filter;
    static void SetUpTestSuite() {
        volume = TempPath("workflow.sino");
        shortVolume = TempPath("workflow_short.sino");
        filter = TempPath("workflow_filter.txt");
        WriteSinogramFile(volume, DialogueSample, 0x11, 0);
        WriteFilledFile(shortVolume, 1000);
        std::string taps = "2\n";  // filtered projections come out doubled
        for (int k = 1; k < 128; k++) taps += "0\n";
        WriteTextFile(filter, taps);
    }
    void SetUp() override {
        ResetFakePicture();
        ResetFakeConsole();
    }
    static void Script(std::initializer_list<std::string> paths, std::initializer_list<const char *> lines) {
        for (auto &path : paths) FakeQueuePath(path.c_str());
        for (const char *line : lines) FakeQueueLine(line);
    }
    // Runs the dialogue until a question waits with no scripted line left.
    static std::string RunUntilWaiting() {
        EXPECT_THROW(RunWorkflow(), ScriptEnded);
        EXPECT_EQ(FakeLinesLeft(), 0);
        return FakeConsoleText();
    }
};
std::string Workflow::volume, Workflow::shortVolume, Workflow::filter;

TEST_F(Workflow, QuestionsComeInOrderUpToTheMethod) {
    Script({volume, filter}, {"", "40", "", "", "", ""});
    std::string expected = Banner + LoadVolume + MaxCountLine("49.000000") + Asked(DispProjection, "") +
                           Asked(SelectSlice, "40") + Asked(SelectOk, "") + Asked(ReconOk, "") +
                           Asked(LoadFilterAsk, "") + Asked(FilterOk(filter), "") + MethodAsk;
    EXPECT_EQ(RunUntilWaiting(), expected);
    EXPECT_EQ(FakePlaceCount, 1);
    EXPECT_EQ(FakeOpenCount, 1);
    EXPECT_EQ(FakeDialogCount, 2);
    EXPECT_EQ(FakeClearCount, 1);
    EXPECT_EQ(FakeFlushCount, 3);            // gallery, slice sinogram, filter plot
    EXPECT_EQ(FakePumpCount, 87 + 87 + 64 + 64);  // load, overview, gallery, markers
    EXPECT_EQ(FakeMessageCount, 0);
    EXPECT_EQ(MaxCount, 49.0f);
    EXPECT_EQ(SliceSinogram[10][20], DialogueSample(46, 20, 10));
    EXPECT_EQ(FilterTaps[0], 2.0);
    EXPECT_EQ(PenWidth, 1);
}

// Each case answers the questions before the one under test with Enter.
TEST_F(Workflow, EachQuestionTakesItsOwnNoAnswers) {
    struct { const char *question; std::initializer_list<const char *> lines; std::string next; int clears; } cases[] = {
        {"Disp Projection", {"n"}, SelectSlice, 1},
        {"select slice OK", {"", "40", "n"}, SelectSlice, 2},
        {"select slice OK", {"", "40", "no"}, SelectSlice, 2},
        {"select slice OK", {"", "40", " ,n"}, SelectSlice, 2},
        {"select slice OK", {"", "40", "N"}, ReconOk, 1},
        {"select slice OK", {"", "40", ""}, ReconOk, 1},
        {"select slice OK", {"", "40", "yes"}, ReconOk, 1},
        {"Reconstruction slice OK", {"", "40", "", "n"}, SelectSlice, 2},
        {"Reconstruction slice OK", {"", "40", "", "N"}, SelectSlice, 2},
        {"Reconstruction slice OK", {"", "40", "", "Nope"}, SelectSlice, 2},
        {"Reconstruction slice OK", {"", "40", "", ""}, LoadFilterAsk, 1},
        {"Reconstruction slice OK", {"", "40", "", "y"}, LoadFilterAsk, 1},
        {"filter OK", {"", "40", "", "", "", "n"}, LoadFilterAsk, 1},
        {"filter OK", {"", "40", "", "", "", "N"}, LoadFilterAsk, 1},
        {"filter OK", {"", "40", "", "", "", ""}, MethodAsk, 1},
        {"filter OK", {"", "40", "", "", "", "x"}, MethodAsk, 1},
    };
    for (auto &c : cases) {
        ResetFakePicture();
        ResetFakeConsole();
        Script({volume, filter, filter}, c.lines);
        std::string text = RunUntilWaiting();
        const char *typed = *(c.lines.end() - 1);
        EXPECT_TRUE(EndsWith(text, c.next)) << c.question << " answered '" << typed << "':" << text;
        EXPECT_EQ(FakeClearCount, c.clears) << c.question << " answered '" << typed << "'";
    }
}

TEST_F(Workflow, TokensLeftOnALineAnswerTheNextQuestionAtOnce) {
    Script({volume}, {"", "40 n"});
    std::string text = RunUntilWaiting();
    EXPECT_TRUE(EndsWith(text, SelectSlice + "40 n" + SelectOk + "\n" + SelectSlice)) << text;
    EXPECT_EQ(FakeScanCount, 4);
    EXPECT_EQ(FakeClearCount, 2);
    EXPECT_EQ(FakeLineCount, 64);

    ResetFakePicture();
    ResetFakeConsole();
    Script({volume}, {"", "3 y"});
    text = RunUntilWaiting();
    EXPECT_TRUE(EndsWith(text, SelectSlice + "3 y" + SelectOk + "\n" + ReconOk)) << text;
    EXPECT_EQ(SliceSinogram[10][20], DialogueSample(83, 20, 10));
}

TEST_F(Workflow, SliceOutsideTheFileIsAskedAgainWithoutItsRest) {
    Script({volume}, {"", "87", "-1", "100 n", "86", ""});
    std::string text = RunUntilWaiting();
    std::string expected = Asked(SelectSlice, "87") + Asked(SelectSlice, "-1") + Asked(SelectSlice, "100 n") +
                           Asked(SelectSlice, "86") + Asked(SelectOk, "") + ReconOk;
    EXPECT_TRUE(EndsWith(text, expected)) << text;
    EXPECT_EQ(FakeClearCount, 1);
    EXPECT_EQ(FakeLineCount, 64);
    EXPECT_EQ(FakeLines[0].y0, 86);
    EXPECT_EQ(SliceSinogram[10][20], DialogueSample(0, 20, 10));
}

TEST_F(Workflow, UnusableSinogramFilesAreReportedAndAskedForAgain) {
    const std::string missing = TempPath("workflow_missing.sino");
    Script({"", missing, shortVolume, volume}, {"", "", ""});
    std::string text = RunUntilWaiting();
    std::string expected = Banner + Asked(LoadVolume + ChooseAgain, "") + Asked(LoadVolume + ChooseAgain, "") +
                           Asked(LoadVolume + ChooseAgain, "") + LoadVolume + MaxCountLine("49.000000") +
                           DispProjection;
    EXPECT_EQ(text, expected);
    ASSERT_EQ(FakeMessageCount, 3);
    EXPECT_NE(strstr(FakeMessages[0], "No sinogram file"), nullptr) << FakeMessages[0];
    EXPECT_NE(strstr(FakeMessages[1], missing.c_str()), nullptr) << FakeMessages[1];
    EXPECT_NE(strstr(FakeMessages[2], shortVolume.c_str()), nullptr) << FakeMessages[2];
    EXPECT_NE(strstr(FakeMessages[2], "1000"), nullptr) << FakeMessages[2];
    EXPECT_EQ(FakeOpenCount, 1);
    EXPECT_EQ(FakePumpCount, 87 + 87);
}

TEST_F(Workflow, UnusableFilterFilesAreReportedAndAskedForAgain) {
    const std::string missing = TempPath("workflow_missing_filter.txt");
    for (int k = 0; k < FilterTapCount; k++) FilterTaps[k] = 0.5;
    Script({volume, "", missing, filter}, {"", "40", "", "", "", "", ""});
    std::string text = RunUntilWaiting();
    EXPECT_TRUE(EndsWith(text, Asked(LoadFilterAsk, "") + Asked(LoadFilterAsk, "") + Asked(LoadFilterAsk, "") +
                                   FilterOk(filter))) << text;
    ASSERT_EQ(FakeMessageCount, 2);
    EXPECT_NE(strstr(FakeMessages[0], "No filter file"), nullptr) << FakeMessages[0];
    EXPECT_NE(strstr(FakeMessages[1], missing.c_str()), nullptr) << FakeMessages[1];
    EXPECT_EQ(FakeBoxCount, 1);
    EXPECT_EQ(FilterTaps[0], 2.0);
    EXPECT_EQ(FilterTaps[1], 0.0);
}

TEST_F(Workflow, ReconstructionFlushesSevenTimesAndPassesTheMethodOn) {
    struct { const char *method; float factor; } cases[] = {{"1", 1.0f}, {"2", 2.0f}, {"", 2.0f}, {"12", 1.0f}};
    for (auto &c : cases) {
        ResetFakePicture();
        ResetFakeConsole();
        Script({volume, filter}, {"", "40", "", "", "", "", c.method, ""});
        std::string text = RunUntilWaiting();
        EXPECT_TRUE(EndsWith(text, Asked(MethodAsk, c.method) + Asked(DispFiltered, "") + ChangeSlice)) << text;
        EXPECT_EQ(FakeFlushCount, 7) << c.method;
        EXPECT_EQ(FakePumpCount, 87 + 87 + 64 + 64) << c.method;
        EXPECT_EQ(FilteredSinogram[10][20], c.factor * DialogueSample(46, 20, 10)) << c.method;
    }
}

TEST_F(Workflow, ReviewAndRetryCountOnlyLowerCaseN) {
    // 'N' at the review goes back to the slice choice, which clears and redraws.
    Script({volume, filter}, {"", "40", "", "", "", "", "1", "", "N"});
    std::string text = RunUntilWaiting();
    EXPECT_TRUE(EndsWith(text, Asked(ChangeSlice, "N") + SelectSlice)) << text;
    EXPECT_EQ(FakeClearCount, 2);
    EXPECT_EQ(FakeFlushCount, 8);

    // 'N' at the retry asks for a file at once: no banner, no second placement.
    ResetFakePicture();
    ResetFakeConsole();
    Script({volume, filter, volume}, {"", "40", "", "", "", "", "1", "", "n", "N"});
    text = RunUntilWaiting();
    EXPECT_TRUE(EndsWith(text, Asked(ChangeSlice, "n") + Asked(Retry, "N") + LoadVolume +
                                   MaxCountLine("49.000000") + DispProjection)) << text;
    EXPECT_EQ(Occurrences(text, Banner), 1);
    EXPECT_EQ(FakePlaceCount, 1);
    EXPECT_EQ(FakeOpenCount, 2);
}

TEST_F(Workflow, FinalNoEndsTheProgramWithStatusZero) {
    Script({volume, filter}, {"", "40", "", "", "", "", "2", "", "n", "n"});
    EXPECT_EXIT(RunWorkflow(), testing::ExitedWithCode(0), "");
}

}  // namespace workflow_test
