// The right-click menu and its commands, driven through the messages that a click and
// a choice produce, with the dialogs and boxes answered from a timer. The console window
// is never destroyed here; ending the program is checked in a child process.
#include "console/menu_commands.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include "console/console_window.h"
#include "console/text_ring.h"
#include "graphics/surface.h"
#include "support/test_windows.h"
#include "tools/program_driver/dialogue_driver.h"

namespace menu_commands_test {

namespace {

const char InfoCaption[] = "Tesmira Message";
const char OverwriteText[] = "\n Same file name exists. \n\n Overwrite OK? \n\n";

std::vector<ModalSeen> RunCommand(WPARAM command, const std::vector<ModalStep> &steps) {
    StartModalScript(steps);
    SendMessageA(ConsoleWindow, WM_COMMAND, command, 0);
    return FinishModalScript();
}

std::vector<ModalSeen> RightClick(int x, int y, const ModalStep &menuAnswer) {
    std::vector<ModalSeen> seen;
    // A real click activates the console first. Without a window manager nothing hands
    // the activation back after a closed message box, and a menu whose owner is not
    // active closes at once; on a busy machine the activation can still be on its way
    // when the click comes, so a menu that never opened is clicked for again.
    for (int attempt = 0; attempt < 3; attempt++) {
        SetForegroundWindow(ConsoleWindow);
        SetActiveWindow(ConsoleWindow);
        SetFocus(ConsoleWindow);
        DrainMessages();
        StartModalScript({menuAnswer});
        SendMessageA(ConsoleWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
        seen = FinishModalScript();
        DrainMessages();  // the menu's choice arrives as a posted command
        if (seen.size() != 1 || seen[0].caption != "never opened") break;
        Sleep(100);
    }
    return seen;
}

std::string Describe(const std::vector<ModalSeen> &seen) {
    std::string all;
    for (const ModalSeen &s : seen) all += "[" + s.caption + ": " + s.text + "] ";
    return all;
}

// Text pixels in the console's client area; -1 when another window covers the console.
int ConsoleInk() {
    if (!Uncovered(ConsoleWindow)) return -1;
    RECT client;
    GetClientRect(ConsoleWindow, &client);
    client.bottom -= 40;  // leave out the input line
    HDC dc = GetDC(ConsoleWindow);
    int ink = CountPixelsNot(dc, client, RGB(255, 255, 255));
    ReleaseDC(ConsoleWindow, dc);
    return ink;
}

// Runs first: no picture has been opened in this process yet.
TEST(MenuCommands, SaveGraphicBeforeAnyPictureIsRefused) {
    EnsureWindows();
    ASSERT_EQ(GraphicsShown, 0);
    std::vector<ModalSeen> seen = RunCommand(CommandSaveGraphic, {AnswerBox(IDOK)});
    ASSERT_EQ(seen.size(), 1u) << Describe(seen);
    EXPECT_EQ(seen[0].caption, InfoCaption);
    EXPECT_EQ(seen[0].text, "Graphic window is not displayed.");
}

TEST(MenuCommands, RightClickOpensMenuCentredBelowTheClick) {
    EnsureWindows();
    int height = LineHeight;
    std::vector<ModalSeen> seen = RightClick(10, 20, CloseMenu());
    ASSERT_EQ(seen.size(), 1u) << Describe(seen);
    ASSERT_EQ(seen[0].kind, ModalMenu);
    POINT click = {10, 20};
    ClientToScreen(ConsoleWindow, &click);
    EXPECT_EQ(seen[0].rect.top, click.y);
    EXPECT_NEAR((seen[0].rect.left + seen[0].rect.right) / 2, click.x, 1);
    EXPECT_EQ(LineHeight, height) << "closing the menu chooses nothing";
}

struct SizeCase {
    int menuPosition;
    int lineHeight;
};

TEST(MenuCommands, EachTextSizeSetsLineHeightAndRepaints) {
    EnsureWindows();
    ResetTextRing();
    for (int i = 0; i < 60; i++) ConsolePrint("WWWW line %d\n", i);
    ASSERT_TRUE(ShowUncovered(ConsoleWindow)) << "the console must be shown and uncovered to be read back";
    const SizeCase sizes[] = {{0, 9}, {1, 12}, {2, 15}, {3, 30}, {4, 45}};
    int inkBefore = ConsoleInk();
    for (const SizeCase &s : sizes) {
        std::vector<ModalSeen> seen = RightClick(30, 40, PickMenuItem(s.menuPosition));
        ASSERT_EQ(seen.size(), 1u) << Describe(seen);
        EXPECT_EQ(LineHeight, s.lineHeight);
        EXPECT_EQ(ConsoleFont->lfHeight, s.lineHeight);
        RECT client;
        GetClientRect(ConsoleWindow, &client);
        EXPECT_EQ(VisibleLines, client.bottom / s.lineHeight) << s.lineHeight;
        EXPECT_EQ(ScrollPos, LineCount - VisibleLines) << "the newest lines are shown";
        int ink = ConsoleInk();
        ASSERT_GE(ink, 0) << "another window covers the console";
        EXPECT_NE(ink, inkBefore) << "the new size must have been painted: " << s.lineHeight;
        inkBefore = ink;
    }
    SendMessageA(ConsoleWindow, WM_COMMAND, CommandDefaultSize, 0);
    EXPECT_EQ(LineHeight, 15);
}

TEST(MenuCommands, CommandsOutsideTheMenuAreIgnored) {
    EnsureWindows();
    const WPARAM others[] = {0, 9, CommandSeparator, MAKEWPARAM(CommandHugeSize, 1)};
    for (WPARAM other : others) {
        std::vector<ModalSeen> seen = RunCommand(other, {});
        EXPECT_TRUE(seen.empty()) << other << " " << Describe(seen);
        EXPECT_EQ(LineHeight, 15) << other;
    }
}

struct TextCase {
    const char *what;
    std::vector<const char *> prints;
    std::string file;
};

TEST(MenuCommands, SaveTextWritesTheRingOldestFirstWithCrLf) {
    EnsureWindows();
    const TextCase cases[] = {
        {"open current line last", {"alpha\n", "beta\n", "gam"}, "alpha\r\nbeta\r\ngam\r\n"},
        {"empty current line still counts", {"alpha\n", "beta\n"}, "alpha\r\nbeta\r\n\r\n"},
        {"nothing printed", {}, "\r\n"},
    };
    for (const TextCase &c : cases) {
        ResetTextRing();
        for (const char *text : c.prints) ConsolePrint("%s", text);
        std::string path = FreshTempPath("console.txt");
        std::vector<ModalSeen> seen =
            RunCommand(CommandSaveText, {ChooseFile(path.c_str()), AnswerBox(IDOK)});
        ASSERT_EQ(seen.size(), 2u) << c.what << " " << Describe(seen);
        EXPECT_EQ(seen[1].caption, InfoCaption) << c.what;
        EXPECT_EQ(seen[1].text, "Saved TextBuffer") << c.what;
        EXPECT_EQ(ReadWholeFile(path), c.file) << c.what;
    }
}

TEST(MenuCommands, SaveTextOfAFullRingHoldsItsLast200Lines) {
    EnsureWindows();
    ResetTextRing();
    for (int i = 0; i < 250; i++) ConsolePrint("line %d\n", i);
    ConsolePrint("tail");
    std::string expected;
    for (int i = 51; i < 250; i++) expected += "line " + std::to_string(i) + "\r\n";
    expected += "tail\r\n";
    std::string path = FreshTempPath("full_ring.txt");
    std::vector<ModalSeen> seen =
        RunCommand(CommandSaveText, {ChooseFile(path.c_str()), AnswerBox(IDOK)});
    ASSERT_EQ(seen.size(), 2u) << Describe(seen);
    EXPECT_EQ(ReadWholeFile(path), expected);
}

TEST(MenuCommands, SaveTextOverAnExistingFileAsksFirst) {
    EnsureWindows();
    ResetTextRing();
    ConsolePrint("new\n");
    std::string path = FreshTempPath("existing.txt");
    std::string old = "old contents, longer than the new ones\r\nsecond line\r\n";
    WriteWholeFile(path, old);

    std::vector<ModalSeen> seen =
        RunCommand(CommandSaveText, {ChooseFile(path.c_str()), AnswerBox(IDCANCEL)});
    ASSERT_EQ(seen.size(), 2u) << Describe(seen);
    EXPECT_EQ(seen[1].caption, "OverWrite?");
    EXPECT_EQ(seen[1].text, OverwriteText);
    EXPECT_EQ(ReadWholeFile(path), old) << "Cancel writes nothing";

    seen = RunCommand(CommandSaveText,
                      {ChooseFile(path.c_str()), AnswerBox(IDOK), AnswerBox(IDOK)});
    ASSERT_EQ(seen.size(), 3u) << Describe(seen);
    EXPECT_EQ(seen[2].text, "Saved TextBuffer");
    EXPECT_EQ(ReadWholeFile(path), "new\r\n\r\n") << "OK replaces the file entirely";
}

TEST(MenuCommands, CancelledSaveDialogWritesNothing) {
    EnsureWindows();
    const WPARAM saves[] = {CommandSaveText, CommandSaveGraphic};
    GraphicsOpen();
    for (WPARAM save : saves) {
        std::vector<ModalSeen> seen = RunCommand(save, {CancelFileDialog()});
        EXPECT_EQ(seen.size(), 1u) << save << " " << Describe(seen);
    }
}

TEST(MenuCommands, FailedWritesAreReportedNotClaimedSaved) {
    EnsureWindows();
    GraphicsOpen();
    // A name that refuses every write: it exists, so the overwrite question comes first.
    std::string full = WinePath(FULL_DEVICE);
    struct FailCase {
        WPARAM command;
        const char *message;
    };
    const FailCase cases[] = {
        {CommandSaveText, "Failed to nopen file."},
        {CommandSaveGraphic, "Failed to save"},
    };
    for (const FailCase &c : cases) {
        std::vector<ModalSeen> seen = RunCommand(
            c.command, {ChooseFile(full.c_str()), AnswerBox(IDOK), AnswerBox(IDOK)});
        ASSERT_EQ(seen.size(), 3u) << Describe(seen);
        EXPECT_EQ(seen[1].caption, "OverWrite?") << Describe(seen);
        EXPECT_EQ(seen[2].text, c.message);
    }
}

TEST(MenuCommands, NameWithoutExtensionCannotBeCreatedAndSaysSo) {
    EnsureWindows();
    GraphicsOpen();
    // The dialogs add the default extension ".*", a name no file can have.
    std::string bare = FreshTempPath("no_extension");
    const WPARAM saves[] = {CommandSaveText, CommandSaveGraphic};
    for (WPARAM save : saves) {
        std::vector<ModalSeen> seen =
            RunCommand(save, {ChooseFile(bare.c_str()), AnswerBox(IDOK)});
        ASSERT_EQ(seen.size(), 2u) << Describe(seen);
        EXPECT_EQ(seen[1].text, "Failed to nopen file.") << save;
    }
}

TEST(MenuCommands, SaveGraphicWritesTheBitmap) {
    EnsureWindows();
    GraphicsOpen();
    DrawColor = RGB(255, 0, 0);
    FillBox(0, 0, 10, 10);
    std::string path = FreshTempPath("picture.bmp");
    std::vector<ModalSeen> seen =
        RunCommand(CommandSaveGraphic, {ChooseFile(path.c_str()), AnswerBox(IDOK)});
    ASSERT_EQ(seen.size(), 2u) << Describe(seen);
    EXPECT_EQ(seen[1].text, " Saved Graphic ");
    std::string file = ReadWholeFile(path);
    ASSERT_EQ(file.size(), 2880054u);
    EXPECT_EQ(file.substr(54 + 799 * 3600, 3), std::string("\0\0\xff", 3));

    // Again over the file it wrote: asked first, and Cancel leaves it.
    FillBox(0, 0, 1200, 800);
    seen = RunCommand(CommandSaveGraphic, {ChooseFile(path.c_str()), AnswerBox(IDCANCEL)});
    ASSERT_EQ(seen.size(), 2u) << Describe(seen);
    EXPECT_EQ(seen[1].caption, "OverWrite?");
    EXPECT_EQ(ReadWholeFile(path), file);
}

TEST(MenuCommands, CancelAtEndChangesNothing) {
    EnsureWindows();
    ResetTextRing();
    ConsolePrint("kept\n");
    int lines = LineCount;
    std::vector<ModalSeen> seen = RunCommand(CommandExit, {AnswerBox(IDCANCEL)});
    ASSERT_EQ(seen.size(), 1u) << Describe(seen);
    EXPECT_EQ(seen[0].caption, "EXIT?");
    EXPECT_EQ(seen[0].text, "\n End ? \n\n");
    EXPECT_TRUE(IsWindow(ConsoleWindow));
    EXPECT_TRUE(IsWindow(GraphicsWindow));
    EXPECT_EQ(LineCount, lines);
    EXPECT_STREQ(TextRing[OldestIndex], "kept");
}

// The child waits for an answer, as the program does, while the command ends it.
long RunChild(const char *mode) {
    PROCESS_INFORMATION child;
    if (!StartProcess(MENU_CHILD, mode, NULL, &child)) return 1000 + (long)GetLastError();
    return FinishProcess(&child, 120000);
}

TEST(EndingTheProgram, OkAtEndExitsWithStatusZero) {
    EXPECT_EQ(RunChild("menu-exit"), 0);
}

TEST(EndingTheProgram, EscapeInGraphicsWindowExitsWithStatusZero) {
    EXPECT_EQ(RunChild("graphics-escape"), 0);
}

TEST(EndingTheProgram, CancelAtEndKeepsTheChildWaiting) {
    EXPECT_EQ(RunChild("menu-cancel"), 5) << "the child's own time limit ends it";
}

}  // namespace

}  // namespace menu_commands_test
