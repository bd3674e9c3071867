#include "teaching/lesson_page.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "recon/geometry.h"
#include "teaching/file_replacement.h"
#include "teaching/html_page.h"
#include "teaching/lesson_run.h"
#include "teaching/tool_error.h"

const int PathBytes = 4096 + 128;
static int Language;                       // the page's: 0 English, 1 Japanese

// The page's words in each language.
struct LessonWords {
    const char *lang, *title, *intro, *doseHeading, *doseIntro, *attenuationHeading, *attenuationIntro, *gridCaption,
        *tableCaption, *plotHeading, *doseAxis, *correlation, *noise, *statementsHeading, *holds, *fails, *leftOut,
        *leftOutWhy, *dose, *label, *statement, *result, *compared;
};
static const LessonWords Words[LessonLanguages] = {
    {"en", "The lesson: dose, filters, MLEM and attenuation",
     "Row %ld of %s, rebuilt by Quorvel's own reconstruction (simple and filtered backprojection) and by %ld "
     "iterations of MLEM, each final image measured against the truth as quorvel_data compare measures it.",
     "Dose and method",
     "One volume per largest expected count (Poisson noise, seeded by the count unless a seed was given); columns: "
     "the method.",
     "Attenuation, and why scanners reconstruct iteratively",
     "At a largest expected count of %ld: as if nothing attenuated, attenuated (what a scanner measures), and "
     "attenuated then corrected (each count divided by its line's factor); MLEM corrects in its model instead, from "
     "the attenuated counts.",
     "Final images, one pixel per sample, as Quorvel shows them (30 % of the peak subtracted).",
     "The figures (see quorvel_data compare --help): a bound (>=, <=) where black hides part of a figure, - where "
     "it cannot be had.",
     "Figures against the dose", "largest expected count (log scale)", "correlation", "noise, %",
     "What a student should see", "holds", "fails", "left out",
     "left out: it speaks of doses or methods this run does not make (%s)", "Max count", "",
     "Statement", "This run", "Figures compared"},
    {"ja", "授業: 線量、フィルタ、MLEM、減弱",
     "行 %ld（%s）を、Quorvel 自身の再構成（単純逆投影とフィルタ補正逆投影）と MLEM %ld 回反復で再構成し、"
     "各最終画像を quorvel_data compare と同じ方法で真の画像と比べました。",
     "線量と方法",
     "最大期待カウントごとに 1 つのボリューム（ポアソン ノイズ、シードを与えなければカウントをシードに）。列は方法です。",
     "減弱と、スキャナが逐次近似で再構成する理由",
     "最大期待カウント %ld で、減弱がないとした場合、減弱あり（スキャナが測るもの）、減弱ありを補正したもの"
     "（各カウントをその線の係数で割る）。MLEM は減弱ありのカウントからモデルの中で補正します。",
     "最終画像（1 サンプル 1 ピクセル、Quorvel の表示どおりピークの 30 % を引いたもの）。",
     "数値（quorvel_data compare --help を参照）: 黒が一部を隠すところは範囲（>=, <=）、求められないところは - です。",
     "線量に対する数値", "最大期待カウント（対数目盛）", "相関", "ノイズ（%）",
     "学生が見るべきこと", "成り立つ", "成り立たない", "対象外",
     "対象外: この実行で作らなかった線量または方法についての文です（%s）", "最大カウント", "",
     "文", "この実行", "比べた数値"},
};

// ---- The page's sections: each a row of the table below ----

static void WriteGrid(int lesson) {
    PageParagraph(Words[Language].gridCaption);
    int lastDose = -1;
    for (int n = 0; n < LessonRowCount; n++) {
        if (LessonRowLesson[n] != lesson) continue;
        // A row of pictures per dose, or per method for the attenuation lesson's cases.
        if (lesson == LessonDose && LessonRowDose[n] != lastDose) {
            if (lastDose >= 0) PageRowEnd();
            PageRowBegin();
            lastDose = (int)LessonRowDose[n];
        }
        if (lesson == LessonAttenuation && lastDose < 0) PageRowBegin(), lastDose = 0;
        char name[PathBytes], caption[2 * TitleBytes + 64];
        LessonPictureName(n, name, sizeof name);
        snprintf(name + strlen(name), sizeof name - strlen(name), ".png");
        if (lesson == LessonDose)
            snprintf(caption, sizeof caption, "%s %ld: %s", Words[Language].dose, LessonRowDose[n], LessonRowMethodTitle(n, Language));
        else
            snprintf(caption, sizeof caption, "%s: %s", LessonRowCaseTitle(n, Language), LessonRowMethodTitle(n, Language));
        // Six across in a window 1200 wide; the file keeps one pixel per sample.
        int shown = lesson == LessonDose && LessonMethodCount > 4 ? 176 : ImageSide;
        PageFigure(name, shown, shown, caption);
    }
    if (lastDose >= 0) PageRowEnd();
}

static void WriteTable(int lesson) {
    const char *const *cells;
    int rows = LessonTableCells(lesson, Language, &cells);
    PageParagraph(Words[Language].tableCaption);
    PageTable(cells, rows, LessonTableColumns);
}

// Correlation and noise against the dose, a line per method.
static void WritePlots(int lesson) {
    if (lesson != LessonDose || LessonDoseCount < 2) return;
    static double x[LessonMethodsMax][LessonDosesMax], y[2][LessonMethodsMax][LessonDosesMax];
    PlotLine lines[2][LessonMethodsMax];
    const int figureOf[2] = {0, FigureColumns - 2};
    for (int m = 0; m < LessonMethodCount; m++) {
        int points = 0;
        for (int n = 0; n < LessonRowCount; n++) {
            if (LessonRowLesson[n] != LessonDose || strcmp(LessonRowMethod[n], LessonMethodKeys[m]) != 0) continue;
            x[m][points] = log10((double)LessonRowDose[n]);
            for (int f = 0; f < 2; f++) y[f][m][points] = LessonFigures[n][figureOf[f]];
            points++;
        }
        for (int f = 0; f < 2; f++) lines[f][m] = {LessonMethodTitles[m][Language], x[m], y[f][m], points, 0, nullptr};
    }
    const LessonWords &words = Words[Language];
    PageHeading(words.plotHeading);
    PagePlot(lines[0], LessonMethodCount, words.doseAxis, words.correlation, "");
    PagePlot(lines[1], LessonMethodCount, words.doseAxis, words.noise, "");
}

const int StatementRowsMax = 32;      // a lesson's statements, and the heading
const int StatementCellBytes = 2048;  // the figures a statement compares fill the most

static int StatementLesson(int s) { return StatementLabels[s][0] == 'A' ? LessonAttenuation : LessonDose; }

static void WriteStatements(int lesson) {
    const LessonWords &words = Words[Language];
    PageHeading(words.statementsHeading);
    static char statementCells[4 * StatementRowsMax][StatementCellBytes];
    static const char *cells[4 * StatementRowsMax];
    int rows = 0;
    snprintf(statementCells[0], StatementCellBytes, "%s", words.label);
    snprintf(statementCells[1], StatementCellBytes, "%s", words.statement);
    snprintf(statementCells[2], StatementCellBytes, "%s", words.result);
    snprintf(statementCells[3], StatementCellBytes, "%s", words.compared);
    rows++;
    for (int s = 0; s < StatementCount && rows < StatementRowsMax; s++) {
        if (StatementLesson(s) != lesson) continue;
        char reason[ReasonTextBytes];
        static char compared[StatementCellBytes - ReasonTextBytes - 8];
        int result = CheckStatement(s, reason, compared, sizeof compared);
        char *row[4] = {statementCells[4 * rows], statementCells[4 * rows + 1], statementCells[4 * rows + 2],
                        statementCells[4 * rows + 3]};
        snprintf(row[0], StatementCellBytes, "%s", StatementLabels[s]);
        snprintf(row[1], StatementCellBytes, "%s", StatementWords[s][Language]);
        snprintf(row[2], StatementCellBytes, "%s", result == StatementHolds ? words.holds : result == StatementFails ? words.fails : words.leftOut);
        if (result == StatementLeftOut) snprintf(row[3], StatementCellBytes, words.leftOutWhy, reason);
        else if (result == StatementFails) snprintf(row[3], StatementCellBytes, "%s. %s", reason, compared);
        else snprintf(row[3], StatementCellBytes, "%s", compared);
        rows++;
    }
    for (int i = 0; i < 4 * rows; i++) cells[i] = statementCells[i];
    PageTable(cells, rows, 4);
}

static void WriteDoseHeading(int) {
    PageHeading(Words[Language].doseHeading);
    PageParagraph(Words[Language].doseIntro);
}
static void WriteAttenuationHeading(int) {
    char text[1024];
    PageHeading(Words[Language].attenuationHeading);
    snprintf(text, sizeof text, Words[Language].attenuationIntro, AttenuationDose);
    PageParagraph(text);
}

struct PageSection {
    int lesson;
    void (*write)(int lesson);
};
static const PageSection Sections[] = {
    {LessonDose, WriteDoseHeading},
    {LessonDose, WriteGrid},
    {LessonDose, WriteTable},
    {LessonDose, WritePlots},
    {LessonDose, WriteStatements},
    {LessonAttenuation, WriteAttenuationHeading},
    {LessonAttenuation, WriteGrid},
    {LessonAttenuation, WriteTable},
    {LessonAttenuation, WriteStatements},
};

int WriteLessonPage(const char *folder, int language) {
    char path[PathBytes];
    snprintf(path, sizeof path, "%s/index.html", folder);
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    Language = language;
    const LessonWords &words = Words[language];
    PageBegin(file, words.lang, words.title);
    char text[2048];
    snprintf(text, sizeof text, words.intro, LessonRow, LessonSource[language], LessonIterations);
    PageParagraph(text);
    for (const PageSection &section : Sections) section.write(section.lesson);
    int written = PageEnd();
    if (!FinishReplacing(path, file, written)) return written ? 0 : Refuse("cannot write %s (is there room?)", Printable(path));
    return 1;
}
