#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/ring_lines.h"
#include "console/text_ring.h"

namespace text_ring_test {

namespace {

using Lines = std::vector<std::string>;

void StartEmpty(int visibleLines) {
    ResetTextRing();
    VisibleLines = visibleLines;
    ConsoleDirty = 0;
}

struct SplitCase {
    const char *name;
    std::string open;     // printed first, leaving the current line open
    std::string printed;  // the text under test
    Lines expected;       // held lines afterwards, oldest first
};

TEST(TextRing, SplitsTextIntoLines) {
    const std::string x160(160, 'x'), y150(150, 'y');
    const SplitCase cases[] = {
        {"empty text", "", "", {""}},
        {"open prompt gets the answer appended", "Load ", "file", {"Load file"}},
        {"newline closes the line and is not stored", "", "ab\n", {"ab", ""}},
        {"two newlines close the prompt and add an empty line", "Q? ", "\n\nNext", {"Q? ", "", "Next"}},
        {"exactly 160 characters close the line", "", x160, {x160, ""}},
        {"161 characters carry the last one over", "", x160 + "z", {x160, "z"}},
        {"320 characters make two full lines", "", x160 + x160, {x160, x160, ""}},
        {"the limit counts the open line too", y150, std::string(20, 'z'),
         {y150 + std::string(10, 'z'), std::string(10, 'z')}},
        {"a newline right at the limit adds no empty line", "", x160 + "\n", {x160, ""}},
    };
    for (const SplitCase &c : cases) {
        SCOPED_TRACE(c.name);
        StartEmpty(0);
        ConsolePrint("%s", c.open.c_str());
        ConsoleDirty = 0;
        EXPECT_EQ(ConsolePrint("%s", c.printed.c_str()), (int)c.printed.size());
        EXPECT_EQ(RingLinesInOrder(), c.expected);
        EXPECT_EQ(LineCount, (int)c.expected.size());
        EXPECT_EQ(WriteIndex, LineCount - 1);
        EXPECT_EQ(OldestIndex, 0);
        EXPECT_EQ(ConsoleDirty, 1);
    }
}

TEST(TextRing, FullRingDropsTheOldestLine) {
    StartEmpty(0);
    for (int i = 0; i < 199; i++) ConsolePrint("L%d\n", i);
    EXPECT_EQ(LineCount, 200);
    EXPECT_EQ(OldestIndex, 0);
    EXPECT_EQ(WriteIndex, 199);

    ConsolePrint("L199\n");  // closes the 201st line counting the current one
    EXPECT_EQ(LineCount, 200);
    EXPECT_EQ(WriteIndex, 0);
    EXPECT_EQ(OldestIndex, 1);
    Lines lines = RingLinesInOrder();
    EXPECT_EQ(lines.front(), "L1");
    EXPECT_EQ(lines[198], "L199");
    EXPECT_EQ(lines.back(), "");

    // Many more turns keep the order and the invariant.
    for (int i = 200; i < 731; i++) ConsolePrint("L%d\n", i);
    ConsolePrint("open");
    EXPECT_EQ(LineCount, 200);
    EXPECT_EQ(OldestIndex, (WriteIndex + 1) % 200);
    lines = RingLinesInOrder();
    for (int i = 0; i < 199; i++) EXPECT_EQ(lines[i], "L" + std::to_string(532 + i));
    EXPECT_EQ(lines.back(), "open");
}

TEST(TextRing, ClosingALineBringsTheViewToTheBottom) {
    struct Case { int visible, linesBefore, scrollBefore, scrollAfter; };
    const Case cases[] = {
        {10, 30, 0, 21},   // scrolled to the top: back to the bottom
        {10, 9, -1, 0},    // the closed line makes them fill the view exactly
        {10, 5, -5, -5},   // still fewer lines than fit: untouched
        {0, 3, 1, 4},      // no room for any line
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.visible * 1000 + c.linesBefore);
        StartEmpty(0);
        for (int i = 1; i < c.linesBefore; i++) ConsolePrint("\n");
        VisibleLines = c.visible;
        ScrollPos = c.scrollBefore;
        ConsolePrint("last\n");
        EXPECT_EQ(ScrollPos, c.scrollAfter);
    }
    // Text that closes no line leaves the view where the user put it.
    StartEmpty(2);
    for (int i = 0; i < 10; i++) ConsolePrint("\n");
    ScrollPos = 3;
    ConsolePrint("more text");
    EXPECT_EQ(ScrollPos, 3);
}

TEST(TextRing, LongFormattedTextsDoNotOverrun) {
    struct Case { int length; int kept; };
    const Case cases[] = {{171, 171}, {172, 172}, {1000, 1000}, {1023, 1023}, {1024, 1023}, {5000, 1023}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.length);
        StartEmpty(0);
        std::string text;
        for (int i = 0; i < c.length; i++) text += (char)('a' + i % 26);
        EXPECT_EQ(ConsolePrint("%s", text.c_str()), c.kept);
        std::string joined;
        Lines lines = RingLinesInOrder();
        for (size_t i = 0; i < lines.size(); i++) {
            if (i + 1 < lines.size()) {
                EXPECT_EQ(lines[i].size(), 160u);
            }
            joined += lines[i];
        }
        EXPECT_EQ(joined, text.substr(0, c.kept));
        EXPECT_EQ(LineCount, c.kept / 160 + 1);
    }
}

}  // namespace

}  // namespace text_ring_test
