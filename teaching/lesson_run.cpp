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

// The methods of today's lesson; a filter of another kind or cutoff is titled by the command.
static const char *const KnownTitles[][1 + LessonLanguages] = {
    {"simple", "simple backprojection", "単純逆投影"},
    {"ramp", "ramp", "ランプ"},
    {"shepp_logan", "Shepp-Logan", "Shepp-Logan"},
    {"hann", "Hann", "Hann"},
    {"hann_half", "Hann, cutoff 0.5", "Hann（カットオフ 0.5）"},
    {"mlem_model", "MLEM, attenuation in its model", "MLEM（減弱をモデルに含む）"},
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
    snprintf(name, bytes, "attenuation-%s", LessonRowMethod[n]);
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
    for (int c = 0; c < AttenuationCases; c++) {
        size_t length = strlen(AttenuationCaseKeys[c]);
        if (strncmp(LessonRowMethod[n], AttenuationCaseKeys[c], length) == 0 && LessonRowMethod[n][length] == '/')
            return AttenuationCaseTitles[c][language];
    }
    return LessonRowMethod[n];
}
const char *LessonRowMethodTitle(int n, int language) {
    const char *slash = strchr(LessonRowMethod[n], '/');
    return LessonMethodTitle(slash ? slash + 1 : LessonRowMethod[n], language);
}

int LessonTableCells(int lesson, int language, const char *const **cells) {
    static const char *const Dose[LessonLanguages] = {"Max count", "最大カウント"};
    static const char *const Data[LessonLanguages] = {"Data", "データ"};
    static const char *const Method[LessonLanguages] = {"Method", "方法"};
    int columns = LessonTableColumns, rows = 0;
    snprintf(Cells[0], CellBytes, "%s", lesson == LessonDose ? Dose[language] : Data[language]);
    snprintf(Cells[1], CellBytes, "%s", Method[language]);
    for (int c = 0; c < FigureColumns; c++) snprintf(Cells[2 + c], CellBytes, "%s", ColumnTitles[c][language]);
    rows++;
    for (int n = 0; n < LessonRowCount && (rows + 1) * columns <= CellsMax; n++) {
        if (LessonRowLesson[n] != lesson) continue;
        if (lesson == LessonDose) snprintf(Cells[rows * columns], CellBytes, "%ld", LessonRowDose[n]);
        else snprintf(Cells[rows * columns], CellBytes, "%s", LessonRowCaseTitle(n, language));
        snprintf(Cells[rows * columns + 1], CellBytes, "%s", LessonRowMethodTitle(n, language));
        for (int c = 0; c < FigureColumns; c++) FigureText(n, c, Cells[rows * columns + 2 + c], CellBytes);
        rows++;
    }
    for (int i = 0; i < rows * columns; i++) CellOf[i] = Cells[i];
    *cells = CellOf;
    return rows;
}
