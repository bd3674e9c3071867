// What a student should see in the lessons' figures: each statement a label, its words and
// comparisons of the table's figures, defined once here for the page and the tour.
#pragma once

const int LessonDose = 0;          // the lesson of dose against method
const int LessonAttenuation = 1;   // the lesson of attenuation and its correction
const int LessonTradeoff = 2;      // MLEM step by step, and contrast against ensemble noise
const int LessonCorrections = 3;   // scatter, randoms and detectors, and their corrections
const int LessonCount = 4;

// The table a run measured: one row per lesson, dose and method, its figures by the
// columns compare --csv prints after the picture's name (NaN where compare shows "-").
// The trade-off's rows measure a mean image over noisy realisations instead: its bias
// (the RMS error of the scaled mean image) in "nrmse", its ensemble noise in "noise_percent".
const int LessonRowsMax = 256;
const int FigureColumns = 8;
const int MethodKeyBytes = 48;
extern const char *const FigureColumnNames[FigureColumns];   // "correlation" ... "uniformity"
extern int LessonRowCount;
extern int LessonRowLesson[LessonRowsMax];                    // LessonDose ... LessonCorrections
extern long LessonRowDose[LessonRowsMax];                     // largest expected count
extern char LessonRowMethod[LessonRowsMax][MethodKeyBytes];   // "ramp", "corrected/mlem_model", "osem_4/5"
extern double LessonFigures[LessonRowsMax][FigureColumns];
// Where black hides part of a figure: +1 the truth is at least it (">="), -1 at most ("<="), 0 exact.
extern int LessonBounds[LessonRowsMax][FigureColumns];

void ClearLessonTable();
// Adds a row, its bounds all 0 when bounds is null; 0 when the table is full.
int AddLessonRow(int lesson, long dose, const char *method, const double figures[FigureColumns],
                 const int bounds[FigureColumns] = nullptr);

const int StatementHolds = 0;
const int StatementFails = 1;
const int StatementLeftOut = 2;   // it speaks of a dose or method this run did not make
const int ReasonTextBytes = 256;

extern const int StatementCount;
extern const char *const StatementLabels[];   // "D1" ...
extern const char *const StatementWords[][2]; // [statement][0 English, 1 Japanese]

// Checks statement s against the table, its "every dose" comparisons at each dose of
// the dose lesson's rows. reason tells the first comparison that fails, or why it is left out;
// compared, when given, gets every comparison made with its figures, "; " between them.
int CheckStatement(int s, char reason[ReasonTextBytes], char *compared = nullptr, int comparedBytes = 0);
