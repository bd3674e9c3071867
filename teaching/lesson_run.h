// What one lesson run made, for its page and its tables: the slice, the doses, the
// methods and their titles, and the name of each row's pictures. The figures are the
// rows of the lesson table (teaching/lesson_statements.h).
#pragma once
#include <stdint.h>
#include "teaching/lesson_statements.h"

const int LessonDosesMax = 8;
const int LessonMethodsMax = 8;   // the dose lesson's, MLEM included
const int TitleBytes = 96;
const int LessonLanguages = 2;    // 0 English, 1 Japanese
const int SourceTextBytes = 512;

extern long LessonRow;                   // the row typed at "select slice ="
extern long LessonIterations;            // MLEM's
extern char LessonSource[LessonLanguages][SourceTextBytes];   // what the volumes show, shown escaped
extern int LessonDoseCount;
extern long LessonDoses[LessonDosesMax]; // largest expected counts, in the order made
extern uint64_t LessonSeeds[LessonDosesMax]; // each dose's volume's seed
extern int LessonMethodCount;
extern char LessonMethodKeys[LessonMethodsMax][MethodKeyBytes];              // "simple", "hann_half", "mlem"
extern char LessonMethodTitles[LessonMethodsMax][LessonLanguages][TitleBytes];

// The attenuation lesson: one dose, three cases, two filters and MLEM.
const long AttenuationDose = 1000;
const int AttenuationCases = 3;
extern const char *const AttenuationCaseKeys[AttenuationCases];   // "none", "attenuated", "corrected"
extern const char *const AttenuationCaseTitles[AttenuationCases][LessonLanguages];
const int AttenuationMethods = 3;
extern const char *const AttenuationMethodKeys[AttenuationMethods];  // "ramp", "hann_half", "mlem"
// In the corrected case MLEM corrects in its model, from the uncorrected counts.
const char *AttenuationRowMethod(int c, int m);   // "corrected/mlem_model"

// The corrections lesson, at the attenuation lesson's dose: each effect alone and all together,
// rebuilt as measured and as corrected by the ramp and the half-cut Hann, and by MLEM without
// and with the effect in its model; then corrections that go wrong, by the corrected filters.
const int CorrectionCases = 7;
const int CorrectionCasesRight = 4;   // the first four; the rest correct wrongly
struct CorrectionCase {
    const char *key;                  // "scatter", "scatter_under" ...
    const char *title[LessonLanguages];
    const char *effects;              // sinogram's options that make the volume, blank-separated
    const char *corrected;            // its --corrected LIST
    const char *wrong;                // the options that make the correction wrong, or ""
    const char *model;                // mlem's --model LIST, with --attenuation when "all"
};
extern const CorrectionCase CorrectionCaseTable[CorrectionCases];
const int CorrectionMethods = 6;
extern const char *const CorrectionMethodKeys[CorrectionMethods];   // "ramp" ... "mlem_effects"
// Where row n of the corrections lesson sits in its grid: the case's row, the method's column.
void CorrectionGridCell(int n, int *row, int *column);

// The trade-off lesson: its methods as tradeoff.csv names them, each a curve of iterations.
const int TradeoffRealisations = 5;
const int TradeoffIterations = 40;
const int TradeoffCurves = 4;
extern const char *const TradeoffCurveKeys[TradeoffCurves];   // "mlem", "osem_4", "osem_8", "mlem_smoothed"
extern const char *const TradeoffCurveTitles[TradeoffCurves][LessonLanguages];
// The pictures of each step that the lesson shows from mlem --steps, at iterations 1, 5 and
// the last.
const int StepPicturesShown = 4;
extern const char *const StepPictureNames[StepPicturesShown];   // "image", "ratio", "backprojected", "update"
extern const char *const StepPictureTitles[StepPicturesShown][LessonLanguages];

// The title of a method of today's lesson ("mlem_model" too), or null.
const char *KnownMethodTitle(const char *key, int language);
// A method's title, or the key itself when the run has no such method.
const char *LessonMethodTitle(const char *key, int language);
// The name, without extension, of the pictures of row n of the lesson table:
// "dose-100-ramp", "attenuation-corrected-mlem_model".
void LessonPictureName(int n, char *name, int bytes);
// Row n's case of the attenuation lesson ("attenuated, corrected"), and its method's title.
const char *LessonRowCaseTitle(int n, int language);
const char *LessonRowMethodTitle(int n, int language);

// A lesson's table as text: a heading row, then a row per row of that lesson, each the dose
// (or the case), the method and the figures as the documents show them ("-", ">=0.741").
// Returns its rows; cells[row * LessonTableColumns + column] last until the next call.
// The trade-off's table has fewer columns: LessonColumnsOf tells each lesson's.
const int LessonTableColumns = FigureColumns + 2;
int LessonColumnsOf(int lesson);
int LessonTableCells(int lesson, int language, const char *const **cells);
