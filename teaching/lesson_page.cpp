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
        *leftOutWhy, *dose, *label, *statement, *result, *compared, *correctionsHeading, *correctionsIntro,
        *tradeoffHeading, *tradeoffIntro, *stepsCaption, *stepsLink, *tradeoffLink, *iteration, *curveCaption,
        *noiseAxis, *contrastAxis, *tradeoffLeftOut, *tradeoffTableCaption;
};
static const LessonWords Words[LessonLanguages] = {
    {"en", "The lesson: dose, filters, MLEM, attenuation and the other corrections",
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
     "Statement", "This run", "Figures compared",
     "Scatter, randoms and unequal detectors, and their corrections",
     "At a largest expected count of %ld, what else a scanner counts, each effect alone and all together (with "
     "attenuation): the volume rebuilt as measured and as corrected (the known expected terms subtracted, then divided "
     "by each line's factors) by the ramp and the half-cut Hann, and by MLEM ignoring the effects and with them in its "
     "model, from the measured counts. Then corrections that go wrong: half and 1.5 times the scatter subtracted, and "
     "the attenuation map moved 4 pixels to the right (a patient who moved between the CT and the PET). A row per case.",
     "MLEM step by step, and contrast against noise",
     "MLEM on the volume without attenuation at a largest expected count of %ld: at each iteration the expected counts "
     "of the image, the ratio of measured to expected counts, its backprojection and the update that multiplies the "
     "image. Then %d noisy realisations of the same volume rebuilt by MLEM, OSEM (4 and 8 subsets), MLEM smoothed "
     "afterwards and filtered backprojection: the contrast recovery of the mean image against the ensemble noise, the "
     "standard deviation across realisations (see quorvel_data tradeoff --help).",
     "A row per iteration shown: the image before the update, measured over expected counts (1 is mid-grey), that "
     "ratio backprojected, and the update (over the sensitivity).",
     "Every step, with its numbers and grey scales: mlem-steps/index.html",
     "The trade-off's own page, with the noise and bias maps: tradeoff/index.html", "iteration",
     "Contrast recovery of the largest hot sphere against the ensemble noise: iterations marked along each curve, the "
     "filters of filtered backprojection as points.",
     "ensemble noise, %", "contrast recovery, hot r9",
     "The trade-off follows the phantom's hot spheres: a picture of your own has none, so this section is left out.",
     "The figures of the mean image over the realisations (see quorvel_data tradeoff --help): the bias is the RMS "
     "error of the mean image, scaled to the truth's mean, over the truth's RMS; the ensemble noise is in % of the "
     "mean."},
    {"ja", "授業: 線量、フィルタ、MLEM、減弱とそのほかの補正",
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
     "文", "この実行", "比べた数値",
     "散乱、偶発同時計数、検出器感度のばらつきと、その補正",
     "最大期待カウント %ld で、スキャナが数えるほかのもの。それぞれの効果を単独で、またすべて（減弱を含む）を同時に: "
     "測定したままのボリュームと補正したもの（既知の期待項を引き、線ごとの係数で割る）をランプと半分打ち切り Hann で、"
     "また MLEM で効果を無視した場合とモデルに入れた場合（測定カウントから）で再構成しました。続いて誤った補正: "
     "散乱を半分と 1.5 倍差し引いたもの、減弱マップを右へ 4 ピクセルずらしたもの（CT と PET の間に患者が動いた）。1 行が 1 つの場合です。",
     "MLEM を一歩ずつ、そしてコントラストとノイズ",
     "減弱なし、最大期待カウント %ld のボリュームでの MLEM: 各反復で画像の期待カウント、測定と期待の比、その逆投影、"
     "画像に掛ける更新係数。続いて同じボリュームの %d 個のノイズ実現を MLEM、OSEM（4 と 8 サブセット）、後平滑化 MLEM、"
     "フィルタ補正逆投影で再構成し、平均画像のコントラスト回復率を、実現間の標準偏差であるアンサンブル ノイズに対して示します"
     "（quorvel_data tradeoff --help を参照）。",
     "1 行が 1 つの反復: 更新前の画像、測定 / 期待カウント（1 が中間の灰色）、その比の逆投影、更新係数（感度で割ったもの）。",
     "すべてのステップと数値、灰色の目盛: mlem-steps/index.html",
     "トレードオフ自身のページ（ノイズとバイアスのマップ）: tradeoff/index.html", "反復",
     "最大のホット球のコントラスト回復率とアンサンブル ノイズ: 各曲線に反復回数、フィルタ補正逆投影のフィルタは点で示します。",
     "アンサンブル ノイズ（%）", "コントラスト回復率（ホット r9）",
     "トレードオフはファントムのホット球を追います: 自分の画像には球がないため、この節は対象外です。",
     "実現の平均画像の数値（quorvel_data tradeoff --help を参照）: バイアスは真の平均に合わせた平均画像の RMS 誤差を真の RMS で"
     "割ったもの、アンサンブル ノイズは平均に対する % です。"},
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
        if (lesson == LessonCorrections) {
            int row, column;
            CorrectionGridCell(n, &row, &column);
            if (row != lastDose) {
                if (lastDose >= 0) PageRowEnd();
                PageRowBegin();
                lastDose = row;
            }
        }
        char name[PathBytes], caption[2 * TitleBytes + 64];
        LessonPictureName(n, name, sizeof name);
        snprintf(name + strlen(name), sizeof name - strlen(name), ".png");
        if (lesson == LessonDose)
            snprintf(caption, sizeof caption, "%s %ld: %s", Words[Language].dose, LessonRowDose[n], LessonRowMethodTitle(n, Language));
        else
            snprintf(caption, sizeof caption, "%s: %s", LessonRowCaseTitle(n, Language), LessonRowMethodTitle(n, Language));
        // Six across in a window 1200 wide; the file keeps one pixel per sample.
        int shown = (lesson == LessonDose && LessonMethodCount > 4) || lesson == LessonCorrections ? 176 : ImageSide;
        PageFigure(name, shown, shown, caption);
    }
    if (lastDose >= 0) PageRowEnd();
}

static void WriteTable(int lesson) {
    const char *const *cells;
    int rows = LessonTableCells(lesson, Language, &cells);
    if (rows < 2) return;
    PageParagraph(lesson == LessonTradeoff ? Words[Language].tradeoffTableCaption : Words[Language].tableCaption);
    PageTable(cells, rows, LessonColumnsOf(lesson));
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
    PagePlot(lines[0], LessonMethodCount, words.doseAxis, words.correlation, "", 1);
    PagePlot(lines[1], LessonMethodCount, words.doseAxis, words.noise, "", 1);
}

static int TradeoffRows() {
    int rows = 0;
    for (int n = 0; n < LessonRowCount; n++) rows += LessonRowLesson[n] == LessonTradeoff;
    return rows;
}

// A row of pictures of mlem --steps per iteration shown: 1, 5 and the last.
static void WriteSteps(int) {
    if (TradeoffRows() == 0) return;
    const LessonWords &words = Words[Language];
    PageParagraph(words.stepsCaption);
    int shown[3] = {1, 5, (int)LessonIterations}, count = 0;
    for (int iteration : shown)
        if (iteration <= LessonIterations && (count == 0 || iteration > shown[count - 1])) shown[count++] = iteration;
    for (int i = 0; i < count; i++) {
        PageRowBegin();
        for (int p = 0; p < StepPicturesShown; p++) {
            char name[64], caption[TitleBytes + 64];
            snprintf(name, sizeof name, "mlem-steps/iteration_%03d_%s.bmp", shown[i], StepPictureNames[p]);
            snprintf(caption, sizeof caption, "%s %d: %s", words.iteration, shown[i], StepPictureTitles[p][Language]);
            // The ratio is a sinogram, a row per angle.
            PageFigure(name, ImageSide, p == 1 ? Angles : ImageSide, caption);
        }
        PageRowEnd();
    }
    PageLink("mlem-steps/index.html", words.stepsLink);
}

// The largest hot sphere's contrast against the ensemble noise, a curve per method, the
// filters as points.
static void WriteCurve(int) {
    if (TradeoffRows() == 0) return;
    static double x[TradeoffCurves + 1][LessonRowsMax], y[TradeoffCurves + 1][LessonRowsMax];
    static const char *labels[TradeoffCurves + 1][LessonRowsMax];
    PlotLine lines[TradeoffCurves + 1];
    const int noise = FigureColumns - 2, contrast = 2;
    for (int c = 0; c <= TradeoffCurves; c++) {
        const char *key = c < TradeoffCurves ? TradeoffCurveKeys[c] : "fbp";
        size_t length = strlen(key);
        int points = 0;
        for (int n = 0; n < LessonRowCount; n++) {
            if (LessonRowLesson[n] != LessonTradeoff || strncmp(LessonRowMethod[n], key, length) != 0 ||
                LessonRowMethod[n][length] != '/')
                continue;
            const char *step = LessonRowMethod[n] + length + 1;
            // delta is simple backprojection, far from the others: the plot keeps to the filters.
            if (c == TradeoffCurves && strcmp(step, "delta") == 0) continue;
            static const char *const Marked[] = {"1", "5", "10", "20", "40"};
            labels[c][points] = nullptr;
            for (const char *marked : Marked)
                if (c == TradeoffCurves || strcmp(step, marked) == 0) labels[c][points] = step;
            x[c][points] = LessonFigures[n][noise], y[c][points] = LessonFigures[n][contrast];
            points++;
        }
        lines[c] = {c < TradeoffCurves ? TradeoffCurveTitles[c][Language] : KnownMethodTitle("fbp", Language), x[c], y[c],
                    points, c == TradeoffCurves, labels[c]};
    }
    const LessonWords &words = Words[Language];
    PagePlot(lines, TradeoffCurves + 1, words.noiseAxis, words.contrastAxis, words.curveCaption);
    PageLink("tradeoff/index.html", words.tradeoffLink);
}

const int StatementRowsMax = 32;      // a lesson's statements, and the heading
const int StatementCellBytes = 2048;  // the figures a statement compares fill the most

static int StatementLesson(int s) {
    switch (StatementLabels[s][0]) {
    case 'A': return LessonAttenuation;
    case 'T': return LessonTradeoff;
    case 'C': return LessonCorrections;
    default: return LessonDose;
    }
}

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

static void WriteCorrectionsHeading(int) {
    char text[2048];
    PageHeading(Words[Language].correctionsHeading);
    snprintf(text, sizeof text, Words[Language].correctionsIntro, AttenuationDose);
    PageParagraph(text);
}
static void WriteTradeoffHeading(int) {
    char text[2048];
    PageHeading(Words[Language].tradeoffHeading);
    snprintf(text, sizeof text, Words[Language].tradeoffIntro, AttenuationDose, TradeoffRealisations);
    PageParagraph(text);
    if (TradeoffRows() == 0) PageParagraph(Words[Language].tradeoffLeftOut);
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
    {LessonTradeoff, WriteTradeoffHeading},
    {LessonTradeoff, WriteSteps},
    {LessonTradeoff, WriteCurve},
    {LessonTradeoff, WriteTable},
    {LessonTradeoff, WriteStatements},
    {LessonAttenuation, WriteAttenuationHeading},
    {LessonAttenuation, WriteGrid},
    {LessonAttenuation, WriteTable},
    {LessonAttenuation, WriteStatements},
    {LessonCorrections, WriteCorrectionsHeading},
    {LessonCorrections, WriteGrid},
    {LessonCorrections, WriteTable},
    {LessonCorrections, WriteStatements},
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
