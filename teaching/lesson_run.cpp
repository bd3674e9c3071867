#include "teaching/lesson_run.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

long LessonRow;
long LessonIterations;
char LessonSource[LessonLanguages][SourceTextBytes];
int LessonDoseCount;
long LessonDoses[LessonDosesMax];
uint64_t LessonSeeds[LessonDosesMax];
int LessonMethodCount;
char LessonMethodKeys[LessonMethodsMax][MethodKeyBytes];
char LessonMethodTitles[LessonMethodsMax][LessonLanguages][TitleBytes];

const int CellBytes = 128;
const int CellsMax = (LessonRowsMax + 1) * LessonTableColumns;
static char Cells[CellsMax][CellBytes];   // the table last asked for, as text
static const char *CellOf[CellsMax];

const char *const AttenuationCaseKeys[AttenuationCases] = {"none", "attenuated", "corrected"};
const char *const AttenuationCaseTitles[AttenuationCases][LessonLanguages] = {
    {"no attenuation", "減弱なし"},
    {"attenuated, uncorrected", "減弱あり、補正なし"},
    {"attenuated, corrected", "減弱あり、補正あり"},
};
const char *const AttenuationMethodKeys[AttenuationMethods] = {"ramp", "hann_half", "mlem"};

const char *AttenuationRowMethod(int c, int m) {
    static char method[MethodKeyBytes];
    int modelled = c == 2 && strcmp(AttenuationMethodKeys[m], "mlem") == 0;
    snprintf(method, sizeof method, "%s/%s", AttenuationCaseKeys[c], modelled ? "mlem_model" : AttenuationMethodKeys[m]);
    return method;
}

// Scatter and randoms at fractions a 3D scanner sees, crystals at a spread it calibrates.
const CorrectionCase CorrectionCaseTable[CorrectionCases] = {
    {"scatter", {"scatter 0.3", "散乱 0.3"}, "--scatter 0.3", "scatter", "", "scatter"},
    {"randoms", {"randoms 0.2", "偶発 0.2"}, "--randoms 0.2", "randoms", "", "randoms"},
    {"normalisation", {"detectors, spread 0.05", "検出器感度のばらつき 0.05"}, "--normalisation 0.05", "normalisation",
     "", "normalisation"},
    {"all", {"all, with attenuation", "すべて（減弱を含む）"},
     "--scatter 0.3 --randoms 0.2 --normalisation 0.05 --attenuation", "attenuation,scatter,randoms,normalisation", "",
     "scatter,randoms,normalisation"},
    {"scatter_under", {"scatter 0.3, half subtracted", "散乱 0.3、半分だけ差し引く"}, "--scatter 0.3", "scatter",
     "--scatter-estimate 0.5", ""},
    {"scatter_over", {"scatter 0.3, 1.5 times subtracted", "散乱 0.3、1.5 倍差し引く"}, "--scatter 0.3", "scatter",
     "--scatter-estimate 1.5", ""},
    {"moved_map", {"all, map moved 4 pixels", "すべて、減弱マップが 4 ピクセルずれる"},
     "--scatter 0.3 --randoms 0.2 --normalisation 0.05 --attenuation", "attenuation,scatter,randoms,normalisation",
     "--map-right 4", ""},
};
const char *const CorrectionMethodKeys[CorrectionMethods] = {"ramp",  "hann_half", "ramp_corrected", "hann_half_corrected",
                                                             "mlem", "mlem_effects"};

void CorrectionGridCell(int n, int *row, int *column) {
    *row = *column = 0;
    for (int c = 0; c < CorrectionCases; c++) {
        size_t length = strlen(CorrectionCaseTable[c].key);
        if (strncmp(LessonRowMethod[n], CorrectionCaseTable[c].key, length) != 0 || LessonRowMethod[n][length] != '/')
            continue;
        *row = c;
        for (int m = 0; m < CorrectionMethods; m++)
            if (strcmp(LessonRowMethod[n] + length + 1, CorrectionMethodKeys[m]) == 0) *column = m;
    }
}

const char *const TradeoffCurveKeys[TradeoffCurves] = {"mlem", "osem_4", "osem_8", "mlem_smoothed"};
const char *const TradeoffCurveTitles[TradeoffCurves][LessonLanguages] = {
    {"MLEM", "MLEM"},
    {"OSEM, 4 subsets", "OSEM（4 サブセット）"},
    {"OSEM, 8 subsets", "OSEM（8 サブセット）"},
    {"MLEM smoothed, 4 pixels", "MLEM 後平滑化（4 ピクセル）"},
};

const char *const StepPictureNames[StepPicturesShown] = {"image", "ratio", "backprojected", "update"};
const char *const StepPictureTitles[StepPicturesShown][LessonLanguages] = {
    {"the image before the update", "更新前の画像"},
    {"measured over expected counts", "測定カウント / 期待カウント"},
    {"the ratio backprojected", "比の逆投影"},
    {"the update (over the sensitivity)", "更新係数（感度で割ったもの）"},
};

// The methods of today's lesson; a filter of another kind or cutoff is titled by the command.
static const char *const KnownTitles[][1 + LessonLanguages] = {
    {"simple", "simple backprojection", "単純逆投影"},
    {"ramp", "ramp", "ランプ"},
    {"shepp_logan", "Shepp-Logan", "Shepp-Logan"},
    {"hann", "Hann", "Hann"},
    {"hann_half", "Hann, cutoff 0.5", "Hann（カットオフ 0.5）"},
    {"mlem_model", "MLEM, attenuation in its model", "MLEM（減弱をモデルに含む）"},
    {"ramp_corrected", "ramp, corrected", "ランプ、補正あり"},
    {"hann_half_corrected", "Hann, cutoff 0.5, corrected", "Hann（カットオフ 0.5）、補正あり"},
    {"mlem_effects", "MLEM, the effects in its model", "MLEM（効果をモデルに含む）"},
    {"fbp", "filtered backprojection", "フィルタ補正逆投影"},
};

const char *KnownMethodTitle(const char *key, int language) {
    for (const auto &known : KnownTitles)
        if (strcmp(known[0], key) == 0) return known[1 + language];
    return nullptr;
}

const char *LessonMethodTitle(const char *key, int language) {
    for (int m = 0; m < LessonMethodCount; m++)
        if (strcmp(LessonMethodKeys[m], key) == 0) return LessonMethodTitles[m][language];
    const char *known = KnownMethodTitle(key, language);
    return known ? known : key;
}

void LessonPictureName(int n, char *name, int bytes) {
    if (LessonRowLesson[n] == LessonDose) {
        snprintf(name, bytes, "dose-%ld-%s", LessonRowDose[n], LessonRowMethod[n]);
        return;
    }
    snprintf(name, bytes, "%s-%s", LessonRowLesson[n] == LessonCorrections ? "corrections" : "attenuation", LessonRowMethod[n]);
    for (char *c = name; *c; c++)
        if (*c == '/') *c = '-';
}

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

const char *LessonRowCaseTitle(int n, int language) {
    for (int c = 0; c < TradeoffCurves && LessonRowLesson[n] == LessonTradeoff; c++) {
        size_t length = strlen(TradeoffCurveKeys[c]);
        if (strncmp(LessonRowMethod[n], TradeoffCurveKeys[c], length) == 0 && LessonRowMethod[n][length] == '/')
            return TradeoffCurveTitles[c][language];
    }
    if (LessonRowLesson[n] == LessonTradeoff) return KnownMethodTitle("fbp", language);
    if (LessonRowLesson[n] == LessonCorrections) {
        int row, column;
        CorrectionGridCell(n, &row, &column);
        return CorrectionCaseTable[row].title[language];
    }
    for (int c = 0; c < AttenuationCases; c++) {
        size_t length = strlen(AttenuationCaseKeys[c]);
        if (strncmp(LessonRowMethod[n], AttenuationCaseKeys[c], length) == 0 && LessonRowMethod[n][length] == '/')
            return AttenuationCaseTitles[c][language];
    }
    return LessonRowMethod[n];
}
const char *LessonRowMethodTitle(int n, int language) {
    const char *slash = strchr(LessonRowMethod[n], '/');
    // The trade-off's: "fbp/ramp" is the filter, "mlem/5" its iterations.
    if (LessonRowLesson[n] == LessonTradeoff && slash) {
        static char title[TitleBytes];
        static const char *const Iterations[2][LessonLanguages] = {{"%s iterations", "%s 回反復"}, {"%s iteration", "%s 回反復"}};
        if (strncmp(LessonRowMethod[n], "fbp/", 4) == 0) snprintf(title, sizeof title, "%s", slash + 1);
        else snprintf(title, sizeof title, Iterations[strcmp(slash + 1, "1") == 0][language], slash + 1);
        return title;
    }
    return LessonMethodTitle(slash ? slash + 1 : LessonRowMethod[n], language);
}

// The trade-off's table shows its curves at these iterations, and every filter.
static int ShownInTable(int n) {
    static const char *const Shown[] = {"1", "5", "10", "20", "40"};
    const char *slash = strchr(LessonRowMethod[n], '/');
    if (LessonRowLesson[n] != LessonTradeoff || !slash || strncmp(LessonRowMethod[n], "fbp/", 4) == 0) return 1;
    for (const char *iterations : Shown)
        if (strcmp(slash + 1, iterations) == 0) return 1;
    return 0;
}

// The columns of each lesson's table: the trade-off measures no single picture.
static const int TradeoffColumnOf[] = {2, 3, 4, 5, 6, 1};
static const char *const TradeoffColumnTitles[][LessonLanguages] = {
    {"Contrast recovery: hot r9", "コントラスト回復率: ホット r9"}, {"hot r6", "ホット r6"}, {"hot r4", "ホット r4"},
    {"cold r8", "コールド r8"}, {"Ensemble noise (%)", "アンサンブル ノイズ（%）"}, {"Bias", "バイアス"},
};

int LessonColumnsOf(int lesson) {
    return lesson == LessonTradeoff ? 2 + (int)(sizeof TradeoffColumnOf / sizeof TradeoffColumnOf[0]) : LessonTableColumns;
}

int LessonTableCells(int lesson, int language, const char *const **cells) {
    static const char *const Dose[LessonLanguages] = {"Max count", "最大カウント"};
    static const char *const Data[LessonLanguages] = {"Data", "データ"};
    static const char *const Method[LessonLanguages] = {"Method", "方法"};
    static const char *const Steps[LessonLanguages] = {"Iterations or filter", "反復回数またはフィルタ"};
    int columns = LessonColumnsOf(lesson), figures = columns - 2, rows = 0;
    int columnOf[FigureColumns];
    for (int c = 0; c < figures; c++) columnOf[c] = lesson == LessonTradeoff ? TradeoffColumnOf[c] : c;
    snprintf(Cells[0], CellBytes, "%s", lesson == LessonDose ? Dose[language] : lesson == LessonTradeoff ? Method[language] : Data[language]);
    snprintf(Cells[1], CellBytes, "%s", lesson == LessonTradeoff ? Steps[language] : Method[language]);
    for (int c = 0; c < figures; c++)
        snprintf(Cells[2 + c], CellBytes, "%s", lesson == LessonTradeoff ? TradeoffColumnTitles[c][language] : ColumnTitles[c][language]);
    rows++;
    for (int n = 0; n < LessonRowCount && (rows + 1) * columns <= CellsMax; n++) {
        if (LessonRowLesson[n] != lesson || !ShownInTable(n)) continue;
        if (lesson == LessonDose) snprintf(Cells[rows * columns], CellBytes, "%ld", LessonRowDose[n]);
        else snprintf(Cells[rows * columns], CellBytes, "%s", LessonRowCaseTitle(n, language));
        snprintf(Cells[rows * columns + 1], CellBytes, "%s", LessonRowMethodTitle(n, language));
        for (int c = 0; c < figures; c++) FigureText(n, columnOf[c], Cells[rows * columns + 2 + c], CellBytes);
        rows++;
    }
    for (int i = 0; i < rows * columns; i++) CellOf[i] = Cells[i];
    *cells = CellOf;
    return rows;
}
