#include "teaching/lesson_tables.h"

#include <stdio.h>

#include "teaching/file_replacement.h"
#include "teaching/lesson_run.h"
#include "teaching/tool_error.h"

const int PathBytes = 4096 + 128;
const char *const LessonFileNames[LessonCount] = {"lesson", "attenuation", "tradeoff", "corrections"};

static int WriteMarkdownTable(const char *path, int lesson) {
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    const char *const *cells;
    int rows = LessonTableCells(lesson, 0, &cells), columns = LessonColumnsOf(lesson);
    for (int r = 0; r < rows; r++) {
        for (int c = 0; c < columns; c++) fprintf(file, "| %s ", cells[r * columns + c]);
        fprintf(file, "|\n");
        if (r != 0) continue;
        fprintf(file, "|%s|---|", lesson == LessonDose ? "---:" : "---");
        for (int c = 2; c < columns; c++) fprintf(file, "---:|");
        fprintf(file, "\n");
    }
    int written = !ferror(file);
    if (!FinishReplacing(path, file, written)) return written ? 0 : Refuse("cannot write %s (is there room?)", Printable(path));
    return 1;
}

// The corrections' grid: a row per case, a column per method, empty where a wrong
// correction makes no such picture.
static void WriteCorrectionsGrid(FILE *file) {
    fprintf(file, "| |");
    for (int m = 0; m < CorrectionMethods; m++) fprintf(file, " %s |", LessonMethodTitle(CorrectionMethodKeys[m], 0));
    fprintf(file, "\n|---|");
    for (int m = 0; m < CorrectionMethods; m++) fprintf(file, "---|");
    fprintf(file, "\n");
    for (int c = 0; c < CorrectionCases; c++) {
        const char *cell[CorrectionMethods] = {};
        char names[CorrectionMethods][PathBytes];
        for (int n = 0; n < LessonRowCount; n++) {
            int row, column;
            if (LessonRowLesson[n] != LessonCorrections) continue;
            CorrectionGridCell(n, &row, &column);
            if (row != c) continue;
            LessonPictureName(n, names[column], PathBytes);
            cell[column] = names[column];
        }
        fprintf(file, "| %s |", CorrectionCaseTable[c].title[0]);
        for (int m = 0; m < CorrectionMethods; m++)
            if (cell[m]) fprintf(file, " ![%s: %s](%s.png) |", CorrectionCaseTable[c].title[0], LessonMethodTitle(CorrectionMethodKeys[m], 0), cell[m]);
            else fprintf(file, " |");
        fprintf(file, "\n");
    }
}

// The grid as a table of pictures: a row per dose (a column per method), or for the
// attenuation lesson a row per method (a column per case).
static int WriteMarkdownGrid(const char *path, int lesson) {
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    if (lesson == LessonCorrections) {
        WriteCorrectionsGrid(file);
        int written = !ferror(file);
        if (!FinishReplacing(path, file, written)) return written ? 0 : Refuse("cannot write %s (is there room?)", Printable(path));
        return 1;
    }
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
            if (lesson == LessonDose) fprintf(file, " ![max count %ld: %s](%s.png) |", LessonRowDose[n], LessonRowMethodTitle(n, 0), name);
            else fprintf(file, " ![%s: %s](%s.png) |", LessonRowCaseTitle(n, 0), LessonRowMethodTitle(n, 0), name);
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

int WriteLessonTables(const char *folder) {
    char path[PathBytes];
    for (int lesson = 0; lesson < LessonCount; lesson++) {
        snprintf(path, sizeof path, "%s/%s-table.md", folder, LessonFileNames[lesson]);
        if (!WriteMarkdownTable(path, lesson)) return 0;
        if (lesson == LessonTradeoff) continue;   // its pictures are the steps and curves
        snprintf(path, sizeof path, "%s/%s-grid.md", folder, LessonFileNames[lesson]);
        if (!WriteMarkdownGrid(path, lesson)) return 0;
    }
    snprintf(path, sizeof path, "%s/statements.csv", folder);
    return WriteStatementList(path);
}
