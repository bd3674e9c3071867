#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "console/input_line.h"
#include "console/ring_lines.h"
#include "console/text_ring.h"

namespace input_line_test {

namespace {

using Lines = std::vector<std::string>;

void StartEmpty() {
    ResetTextRing();
    VisibleLines = 0;
    InputLine[0] = '\0';
    InputLength = 0;
    WaitingForInput = 0;
    EchoOnParse = 0;
}

void Type(const std::string &text) {
    for (char c : text) EditInputLine((unsigned char)c);
}

// One question as the console asks it: a rest left from the last answer answers at
// once; otherwise the line is typed and Enter parses it with the echo.
// Returns whether the question waited for typing.
bool Ask(const char *format, std::vector<void *> targets, const std::string &typed) {
    if (BeginScan(format, targets.data(), (int)targets.size())) return false;
    Type(typed);
    EchoOnParse = 1;
    ParseInputLine();
    return true;
}

TEST(InputLine, OneQuestionOneAnswer) {
    struct Case {
        const char *typed;
        const char *format;
        int32_t number;  // expected for %d
        char letter;     // expected for %c
    };
    const Case cases[] = {
        {"40", "%d", 40, 0},
        {"12abc", "%d", 12, 0},
        {"abc", "%d", 0, 0},
        {"", "%d", 0, 0},
        {"-7", "%d", -7, 0},
        {"99999999999", "%d", INT32_MAX, 0},
        {"-99999999999", "%d", INT32_MIN, 0},
        {"  ,, 8", "%3d", 8, 0},
        {"no", "%c", 0, 'n'},
        {" ,n", "%c", 0, 'n'},
        {"", "%c", 0, 0},
        {"Yes", "%c", 0, 'Y'},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.format) + " <- \"" + c.typed + "\"");
        StartEmpty();
        ConsolePrint("Q? ");
        int32_t number = 555;
        char letter = '#';
        void *target = c.format[strlen(c.format) - 1] == 'c' ? (void *)&letter : (void *)&number;
        EXPECT_TRUE(Ask(c.format, {target}, c.typed));
        if (target == &letter) {
            EXPECT_EQ(letter, c.letter);
        } else {
            EXPECT_EQ(number, c.number);
        }
        // The whole line was taken: echoed once after the prompt, then the line closed.
        EXPECT_EQ(RingLinesInOrder(), (Lines{std::string("Q? ") + c.typed, ""}));
        EXPECT_EQ(InputLength, 0);
        EXPECT_STREQ(InputLine, "");
    }
}

TEST(InputLine, UntakenRestAnswersTheNextQuestion) {
    StartEmpty();
    ConsolePrint("Slice? ");
    int32_t slice = 0;
    EXPECT_TRUE(Ask("%d", {&slice}, "40 n"));
    EXPECT_EQ(slice, 40);
    EXPECT_STREQ(InputLine, "n");
    EXPECT_EQ(InputLength, 1);
    EXPECT_EQ(RingLinesInOrder(), (Lines{"Slice? 40 n"}));  // echoed, no newline yet

    ConsolePrint("OK? ");
    char answer = 0;
    EXPECT_FALSE(Ask("%c", {&answer}, "never typed"));
    EXPECT_EQ(answer, 'n');
    EXPECT_EQ(InputLength, 0);
    EXPECT_EQ(RingLinesInOrder(), (Lines{"Slice? 40 nOK? ", ""}));  // no second echo
}

TEST(InputLine, EveryConversionLetter) {
    StartEmpty();
    int32_t width = 0, longInt = 0;
    double longDouble = 0;
    float single = 0;
    char word[200] = {}, letter = 0, unused = '#';
    EXPECT_TRUE(Ask("%3d %lf %f %s %ld %x %c",
                    {&width, &longDouble, &single, word, &longInt, &unused, &letter},
                    "5,2.5 1.25 word,-3 skipped z tail"));
    EXPECT_EQ(width, 5);
    EXPECT_EQ(longDouble, 2.5);
    EXPECT_EQ(single, 1.25f);
    EXPECT_STREQ(word, "word");
    EXPECT_EQ(longInt, -3);
    EXPECT_EQ(unused, '#');
    EXPECT_EQ(letter, 'z');
    EXPECT_STREQ(InputLine, "tail");
}

TEST(InputLine, FloatsBeyondTheirRangeBecomeInfinities) {
    StartEmpty();
    float big = 0, small = 0, tiny = 1;
    EXPECT_TRUE(Ask("%f %f %f", {&big, &small, &tiny}, "1e300 -1e300 1e-300"));
    EXPECT_EQ(big, HUGE_VALF);
    EXPECT_EQ(small, -HUGE_VALF);
    EXPECT_EQ(tiny, 0.0f);
}

TEST(InputLine, FormatsThatRunOutOfConversionsEndNormally) {
    struct Case {
        const char *format;
        int32_t values[4];  // destinations afterwards; -1 is untouched
        const char *rest;   // InputLine afterwards
    };
    const Case cases[] = {
        {"", {-1, -1, -1, -1}, "7 8 9"},
        {"no conversion", {-1, -1, -1, -1}, "7 8 9"},
        {"%", {-1, -1, -1, -1}, "7 8 9"},
        {"%12", {-1, -1, -1, -1}, "7 8 9"},
        {"%l", {-1, -1, -1, -1}, "7 8 9"},
        {"%d and text", {7, -1, -1, -1}, "8 9"},
        {"%d%", {7, -1, -1, -1}, "8 9"},
        {"%d%d%l", {7, 8, -1, -1}, "9"},
        {"%d%d%d%d", {7, 8, 9, 0}, ""},  // an exhausted line gives empty tokens
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        StartEmpty();
        int32_t values[4] = {-1, -1, -1, -1};
        Ask(c.format, {&values[0], &values[1], &values[2], &values[3]}, "7 8 9");
        for (int i = 0; i < 4; i++) EXPECT_EQ(values[i], c.values[i]) << i;
        EXPECT_STREQ(InputLine, c.rest);
        EXPECT_EQ(InputLength, (int)strlen(c.rest));
        // The line is echoed once whatever the format; the newline only when all was taken.
        Lines expected = {"7 8 9"};
        if (c.rest[0] == '\0') expected.push_back("");
        EXPECT_EQ(RingLinesInOrder(), expected);
    }
}

TEST(InputLine, ConversionsBeyondFortyAreNotStored) {
    StartEmpty();
    std::string format, typed;
    for (int i = 0; i < 45; i++) {
        format += "%d";
        typed += std::to_string(i) + " ";
    }
    EXPECT_EQ(CountConversions(format.c_str()), 40);
    int32_t values[41] = {};
    values[40] = -1;
    std::vector<void *> targets;
    for (int i = 0; i < 40; i++) targets.push_back(&values[i]);
    Ask(format.c_str(), targets, typed);
    for (int i = 0; i < 40; i++) EXPECT_EQ(values[i], i);
    EXPECT_EQ(values[40], -1);
    EXPECT_STREQ(InputLine, "40 41 42 43 44 ");
}

TEST(InputLine, CountsOnlyWhatTheFormatCopyHolds) {
    EXPECT_EQ(CountConversions(""), 0);
    EXPECT_EQ(CountConversions("%c"), 1);
    EXPECT_EQ(CountConversions("%d, %lf"), 2);
    std::string longFormat = std::string(254, ' ') + "%d%d";
    EXPECT_EQ(CountConversions(longFormat.c_str()), 1);
}

TEST(InputLine, EditingCodes) {
    struct Case {
        const char *name;
        std::vector<int> codes;
        std::string line;  // all stored bytes, code 0 included
    };
    const Case cases[] = {
        {"printable and high bytes", {'a', ' ', '~', 127, 0x83, 255}, "a ~\x7f\x83\xff"},
        {"backspace removes one byte", {'a', 'b', 8}, "a"},
        {"code 16 deletes like backspace", {'a', 'b', 16}, "a"},
        {"backspace on an empty line", {8, 16, 8}, ""},
        {"tab and other control codes change nothing", {'a', 9, 1, 7, 10, 12, 14, 15, 17, 27, 31, 'b'}, "ab"},
        {"code 0 is stored", {'a', 0, 'b'}, std::string("a\0b", 3)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StartEmpty();
        for (int code : c.codes) EditInputLine((unsigned char)code);
        EXPECT_EQ(InputLength, (int)c.line.size());
        EXPECT_EQ(std::string(InputLine, InputLength), c.line);
        EXPECT_EQ(InputLine[InputLength], '\0');
    }
}

TEST(InputLine, CodeZeroEndsTheTextForParsing) {
    StartEmpty();
    char letter = 0;
    Ask("%c", {&letter}, std::string("ab\0cd", 5));
    EXPECT_EQ(letter, 'a');
    EXPECT_EQ(InputLength, 0);
    EXPECT_EQ(RingLinesInOrder(), (Lines{"ab", ""}));
}

TEST(InputLine, LongestLineAndBoundedCopies) {
    StartEmpty();
    ConsolePrint("P ");
    char word[600];
    memset(word, '#', sizeof word);
    EXPECT_EQ(BeginScan("%s", std::vector<void *>{word}.data(), 1), 0);
    std::string typed;
    for (int i = 0; i < 511; i++) typed += (char)('a' + i % 26);
    Type(typed);
    EXPECT_EQ(InputLength, 511);
    EditInputLine('!');  // a 512th character is ignored
    EXPECT_EQ(InputLength, 511);
    EXPECT_EQ(std::string(InputLine), typed);

    // One long token: the destination gets at most 171 bytes; the echo keeps all of it.
    EchoOnParse = 1;
    ParseInputLine();
    EXPECT_EQ(std::string(word), typed.substr(0, 171));
    EXPECT_EQ(word[172], '#');
    std::string joined;
    for (const std::string &line : RingLinesInOrder()) joined += line;
    EXPECT_EQ(joined, "P " + typed);
    EXPECT_EQ(LineCount, 5);  // 513 characters: three full lines, 33, then the new line

    // Many short tokens: the rest kept for the next question is cut to 167 bytes.
    StartEmpty();
    std::string numbers;
    for (int i = 0; i < 255; i++) numbers += "1 ";
    numbers += "9";
    int32_t value = 0;
    Ask("%d", {&value}, numbers);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(InputLength, 167);
    EXPECT_EQ(std::string(InputLine), numbers.substr(2, 167));
}

}  // namespace

}  // namespace input_line_test
