// The statements of what a student should see, against small tables of figures: the head
// phantom's lesson as measured, the same with one figure moved so that one statement
// fails, and runs that leave out a dose or the attenuation lesson.
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "teaching/lesson_statements.h"

namespace lesson_statements_test {

// "lesson dose method figures..." with "-" for a figure that cannot be had.
static const char *const HeadLesson[] = {
    "0 100 simple 0.215 3.071 0.07 0.06 0.04 0.05 1.0 1.292",
    "0 100 ramp 0.267 1.491 0.13 0.13 0.14 0.12 12.6 1.148",
    "0 100 shepp_logan 0.303 1.553 0.15 0.15 0.16 0.14 12.3 1.137",
    "0 100 hann 0.522 1.333 0.28 0.29 0.28 0.27 11.4 1.103",
    "0 100 hann_half 0.744 0.571 0.52 0.56 0.47 0.36 8.8 1.048",
    "0 100 mlem 0.672 0.603 0.71 0.75 0.60 0.09 14.3 1.001",
    "0 1000 simple 0.216 3.160 0.08 0.05 0.04 0.05 0.3 1.290",
    "0 1000 ramp 0.550 0.848 0.30 0.27 0.27 0.25 11.8 1.109",
    "0 1000 shepp_logan 0.621 0.758 0.34 0.32 0.32 0.29 11.1 1.097",
    "0 1000 hann 0.837 0.544 0.58 0.57 0.56 0.36 8.0 1.046",
    "0 1000 hann_half 0.886 0.285 0.75 0.72 0.65 0.30 4.5 1.009",
    "0 1000 mlem 0.877 0.300 0.75 0.69 0.62 0.20 5.1 1.004",
    "0 10000 simple 0.216 3.178 0.08 0.05 0.04 0.06 0.2 1.291",
    "0 10000 ramp 0.800 0.532 0.56 0.55 0.56 0.36 8.2 1.070",
    "0 10000 shepp_logan 0.843 0.474 0.62 0.60 0.61 0.36 7.0 1.054",
    "0 10000 hann 0.923 0.269 0.76 0.74 0.72 0.32 3.7 1.018",
    "0 10000 hann_half 0.907 0.257 0.81 0.74 0.67 0.30 1.5 1.013",
    "0 10000 mlem 0.912 0.320 0.76 0.68 0.61 0.25 2.1 1.015",
    "1 1000 none/ramp 0.550 0.848 0.30 0.27 0.27 0.25 11.8 1.109",
    "1 1000 none/hann_half 0.886 0.285 0.75 0.72 0.65 0.30 4.6 1.009",
    "1 1000 none/mlem 0.877 0.300 0.75 0.69 0.62 0.20 5.1 1.004",
    "1 1000 attenuated/ramp 0.302 0.921 0.14 0.15 0.15 0.16 >=12.2 -",
    "1 1000 attenuated/hann_half 0.319 1.121 0.43 0.34 0.43 0.02 - <=0.741",
    "1 1000 attenuated/mlem 0.240 1.003 0.05 0.01 0.04 -0.00 - -",
    "1 1000 corrected/ramp 0.283 1.442 0.15 0.15 0.15 0.15 12.3 1.291",
    "1 1000 corrected/hann_half 0.794 0.387 0.62 0.55 0.56 0.32 7.8 1.063",
    "1 1000 corrected/mlem_model 0.775 0.509 0.77 0.67 0.65 0.09 >=12.1 -",
};

// The rows of HeadLesson that pass keep, with the figure named changed to value (a bound
// when bound is not 0) in the row of method at dose (method null: nothing changed).
static void LoadTable(bool (*keep)(int lesson, long dose), long dose, const char *method, int column, double value,
                      int bound) {
    ClearLessonTable();
    for (const char *line : HeadLesson) {
        int lesson;
        long rowDose;
        char name[MethodKeyBytes], texts[FigureColumns][16];
        ASSERT_EQ(sscanf(line, "%d %ld %31s %15s %15s %15s %15s %15s %15s %15s %15s", &lesson, &rowDose, name, texts[0],
                         texts[1], texts[2], texts[3], texts[4], texts[5], texts[6], texts[7]),
                  11);
        if (!keep(lesson, rowDose)) continue;
        double figures[FigureColumns];
        int bounds[FigureColumns];
        for (int c = 0; c < FigureColumns; c++) {
            bounds[c] = texts[c][1] != '=' ? 0 : texts[c][0] == '>' ? 1 : -1;
            figures[c] = strcmp(texts[c], "-") == 0 ? NAN : atof(texts[c] + (bounds[c] ? 2 : 0));
        }
        if (method && rowDose == dose && strcmp(name, method) == 0) figures[column] = value, bounds[column] = bound;
        ASSERT_TRUE(AddLessonRow(lesson, rowDose, name, figures, bounds));
    }
}

static bool Everything(int, long) { return true; }
static bool NoLowestDose(int lesson, long dose) { return lesson == LessonAttenuation || dose != 100; }
static bool DoseLessonOnly(int lesson, long) { return lesson == LessonDose; }

struct TableRun {
    const char *name;
    bool (*keep)(int, long);
    long dose;
    const char *method;
    int column;
    double value;
    int bound;
    const char *fails, *leftOut;   // blank-separated labels; every other statement holds
};

static bool Listed(const char *list, const char *label) {
    std::string padded = std::string(" ") + list + " ";
    return padded.find(std::string(" ") + label + " ") != std::string::npos;
}

TEST(LessonStatements, EachHoldsFailsOrIsLeftOutAsTheTableSays) {
    const TableRun runs[] = {
        {"the head lesson as measured", Everything, 0, nullptr, 0, 0, 0, "", ""},
        // The half-cut Hann sharper than the full Hann at 10000 breaks D9 alone.
        {"one figure moved", Everything, 10000, "hann_half", 4, 0.80, 0, "D9", ""},
        // A figure that cannot be had proves nothing.
        {"a figure missing", Everything, 1000, "mlem", 0, NAN, 0, "D1 M1", ""},
        // "at least 0.741" proves neither that it is below 1.009 nor that 1.063 is above it.
        {"a bound on the wrong side", Everything, 1000, "attenuated/hann_half", 7, 0.741, 1, "A1 A4", ""},
        {"no dose of 100", NoLowestDose, 0, nullptr, 0, 0, 0, "", "D1 D3 D4 D5 D8 M3 M4"},
        {"no attenuation lesson", DoseLessonOnly, 0, nullptr, 0, 0, 0, "", "A1 A2 A3 A4 A5 A6 A7 A8 A9 A10"},
    };
    for (const TableRun &run : runs) {
        SCOPED_TRACE(run.name);
        LoadTable(run.keep, run.dose, run.method, run.column, run.value, run.bound);
        for (int s = 0; s < StatementCount; s++) {
            char reason[ReasonTextBytes];
            int result = CheckStatement(s, reason);
            int expected = Listed(run.fails, StatementLabels[s])     ? StatementFails
                           : Listed(run.leftOut, StatementLabels[s]) ? StatementLeftOut
                                                                     : StatementHolds;
            EXPECT_EQ(result, expected) << StatementLabels[s] << ": " << reason;
            EXPECT_EQ(result == StatementHolds, reason[0] == '\0') << StatementLabels[s] << " says why only when it must";
        }
    }
}

// The page shows the figures each statement compared, bounds with their marks, so that a
// reader sees why it holds or fails.
TEST(LessonStatements, TellTheFiguresTheyCompared) {
    const struct {
        const char *label;
        const char *shown;
    } cases[] = {
        {"A1", "uniformity, attenuated/hann_half <=0.741 < none/hann_half 1.009"},
        {"A4", "uniformity, corrected/hann_half 1.063 > attenuated/hann_half <=0.741"},
        {"D3", "100: correlation, ramp 0.267 < 1.5 x simple 0.215"},
        {"D5", "correlation, ramp at 100 0.267 < ramp at 1000 0.55"},
        {"D10", "10000: cr_cold_r8, mlem 0.25 < 0.5"},
        {"M4", "100: noise_percent, mlem 14.3 > ramp 12.6"},
    };
    LoadTable(Everything, 0, nullptr, 0, 0, 0);
    for (const auto &c : cases) {
        int s = 0;
        while (s < StatementCount && strcmp(StatementLabels[s], c.label) != 0) s++;
        ASSERT_LT(s, StatementCount) << c.label;
        char reason[ReasonTextBytes], compared[2048];
        EXPECT_EQ(CheckStatement(s, reason, compared, sizeof compared), StatementHolds) << c.label << ": " << reason;
        EXPECT_NE(strstr(compared, c.shown), nullptr) << c.label << " shows " << compared;
    }
}

}  // namespace lesson_statements_test
