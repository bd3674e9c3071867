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
const int CellBytes = 128;
const int CellsMax = (LessonRowsMax + 1) * (FigureColumns + 2);
static char Cells[CellsMax][CellBytes];   // a table being written
static const char *CellOf[CellsMax];
static int Language;                       // the page's: 0 English, 1 Japanese

// The page's words in each language.
struct LessonWords {
    const char *lang, *title, *intro, *doseHeading, *doseIntro, *attenuationHeading, *attenuationIntro, *gridCaption,
        *tableCaption, *plotHeading, *doseAxis, *correlation, *noise, *statementsHeading, *holds, *fails, *leftOut,
        *leftOutWhy, *dose, *method, *data, *label, *statement, *result, *compared;
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
     "left out: it speaks of doses or methods this run does not make (%s)", "Max count", "Method", "Data", "",
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
     "対象外: この実行で作らなかった線量または方法についての文です（%s）", "最大カウント", "方法", "データ", "",
     "文", "この実行", "比べた数値"},
};

static const char *const ColumnTitles[FigureColumns][LessonLanguages] = {
    {"Correlation", "相関"}, {"RMS error", "RMS 誤差"}, {"Contrast recovery: hot r9", "コントラスト回復率: ホット r9"},
    {"hot r6", "ホット r6"}, {"hot r4", "ホット r4"}, {"cold r8", "コールド r8"}, {"Noise (%)", "ノイズ（%）"},
    {"Uniformity", "均一性"},
};
static const int ColumnDigits[FigureColumns] = {3, 3, 2, 2, 2, 2, 1, 3};

static void FigureText(int n, int c, char *text, int bytes) {
    double value = LessonFigures[n][c];
    int bound = LessonBounds[n][c];
    if (isnan(value)) snprintf(text, bytes, "-");
    else snprintf(text, bytes, "%s%.*f", bound > 0 ? ">=" : bound < 0 ? "<=" : "", ColumnDigits[c], value);
}

// The attenuation row's case and method titles.
static const char *CaseTitle(int n, int language) {
    for (int c = 0; c < AttenuationCases; c++) {
        size_t length = strlen(AttenuationCaseKeys[c]);
        if (strncmp(LessonRowMethod[n], AttenuationCaseKeys[c], length) == 0 && LessonRowMethod[n][length] == '/')
            return AttenuationCaseTitles[c][language];
    }
    return LessonRowMethod[n];
}
static const char *RowMethodTitle(int n, int language) {
    const char *slash = strchr(LessonRowMethod[n], '/');
    return LessonMethodTitle(slash ? slash + 1 : LessonRowMethod[n], language);
}

// The lesson's table into Cells: a heading row, then a row per row of the lesson. Returns its rows.
static int FillTable(int lesson, int language) {
    const LessonWords &words = Words[language];
    int columns = FigureColumns + 2, rows = 0;
    snprintf(Cells[0], CellBytes, "%s", lesson == LessonDose ? words.dose : words.data);
    snprintf(Cells[1], CellBytes, "%s", words.method);
    for (int c = 0; c < FigureColumns; c++) snprintf(Cells[2 + c], CellBytes, "%s", ColumnTitles[c][language]);
    rows++;
    for (int n = 0; n < LessonRowCount && (rows + 1) * columns <= CellsMax; n++) {
        if (LessonRowLesson[n] != lesson) continue;
        if (lesson == LessonDose) snprintf(Cells[rows * columns], CellBytes, "%ld", LessonRowDose[n]);
        else snprintf(Cells[rows * columns], CellBytes, "%s", CaseTitle(n, language));
        snprintf(Cells[rows * columns + 1], CellBytes, "%s", RowMethodTitle(n, language));
        for (int c = 0; c < FigureColumns; c++) FigureText(n, c, Cells[rows * columns + 2 + c], CellBytes);
        rows++;
    }
    for (int i = 0; i < rows * columns; i++) CellOf[i] = Cells[i];
    return rows;
}

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
            snprintf(caption, sizeof caption, "%s %ld: %s", Words[Language].dose, LessonRowDose[n], RowMethodTitle(n, Language));
        else
            snprintf(caption, sizeof caption, "%s: %s", CaseTitle(n, Language), RowMethodTitle(n, Language));
        // Six across in a window 1200 wide; the file keeps one pixel per sample.
        int shown = lesson == LessonDose && LessonMethodCount > 4 ? 176 : ImageSide;
        PageFigure(name, shown, shown, caption);
    }
    if (lastDose >= 0) PageRowEnd();
}

static void WriteTable(int lesson) {
    int rows = FillTable(lesson, Language);
    PageParagraph(Words[Language].tableCaption);
    PageTable(CellOf, rows, FigureColumns + 2);
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

// ---- Markdown, for documents ----

static int WriteMarkdownTable(const char *path, int lesson) {
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    int rows = FillTable(lesson, 0), columns = FigureColumns + 2;
    for (int r = 0; r < rows; r++) {
        for (int c = 0; c < columns; c++) fprintf(file, "| %s ", CellOf[r * columns + c]);
        fprintf(file, "|\n");
        if (r == 0) fprintf(file, "|%s|---|%s\n", lesson == LessonDose ? "---:" : "---",
                            "---:|---:|---:|---:|---:|---:|---:|---:|");
    }
    int written = !ferror(file);
    if (!FinishReplacing(path, file, written)) return written ? 0 : Refuse("cannot write %s (is there room?)", Printable(path));
    return 1;
}

// The grid as a table of pictures: a row per dose (a column per method), or for the
// attenuation lesson a row per method (a column per case).
static int WriteMarkdownGrid(const char *path, int lesson) {
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    int across = lesson == LessonDose ? LessonMethodCount : AttenuationCases;
    int down = lesson == LessonDose ? LessonDoseCount : AttenuationMethods;
    fprintf(file, "|");
    for (int c = 0; c < across; c++)
        fprintf(file, " %s |", lesson == LessonDose ? LessonMethodTitles[c][0] : AttenuationCaseTitles[c][0]);
    fprintf(file, "\n|");
    for (int c = 0; c < across; c++) fprintf(file, "---|");
    fprintf(file, "\n");
    int first = -1;
    for (int n = 0; n < LessonRowCount && first < 0; n++)
        if (LessonRowLesson[n] == lesson) first = n;
    for (int d = 0; d < down && first >= 0; d++) {
        fprintf(file, "|");
        for (int c = 0; c < across; c++) {
            // Rows are stored dose by dose (method by method within), or case by case.
            int n = first + (lesson == LessonDose ? d * across + c : c * down + d);
            char name[PathBytes];
            LessonPictureName(n, name, sizeof name);
            if (lesson == LessonDose) fprintf(file, " ![max count %ld: %s](%s.png) |", LessonRowDose[n], RowMethodTitle(n, 0), name);
            else fprintf(file, " ![%s: %s](%s.png) |", CaseTitle(n, 0), RowMethodTitle(n, 0), name);
        }
        fprintf(file, "\n");
    }
    int written = !ferror(file);
    if (!FinishReplacing(path, file, written)) return written ? 0 : Refuse("cannot write %s (is there room?)", Printable(path));
    return 1;
}

// statements.csv: each statement's label, result and why, for the tour's check.
static int WriteStatementList(const char *path) {
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    fprintf(file, "label,result,reason\n");
    static const char *const Results[3] = {"holds", "fails", "left out"};
    for (int s = 0; s < StatementCount; s++) {
        char reason[ReasonTextBytes];
        int result = CheckStatement(s, reason);
        for (char *c = reason; *c; c++)
            if (*c == ',') *c = ';';
        fprintf(file, "%s,%s,%s\n", StatementLabels[s], Results[result], reason);
    }
    int written = !ferror(file);
    if (!FinishReplacing(path, file, written)) return written ? 0 : Refuse("cannot write %s (is there room?)", Printable(path));
    return 1;
}

int WriteLessonTables(const char *folder, int) {
    char path[PathBytes];
    static const char *const Names[2] = {"lesson", "attenuation"};
    for (int lesson = 0; lesson < 2; lesson++) {
        snprintf(path, sizeof path, "%s/%s-table.md", folder, Names[lesson]);
        if (!WriteMarkdownTable(path, lesson)) return 0;
        snprintf(path, sizeof path, "%s/%s-grid.md", folder, Names[lesson]);
        if (!WriteMarkdownGrid(path, lesson)) return 0;
    }
    snprintf(path, sizeof path, "%s/statements.csv", folder);
    return WriteStatementList(path);
}
