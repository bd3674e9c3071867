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
const int LessonTableColumns = FigureColumns + 2;
int LessonTableCells(int lesson, int language, const char *const **cells);
