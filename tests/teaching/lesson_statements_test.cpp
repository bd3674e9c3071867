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

// "lesson dose method figures..." with "-" for a figure that cannot be had. The trade-off's
// rows (lesson 2) hold the bias as "nrmse" and the ensemble noise as "noise_percent".
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
    "3 1000 scatter/ramp 0.4907 1.5113 0.2410 0.2250 0.2634 0.2098 11.01 1.1283",
    "3 1000 scatter/hann_half 0.7815 0.6169 0.6010 0.5524 0.4924 0.3805 3.41 1.0947",
    "3 1000 scatter/ramp_corrected 0.4906 1.4777 0.2460 0.2335 0.2771 0.2149 11.67 1.1067",
    "3 1000 scatter/hann_half_corrected 0.8747 0.3192 0.7422 0.7010 0.6321 0.3313 4.79 1.0173",
    "3 1000 scatter/mlem 0.7326 0.7175 0.5453 0.4760 0.4258 0.3410 4.53 1.1018",
    "3 1000 scatter/mlem_effects 0.7778 0.5232 0.6556 0.5625 0.4931 0.2853 4.67 1.0257",
    "3 1000 randoms/ramp 0.5314 1.2923 0.2650 0.2477 0.2663 0.2680 10.85 1.0979",
    "3 1000 randoms/hann_half 0.8852 0.2904 0.7283 0.6765 0.6224 0.3238 3.23 1.0078",
    "3 1000 randoms/ramp_corrected 0.5304 1.2784 0.2662 0.2493 0.2678 0.2688 10.90 1.1018",
    "3 1000 randoms/hann_half_corrected 0.8830 0.2851 0.7468 0.6945 0.6403 0.3133 3.33 1.0177",
    "3 1000 randoms/mlem 0.8207 0.3641 0.6969 0.6268 0.5574 0.2422 4.88 1.0176",
    "3 1000 randoms/mlem_effects 0.7792 0.3993 0.7192 0.6434 0.5704 0.2218 4.94 1.0344",
    "3 1000 normalisation/ramp 0.3294 0.6901 0.1381 0.2040 0.1734 0.1126 8.35 >=1.1880",
    "3 1000 normalisation/hann_half 0.7357 0.4233 0.6636 0.6128 0.5879 0.3161 4.07 >=1.0612",
    "3 1000 normalisation/ramp_corrected 0.5433 1.1760 0.2953 0.2567 0.2739 0.2715 11.03 1.1228",
    "3 1000 normalisation/hann_half_corrected 0.8841 0.2934 0.7434 0.7126 0.6351 0.3279 4.09 1.0221",
    "3 1000 normalisation/mlem 0.7218 0.6788 0.7803 0.6612 0.5684 0.0606 >=5.05 -",
    "3 1000 normalisation/mlem_effects 0.8747 0.3034 0.7451 0.6788 0.5968 0.2184 5.24 1.0214",
    "3 1000 all/ramp 0.2811 1.0858 0.0790 0.1009 0.0581 0.0849 11.78 0.8692",
    "3 1000 all/hann_half 0.3194 1.0259 0.4195 0.2951 0.3603 0.1245 - <=0.6552",
    "3 1000 all/ramp_corrected 0.2542 1.4135 0.1336 0.1261 0.1113 0.1040 13.14 >=1.2912",
    "3 1000 all/hann_half_corrected 0.7305 0.5649 0.5590 0.4360 0.4306 0.3811 7.69 1.0922",
    "3 1000 all/mlem 0.2974 0.9353 0.2257 0.0777 0.1027 0.0047 - -",
    "3 1000 all/mlem_effects 0.7695 0.4485 0.6370 0.4521 0.4077 0.2402 10.69 >=1.0143",
    "3 1000 scatter_under/ramp_corrected 0.4916 1.4924 0.2434 0.2295 0.2706 0.2124 11.34 1.1176",
    "3 1000 scatter_under/hann_half_corrected 0.8336 0.4559 0.6681 0.6210 0.5563 0.3592 3.96 1.0593",
    "3 1000 scatter_over/ramp_corrected 0.4877 1.4635 0.2489 0.2377 0.2838 0.2177 12.01 1.0955",
    "3 1000 scatter_over/hann_half_corrected 0.8921 0.2815 0.8223 0.7942 0.7216 0.2984 5.82 0.9675",
    "3 1000 moved_map/ramp_corrected 0.2380 1.5099 0.1025 0.1169 0.1269 0.1178 12.52 >=1.3426",
    "3 1000 moved_map/hann_half_corrected 0.7353 0.5436 0.5340 0.5257 0.4875 0.3599 7.94 >=1.1095",
    "2 1000 mlem/5 - 0.25481 0.3268 0.2462 0.1965 0.2445 1.300 -",
    "2 1000 mlem/10 - 0.18632 0.5295 0.4349 0.3645 0.3964 2.517 -",
    "2 1000 mlem/20 - 0.11730 0.7608 0.6889 0.6225 0.5646 4.757 -",
    "2 1000 mlem/40 - 0.08633 0.9245 0.8938 0.8645 0.7172 8.606 -",
    "2 1000 osem_4/5 - 0.11726 0.7612 0.6889 0.6235 0.5648 4.804 -",
    "2 1000 osem_4/10 - 0.08646 0.9248 0.8934 0.8652 0.7174 8.678 -",
    "2 1000 osem_8/5 - 0.08647 0.9268 0.8959 0.8694 0.7186 8.787 -",
    "2 1000 osem_8/20 - 0.13138 1.0108 1.0041 1.0140 0.9026 22.508 -",
    "2 1000 osem_8/40 - 0.17080 1.0132 1.0080 1.0228 0.9437 30.383 -",
    "2 1000 mlem_smoothed/5 - 0.27054 0.2970 0.2110 0.1527 0.2194 0.454 -",
    "2 1000 mlem_smoothed/10 - 0.22532 0.4729 0.3657 0.2762 0.3566 0.808 -",
    "2 1000 mlem_smoothed/20 - 0.18393 0.6658 0.5663 0.4583 0.5069 1.356 -",
    "2 1000 mlem_smoothed/40 - 0.15956 0.7913 0.7157 0.6152 0.6399 2.066 -",
    "2 1000 fbp/hann - 0.16402 0.5818 0.5728 0.5684 0.5406 6.676 -",
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
        ASSERT_EQ(sscanf(line, "%d %ld %47s %15s %15s %15s %15s %15s %15s %15s %15s", &lesson, &rowDose, name, texts[0],
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
static bool NoLowestDose(int lesson, long dose) { return lesson != LessonDose || dose != 100; }
static bool DoseLessonOnly(int lesson, long) { return lesson == LessonDose; }
// A picture of one's own has no spheres for the trade-off to follow.
static bool NoTradeoff(int lesson, long) { return lesson != LessonTradeoff; }

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
        {"the dose lesson alone", DoseLessonOnly, 0, nullptr, 0, 0, 0, "",
         "A1 A2 A3 A4 A5 A6 A7 A8 A9 A10 T1 T2 T3 T4 T5 T6 C1 C2 C3 C4 C5 C6 C7 C8 C9 C10 C11 C12"},
        {"no trade-off", NoTradeoff, 0, nullptr, 0, 0, 0, "", "T1 T2 T3 T4 T5 T6"},
        // OSEM slower than 1/S of the passes; smoothing that added noise; a contrast that stalls.
        {"OSEM lagging", Everything, 1000, "osem_4/5", 2, 0.70, 0, "T2", ""},
        {"smoothing that adds noise", Everything, 1000, "mlem_smoothed/40", 6, 9.0, 0, "T3", ""},
        {"MLEM's contrast stalling", Everything, 1000, "mlem/40", 2, 0.75, 0, "T1 T2", ""},
        // Over-subtracted scatter that left the middle flat; a map whose move cost nothing.
        {"over-correction unseen", Everything, 1000, "scatter_over/hann_half_corrected", 7, 1.01, 0, "C11", ""},
        {"a moved map as good", Everything, 1000, "moved_map/hann_half_corrected", 2, 0.60, 0, "C12", ""},
        // A bound proves only on its own side: ">=0.3" may be above twice anything.
        {"a bound in the corrections", Everything, 1000, "all/hann_half", 0, 0.3, 1, "C8", ""},
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
        {"T2", "cr_hot_r9, osem_4/5 0.7612 > 0.97 x mlem/20 0.7608"},
        {"C11", "uniformity, scatter_over/hann_half_corrected 0.9675 < 1"},
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
