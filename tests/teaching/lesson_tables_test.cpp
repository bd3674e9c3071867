// The lesson's tables as text, the names and grid places of its pictures, and the page
// writer's pieces the lessons rely on (figures lined up apart from words, a dose axis
// ticked at its counts), on small tables of rows.
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "support/test_folder.h"
#include "teaching/html_page.h"
#include "teaching/lesson_run.h"

namespace lesson_tables_test {

struct Row {
    int lesson;
    long dose;
    const char *method;
    double correlation, nrmse, r9, noise;
};
// A row of each kind of every lesson; NAN where the lesson has no such figure.
static const Row Rows[] = {
    {LessonDose, 100, "ramp", 0.267, 1.491, 0.13, 12.6},
    {LessonAttenuation, 1000, "corrected/mlem_model", 0.775, 0.509, 0.77, 12.1},
    {LessonTradeoff, 1000, "mlem/1", NAN, 0.264, 0.08, 0.28},
    {LessonTradeoff, 1000, "mlem/3", NAN, 0.27, 0.2, 0.8},   // not an iteration the table shows
    {LessonTradeoff, 1000, "osem_8/40", NAN, 0.171, 1.013, 30.38},
    {LessonTradeoff, 1000, "fbp/hann", NAN, 0.164, 0.58, 6.68},
    {LessonCorrections, 1000, "scatter/ramp", 0.491, 1.511, 0.24, 11.0},
    {LessonCorrections, 1000, "moved_map/hann_half_corrected", 0.735, 0.544, 0.53, 7.94},
    {LessonCorrections, 1000, "all/mlem_effects", 0.770, 0.449, 0.64, 10.7},
};

static void LoadRows() {
    ClearLessonTable();
    for (const Row &row : Rows) {
        double figures[FigureColumns];
        for (double &figure : figures) figure = NAN;
        figures[0] = row.correlation, figures[1] = row.nrmse, figures[2] = row.r9, figures[FigureColumns - 2] = row.noise;
        ASSERT_TRUE(AddLessonRow(row.lesson, row.dose, row.method, figures));
    }
}

static std::string TableRow(int lesson, int language, int row) {
    const char *const *cells;
    int rows = LessonTableCells(lesson, language, &cells), columns = LessonColumnsOf(lesson);
    if (row >= rows) return "(no row " + std::to_string(row) + " of " + std::to_string(rows) + ")";
    std::string text;
    for (int c = 0; c < columns; c++) text += std::string(c ? " | " : "") + cells[row * columns + c];
    return text;
}

// Each lesson's table: its heading, its rows as the documents show them, and the trade-off's
// own columns (its bias where the others have the RMS error), at the iterations it shows.
TEST(LessonTables, EachLessonsTableHasItsColumnsAndRows) {
    LoadRows();
    const struct {
        int lesson, language, row;
        const char *text;
    } cases[] = {
        {LessonDose, 0, 1, "100 | ramp | 0.267 | 1.491 | 0.13 | - | - | - | 12.6 | -"},
        {LessonAttenuation, 0, 1, "attenuated, corrected | MLEM, attenuation in its model | 0.775 | 0.509 | 0.77 | - | - | - | 12.1 | -"},
        {LessonTradeoff, 0, 0, "Method | Iterations or filter | Contrast recovery: hot r9 | hot r6 | hot r4 | cold r8 | "
                               "Ensemble noise (%) | Bias"},
        {LessonTradeoff, 0, 1, "MLEM | 1 iteration | 0.08 | - | - | - | 0.3 | 0.264"},
        {LessonTradeoff, 0, 2, "OSEM, 8 subsets | 40 iterations | 1.01 | - | - | - | 30.4 | 0.171"},
        {LessonTradeoff, 1, 2, "OSEM（8 サブセット） | 40 回反復 | 1.01 | - | - | - | 30.4 | 0.171"},
        {LessonTradeoff, 0, 3, "filtered backprojection | hann | 0.58 | - | - | - | 6.7 | 0.164"},
        {LessonTradeoff, 0, 4, "(no row 4 of 4)"},
        {LessonCorrections, 0, 1, "scatter 0.3 | ramp | 0.491 | 1.511 | 0.24 | - | - | - | 11.0 | -"},
        {LessonCorrections, 0, 2, "all, map moved 4 pixels | Hann, cutoff 0.5, corrected | 0.735 | 0.544 | 0.53 | - | - | - | 7.9 | -"},
        {LessonCorrections, 1, 3, "すべて（減弱を含む） | MLEM（効果をモデルに含む） | 0.770 | 0.449 | 0.64 | - | - | - | 10.7 | -"},
    };
    for (const auto &c : cases) EXPECT_EQ(TableRow(c.lesson, c.language, c.row), c.text) << "lesson " << c.lesson;
}

// A row's pictures are named and placed where the grids and the page look for them: the
// corrections' by case down and method across, the wrong cases under the corrected filters.
TEST(LessonTables, PicturesHaveTheirNamesAndGridPlaces) {
    LoadRows();
    const struct {
        int n;
        const char *name;
        int row, column;   // in the corrections' grid; -1 for other lessons
    } cases[] = {
        {0, "dose-100-ramp", -1, -1},
        {1, "attenuation-corrected-mlem_model", -1, -1},
        {6, "corrections-scatter-ramp", 0, 0},
        {7, "corrections-moved_map-hann_half_corrected", 6, 3},
        {8, "corrections-all-mlem_effects", 3, 5},
    };
    for (const auto &c : cases) {
        char name[128];
        LessonPictureName(c.n, name, sizeof name);
        EXPECT_STREQ(name, c.name);
        if (c.row < 0) continue;
        int row, column;
        CorrectionGridCell(c.n, &row, &column);
        EXPECT_EQ(row, c.row) << c.name;
        EXPECT_EQ(column, c.column) << c.name;
    }
    // Every case of the corrections makes a volume sinogram accepts: its corrections name
    // only effects it holds, and the effects of its model too.
    for (const CorrectionCase &k : CorrectionCaseTable) {
        std::stringstream names(k.corrected + std::string(",") + k.model);
        for (std::string name; std::getline(names, name, ',');) {
            if (!name.empty()) {
                EXPECT_NE(strstr(k.effects, ("--" + name).c_str()), nullptr) << k.key << ": " << name;
            }
        }
    }
}

static std::string PageOf(void (*write)()) {
    std::string path = TestFolderPath("lesson_tables") + "/page.html";
    std::filesystem::create_directories(TestFolderPath("lesson_tables"));
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) return "";
    PageBegin(file, "en", "page");
    write();
    PageEnd();
    fclose(file);
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Figures line up on the right, words on the left, sentences wide enough to read; a dose
// axis reads in counts.
TEST(LessonTables, ThePageAlignsWordsAndTicksCounts) {
    std::string table = PageOf([] {
        const char *const cells[] = {"Data", "Figure", "all, map moved 4 pixels", ">=1.343", "-", "0.75", "12 %", "1e3",
                                     "Scatter is a veil: subtracting it raises the contrast.", "T1"};
        PageTable(cells, 5, 2);
    });
    const struct {
        const char *shown;
    } cells[] = {{"<td class=\"words\">all, map moved 4 pixels</td>"}, {"<td>&gt;=1.343</td>"}, {"<td>-</td>"},
                 {"<td>0.75</td>"}, {"<td class=\"words\">12 %</td>"}, {"<td>1e3</td>"}, {"<th>Data</th>"},
                 {"<td class=\"words long\">Scatter is a veil"}, {"<td class=\"words\">T1</td>"}};
    for (const auto &c : cells) EXPECT_NE(table.find(c.shown), std::string::npos) << c.shown << " in " << table;

    std::string plot = PageOf([] {
        static const double x[] = {2.0, 3.0, 4.0}, y[] = {0.2, 0.5, 0.8};
        PlotLine line = {"ramp", x, y, 3, 0, nullptr};
        PagePlot(&line, 1, "count", "correlation", "", 1);
    });
    for (const char *tick : {">100</text>", ">1000</text>", ">10000</text>"})
        EXPECT_NE(plot.find(tick), std::string::npos) << tick;
    EXPECT_EQ(plot.find(">2.5</text>"), std::string::npos) << "no tick between the powers of ten";
}

}  // namespace lesson_tables_test
