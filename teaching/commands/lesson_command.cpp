// quorvel_data lesson: the dose lesson and the attenuation lesson as one page. The volumes
// are made, rebuilt and measured by the tool's own commands (sinogram, filter, fbp, mlem)
// and compare's figures, so each picture is what those commands write.
#include <fcntl.h>
#include <inttypes.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <filesystem>
#include <string>
#include <system_error>

#include "recon/geometry.h"
#include "teaching/commands/command_line.h"
#include "teaching/commands/compare_command.h"
#include "teaching/commands/data_tool.h"
#include "teaching/file_replacement.h"
#include "teaching/filter_taps.h"
#include "teaching/host_path.h"
#include "teaching/lesson_page.h"
#include "teaching/lesson_run.h"
#include "teaching/lesson_tables.h"
#include "teaching/phantoms.h"
#include "teaching/picture_file.h"
#include "teaching/png_picture.h"
#include "teaching/poisson_noise.h"
#include "teaching/slice_comparison.h"
#include "teaching/slice_uniformity.h"
#include "teaching/tool_error.h"

const char *const LessonHelp =
    "quorvel_data lesson OUTDIR (--phantom head|rods | --picture FILE) [options]\n"
    "\n"
    "Makes Quorvel's four lessons into one page that any browser opens from the folder:\n"
    "  the dose lesson        the truth at each largest expected count (volumes as sinogram\n"
    "                         makes them, Poisson noise seeded by the count), row N rebuilt\n"
    "                         by simple backprojection and each filter exactly as Quorvel\n"
    "                         rebuilds it (as fbp does), and by MLEM (as mlem does);\n"
    "  the attenuation lesson the truth at a largest expected count of 1000 without\n"
    "                         attenuation, attenuated, and attenuated then corrected, rebuilt\n"
    "                         by the ramp, the Hann cut at 0.5 and MLEM, which corrects the\n"
    "                         attenuated counts in its model (a picture attenuates as water\n"
    "                         wherever it is not black);\n"
    "  MLEM step by step and the trade-off (with a phantom): MLEM's steps at iterations\n"
    "                         1, 5 and the last on the volume of 1000 without attenuation\n"
    "                         (as mlem --steps shows them), and the contrast of the largest\n"
    "                         hot sphere against the ensemble noise over 5 realisations of\n"
    "                         it, by MLEM, OSEM with 4 and 8 subsets, MLEM smoothed by 4\n"
    "                         pixels and each sample filter, up to 40 iterations (as\n"
    "                         tradeoff measures them);\n"
    "  the corrections lesson scatter 0.3, randoms 0.2, detectors of spread 0.05 and all\n"
    "                         of them with attenuation, at 1000: rebuilt as measured and as\n"
    "                         corrected by the ramp and the Hann cut at 0.5, and by MLEM\n"
    "                         without and with the effects in its model; then half and 1.5\n"
    "                         times the scatter subtracted, and the attenuation map moved 4\n"
    "                         pixels, by the corrected filters.\n"
    "Every final image is measured as compare measures it. OUTDIR gets:\n"
    "  index.html      the grids of final images, the table of figures, plots of\n"
    "                  correlation and noise against the dose for each method, and each\n"
    "                  statement of what a student should see with the figures it compares\n"
    "                  and whether it holds, fails, or is left out for doses or methods this\n"
    "                  run does not make (a picture of your own may break one: the page says so)\n"
    "  figures.csv     one row per lesson, dose and method of a saved picture: lesson,\n"
    "                  dose, method, then the columns of compare --csv\n"
    "  statements.csv  label, holds|fails|left out, and why\n"
    "  NAME.bmp        each saved picture, as Quorvel saves it (compare reads it)\n"
    "  NAME.png        each final image alone, one pixel per sample\n"
    "  lesson-grid.png, attenuation-grid.png, corrections-grid.png  each lesson's final\n"
    "                  images side by side\n"
    "  lesson-table.md, attenuation-table.md, tradeoff-table.md, corrections-table.md,\n"
    "  lesson-grid.md, attenuation-grid.md, corrections-grid.md\n"
    "                  the tables and grids in Markdown, for documents\n"
    "  mlem-steps/     the page of MLEM's steps, as mlem --steps writes it\n"
    "  tradeoff/       the trade-off's table and page, as tradeoff writes them\n"
    "The page is written last: a run that fails leaves no index.html. OUTDIR may be new,\n"
    "empty, or one an earlier lesson wrote; a folder holding any other file is refused.\n"
    "\n"
    "Options:\n"
    "  --phantom head|rods  the truth: a built-in phantom, or\n"
    "  --picture FILE       a grey picture of your own, on every slice as sinogram places it\n"
    "  --row N              the slice, 0 to @LAST_SLICE@. Default 43.\n"
    "  --counts LIST        largest expected counts, whole numbers, e.g. 100,1000. Default\n"
    "                       100,1000,10000.\n"
    "  --filters LIST       simple (simple backprojection) and filter kinds of the filter\n"
    "                       command, each at full cutoff or KIND:CUTOFF, e.g. ramp,hann:0.5.\n"
    "                       Default simple,ramp,shepp-logan,hann,hann:0.5.\n"
    "  --iterations K       MLEM's, 1 to 1000. Default 20.\n"
    "  --seed S             one seed for every volume. Default: each dose's count.\n"
    "  --lang en|ja         the page's language. Default en.\n";

const int PathBytes = ArgumentBytesMax + 128;
const int ArgumentWordsMax = 32;                        // of one command that the lesson runs
static char Folder[ArgumentBytesMax];                        // OUTDIR, as given
static char WorkFolder[ArgumentBytesMax + 8];                     // its work/: volumes and filter files
static char TruthPicture[PathBytes];                    // --picture, or "" for a phantom
static int Phantom;                                     // 0 head, 1 rods, -1 a picture
static int Language;                                    // 0 English, 1 Japanese
static uint64_t Seed;                                   // --seed
static int SeedGiven;                                   // 1 with --seed
static char FilterKinds[LessonMethodsMax][32];          // per method: "simple", "mlem" or a kind name
static double FilterCutoffs[LessonMethodsMax];          // per method: the filter's cutoff, 1 for full
const int CsvLineBytes = 512;
static char CsvHeader[CsvLineBytes];                    // figures.csv's first line
static char CsvLines[LessonRowsMax][CsvLineBytes];      // [n] its line of row n of the lesson table
static unsigned char Tiles[LessonRowsMax][ImageSide][ImageSide];  // [n] row n's final image alone, top row first
const int GridGap = 6;                                  // black pixels between a grid's pictures
const int GridSideMax = LessonMethodsMax * (ImageSide + GridGap);
static_assert(CorrectionCases <= LessonMethodsMax && CorrectionMethods <= LessonMethodsMax, "the corrections' grid fits");
static unsigned char Grid[GridSideMax][GridSideMax];    // [y][x] a lesson's grid, being written

static const char *const LanguageNames[LessonLanguages] = {"en", "ja"};
static const char *const PhantomWords[2] = {"head", "rods"};
static const char *const LessonWords[LessonCount] = {"dose", "attenuation", "tradeoff", "corrections"};
static const char *const MarkerName = ".quorvel_lesson";   // says an earlier lesson wrote the folder

// ---- The command line ----

// Splits a comma-separated list into words of at most wordBytes; 0 with ToolError when
// a word is empty or too long, or there are more than max.
static int SplitList(const char *option, const char *text, char words[][32], int max, int *count) {
    *count = 0;
    const char *at = text;
    for (;;) {
        const char *end = strchr(at, ',');
        size_t length = end ? (size_t)(end - at) : strlen(at);
        if (length == 0 || length >= 32 || *count == max)
            return Refuse("--%s %s: give up to %d words separated by commas, none empty", option, Printable(text), max);
        memcpy(words[*count], at, length);
        words[(*count)++][length] = 0;
        if (!end) return 1;
        at = end + 1;
    }
}

static int ReadCounts() {
    static char words[LessonDosesMax][32];
    const char *text = OptionText("counts");
    if (!text) text = "100,1000,10000";
    if (!SplitList("counts", text, words, LessonDosesMax, &LessonDoseCount)) return 0;
    for (int d = 0; d < LessonDoseCount; d++) {
        long dose;
        if (!ReadWhole(words[d], &dose) || dose < 1 || dose > (long)PoissonMeanLimit)
            return Refuse("--counts %s: each count is a whole number from 1 to %.0f", Printable(text), PoissonMeanLimit);
        for (int e = 0; e < d; e++)
            if (LessonDoses[e] == dose) return Refuse("--counts %s: %ld is given twice", Printable(text), dose);
        LessonDoses[d] = dose;
    }
    return 1;
}

// A method's key as the statements name it: the kind, "-" as "_", and "_half" or "_C" for a cutoff.
static void MethodKey(const char *kind, double cutoff, char key[MethodKeyBytes]) {
    snprintf(key, MethodKeyBytes, "%s", kind);
    for (char *c = key; *c; c++)
        if (*c == '-') *c = '_';
    if (cutoff == 0.5) snprintf(key + strlen(key), MethodKeyBytes - strlen(key), "_half");
    else if (cutoff != 1.0) snprintf(key + strlen(key), MethodKeyBytes - strlen(key), "_%g", cutoff);
}

static void AddMethod(const char *kind, double cutoff, const char *english, const char *japanese) {
    int m = LessonMethodCount++;
    snprintf(FilterKinds[m], sizeof FilterKinds[m], "%s", kind);
    FilterCutoffs[m] = cutoff;
    MethodKey(kind, cutoff, LessonMethodKeys[m]);
    const char *known[LessonLanguages] = {KnownMethodTitle(LessonMethodKeys[m], 0), KnownMethodTitle(LessonMethodKeys[m], 1)};
    snprintf(LessonMethodTitles[m][0], TitleBytes, "%s", english ? english : known[0] ? known[0] : kind);
    snprintf(LessonMethodTitles[m][1], TitleBytes, "%s", japanese ? japanese : known[1] ? known[1] : kind);
}

static int ReadFilters() {
    static char words[LessonMethodsMax - 1][32];
    const char *text = OptionText("filters");
    if (!text) text = "simple,ramp,shepp-logan,hann,hann:0.5";
    int count;
    LessonMethodCount = 0;
    if (!SplitList("filters", text, words, LessonMethodsMax - 1, &count)) return 0;
    for (int w = 0; w < count; w++) {
        char *colon = strchr(words[w], ':');
        double cutoff = 1.0;
        if (colon) *colon = 0;
        int kind = strcmp(words[w], "simple") == 0 ? -1 : FindFilterKind(words[w]);
        if (kind < -1 || (kind == -1 && strcmp(words[w], "simple") != 0))
            return Refuse("--filters: unknown filter \"%s\": simple, or %s", Printable(words[w]), FilterNameList());
        if (colon && (kind < 0 || !FilterKindTable[kind].cutTap || !ReadDecimal(colon + 1, &cutoff) ||
                      !(cutoff >= 0.05 && cutoff <= 1.0)))
            return Refuse("--filters: %s:%s: a cutoff is a number from 0.05 to 1, for a filter that takes one",
                          Printable(words[w]), Printable(colon + 1));
        char key[MethodKeyBytes];
        MethodKey(words[w], cutoff, key);
        for (int m = 0; m < LessonMethodCount; m++)
            if (strcmp(LessonMethodKeys[m], key) == 0) return Refuse("--filters: %s is given twice", Printable(words[w]));
        char english[TitleBytes], japanese[TitleBytes];
        const char *title = kind >= 0 ? FilterKindTable[kind].name : "simple";
        snprintf(english, sizeof english, "%s, cutoff %g", title, cutoff);
        snprintf(japanese, sizeof japanese, "%s（カットオフ %g）", title, cutoff);
        int cut = cutoff != 1.0 && !KnownMethodTitle(key, 0);
        AddMethod(words[w], cutoff, cut ? english : nullptr, cut ? japanese : nullptr);
    }
    char english[TitleBytes], japanese[TitleBytes];
    snprintf(english, sizeof english, "MLEM, %ld iterations", LessonIterations);
    snprintf(japanese, sizeof japanese, "MLEM（%ld 回反復）", LessonIterations);
    AddMethod("mlem", 1.0, english, japanese);
    return 1;
}

// ---- The folder ----

static int IsLessonOutput(const std::string &name) {
    static const char *const Fixed[] = {"index.html", "figures.csv", "statements.csv", "work", "tradeoff", "mlem-steps"};
    for (const char *fixed : Fixed)
        if (name == fixed) return 1;
    if (name == MarkerName) return 1;
    for (const char *lesson : LessonFileNames)
        for (const char *ending : {"-table.md", "-grid.md", "-grid.png"})
            if (name == std::string(lesson) + ending) return 1;
    int picture = name.size() > 4 && (name.compare(name.size() - 4, 4, ".png") == 0 || name.compare(name.size() - 4, 4, ".bmp") == 0);
    return picture && (name.rfind("dose-", 0) == 0 || name.rfind("attenuation-", 0) == 0 || name.rfind("corrections-", 0) == 0);
}

// Makes OUTDIR, or takes it when empty or an earlier lesson's; removes that lesson's page
// first, so that no page stands for pictures this run is replacing.
static int PrepareFolder() {
    std::error_code error;
    std::filesystem::path folder = HostPath(Folder);
    std::filesystem::create_directory(folder, error);
    if (!std::filesystem::is_directory(folder, error))
        return RefuseWith(ExitFailed, "%s: cannot make that folder, or it is a file", Printable(Folder));
    int marked = std::filesystem::exists(folder / MarkerName, error), others = 0;
    std::string stranger;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        std::string name = entry->path().filename().u8string();
        if (!marked || !IsLessonOutput(name)) others++, stranger = name;
    }
    if (error) return RefuseWith(ExitFailed, "%s: cannot list that folder", Printable(Folder));
    if (others)
        return RefuseWith(ExitFailed, "%s holds files the lesson did not write (such as %s); give a new or empty folder",
                          Printable(Folder), Printable(stranger.c_str()));
    char path[PathBytes];
    snprintf(path, sizeof path, "%s/index.html", Folder);
    std::filesystem::remove(HostPath(path), error);
    snprintf(path, sizeof path, "%s/%s", Folder, MarkerName);
    FILE *marker = fopen(path, "w");
    if (!marker || fputs("written by quorvel_data lesson\n", marker) < 0 || fclose(marker) != 0)
        return RefuseWith(ExitFailed, "cannot write in %s", Printable(Folder));
    snprintf(WorkFolder, sizeof WorkFolder, "%s/work", Folder);
    std::filesystem::create_directory(HostPath(WorkFolder), error);
    if (!std::filesystem::is_directory(HostPath(WorkFolder), error))
        return RefuseWith(ExitFailed, "cannot make %s", Printable(WorkFolder));
    return ExitDone;
}

static void RemoveWorkFolder() {
    std::error_code error;
    if (WorkFolder[0]) std::filesystem::remove_all(HostPath(WorkFolder), error);
}

// ---- Running the tool's commands ----

// Runs one of the tool's commands on the words given, its report on standard output
// kept off the terminal: the lesson reports its own progress.
static int RunQuietly(int (*run)(int argc, char **argv), const char *const *words, int count) {
    static std::string copies[ArgumentWordsMax];
    static char *argv[ArgumentWordsMax + 1];
    for (int w = 0; w < count; w++) copies[w] = words[w], argv[w] = &copies[w][0];
    argv[count] = nullptr;
    fflush(stdout);
#ifdef _WIN32
    int saved = _dup(_fileno(stdout)), null = _open("NUL", _O_WRONLY);
    if (saved >= 0 && null >= 0) _dup2(null, _fileno(stdout));
#else
    int saved = dup(fileno(stdout)), null = open("/dev/null", O_WRONLY);
    if (saved >= 0 && null >= 0) dup2(null, fileno(stdout));
#endif
    int status = run(count, argv);
    fflush(stdout);
    clearerr(stdout);
#ifdef _WIN32
    if (saved >= 0 && null >= 0) _dup2(saved, _fileno(stdout));
    if (null >= 0) _close(null);
    if (saved >= 0) _close(saved);
#else
    if (saved >= 0 && null >= 0) dup2(saved, fileno(stdout));
    if (null >= 0) close(null);
    if (saved >= 0) close(saved);
#endif
    return status;
}

static const char *Path(char path[PathBytes], const char *folder, const char *name, const char *extension) {
    snprintf(path, PathBytes, "%s/%s%s", folder, name, extension);
    return path;
}

static const char *Number(long value) {
    static char texts[4][32];
    static int next;
    char *text = texts[next++ % 4];
    snprintf(text, 32, "%ld", value);
    return text;
}

// Volume NAME.sino in the work folder at the dose: none, attenuated or corrected.
static int MakeVolume(const char *name, long dose, uint64_t seed, int attenuation) {
    char path[PathBytes], seedText[32];
    snprintf(seedText, sizeof seedText, "%" PRIu64, seed);
    const char *words[ArgumentWordsMax] = {"sinogram", Path(path, WorkFolder, name, ".sino"),
                                           Phantom >= 0 ? "--phantom" : "--picture",
                                           Phantom >= 0 ? PhantomWords[Phantom] : TruthPicture,
                                           "--counts", Number(dose), "--noise", "poisson", "--seed", seedText};
    int count = 10;
    if (attenuation == 1) words[count++] = "--attenuation";
    if (attenuation == 2) words[count++] = "--attenuation-corrected";
    fprintf(stderr, "lesson: volume %s, largest expected count %ld, seed %s\n", name, dose, seedText);
    return RunQuietly(RunSinogramCommand, words, count);
}

// The filter file of method m, in the work folder.
static int MakeFilter(int m) {
    char path[PathBytes], cutoff[32];
    snprintf(cutoff, sizeof cutoff, "%g", FilterCutoffs[m]);
    const char *words[ArgumentWordsMax] = {"filter", Path(path, WorkFolder, LessonMethodKeys[m], ".txt"), FilterKinds[m]};
    int count = 3;
    if (FilterCutoffs[m] != 1.0) words[count++] = "--cutoff", words[count++] = cutoff;
    return RunQuietly(RunFilterCommand, words, count);
}

// Rebuilds volume NAME by method key into the saved picture OUT.bmp of the folder.
static int Rebuild(const char *volume, const char *method, int modelled, const char *out) {
    char input[PathBytes], output[PathBytes], filter[PathBytes];
    Path(input, WorkFolder, volume, ".sino");
    Path(output, Folder, out, ".bmp");
    const char *row = Number(LessonRow);
    if (strcmp(method, "mlem") == 0) {
        const char *words[ArgumentWordsMax] = {"mlem", input, output, "--row", row, "--iterations", Number(LessonIterations)};
        int count = 7;
        if (modelled) {
            words[count++] = "--attenuation";
            words[count++] = Phantom >= 0 ? "--phantom" : "--picture";
            words[count++] = Phantom >= 0 ? PhantomWords[Phantom] : TruthPicture;
        }
        return RunQuietly(RunMlemCommand, words, count);
    }
    Path(filter, WorkFolder, method, ".txt");
    const char *simple[] = {"fbp", input, output, "--row", row, "--simple"};
    const char *filtered[] = {"fbp", input, output, "--row", row, "--filter", filter};
    return strcmp(method, "simple") == 0 ? RunQuietly(RunFbpCommand, simple, 6) : RunQuietly(RunFbpCommand, filtered, 7);
}

// ---- Measuring ----

// The truth and its regions, as compare sets them for this truth.
static int SetTruth() {
    RegionCount = 0;
    FlatKnown = 0;
    if (Phantom >= 0) {
        if (Phantom == 0) BuildHeadPhantom();
        else BuildRodPhantom();
        double z = (double)(LastSlice - LessonRow);
        TruthFromPhantom(z);
        AddSphereRegions(z);
    } else {
        if (!ReadPicture(TruthPicture, ImageSide, ImageSide, "a slice")) return 0;
        TruthFromPicture();
    }
    FindFlatRegion(10.0);
    return 1;
}

// Measures saved picture OUT.bmp as compare does, adds its row to the table, figures.csv
// and its tile.
static int Measure(int lesson, long dose, const char *method, const char *out) {
    char path[PathBytes], name[PathBytes];
    Path(path, Folder, out, ".bmp");
    if (!ReadPicture(path, PictureWidth, PictureHeight, "a saved picture") || !FindFinalImage(path) || !SetTruth())
        return 0;
    MeasureSlice();
    MeasureUniformity();
    double figures[FigureColumns];
    int bounds[FigureColumns] = {0};
    for (int c = 0; c < FigureColumns; c++) figures[c] = NAN;
    figures[0] = SliceCorrelation, figures[1] = SliceRmsError;
    for (int r = 0; r < RegionCount; r++)
        for (int c = 2; c < FigureColumns - 2; c++)
            if (strcmp(FigureColumnNames[c] + 3, RegionName[r]) == 0) figures[c] = RegionRecovery[r];
    figures[FigureColumns - 2] = 100.0 * FlatNoise, bounds[FigureColumns - 2] = FlatNoiseBound;
    figures[FigureColumns - 1] = SliceUniformity, bounds[FigureColumns - 1] = UniformityBound;
    if (!AddLessonRow(lesson, dose, method, figures, bounds)) return Refuse("the lesson's table is full");
    // The tool replaces one file at a time: the lines wait for the end.
    static char line[CsvLineBytes - 64];   // the picture's name is the lesson's own
    FigureCsvHeader(line, sizeof line);
    snprintf(CsvHeader, sizeof CsvHeader, "lesson,dose,method,%s", line);
    snprintf(name, sizeof name, "%s.bmp", out);
    FigureCsvLine(line, sizeof line, name);
    snprintf(CsvLines[LessonRowCount - 1], CsvLineBytes, "%s,%ld,%s,%s", LessonWords[lesson], dose, method, line);
    unsigned char (*tile)[ImageSide] = Tiles[LessonRowCount - 1];
    for (int row = 0; row < ImageSide; row++)
        for (int p = 0; p < ImageSide; p++) {
            double grey = ShownGrey[p][ImageSide - 1 - row];
            tile[row][p] = grey > 0.0 ? (grey < 255.0 ? (unsigned char)grey : 255) : 0;
        }
    return WriteGreyPng(Path(path, Folder, out, ".png"), &tile[0][0], ImageSide, ImageSide);
}

// NAME.png: the lesson's pictures side by side, across in a row, in the table's order
// along the rows, or with byColumn down the columns; the corrections' each in its case's
// row and its method's column.
static int WriteGrid(int lesson, int across, int byColumn, const char *name) {
    int first = 0, count = 0;
    while (first < LessonRowCount && LessonRowLesson[first] != lesson) first++;
    while (first + count < LessonRowCount && LessonRowLesson[first + count] == lesson) count++;
    int down = (count + across - 1) / across, step = ImageSide + GridGap;
    if (lesson == LessonCorrections) down = CorrectionCases;
    int width = across * step - GridGap, height = down * step - GridGap;
    memset(Grid, 0, sizeof Grid);
    for (int i = 0; i < count; i++) {
        int y = byColumn ? i % down : i / across, x = byColumn ? i / down : i % across;
        if (lesson == LessonCorrections) CorrectionGridCell(first + i, &y, &x);
        for (int row = 0; row < ImageSide; row++) memcpy(&Grid[y * step + row][x * step], Tiles[first + i][row], ImageSide);
    }
    // The grid's rows are GridSideMax apart: the picture is written from a packed copy.
    static unsigned char packed[GridSideMax * GridSideMax];
    for (int y = 0; y < height; y++) memcpy(&packed[y * width], Grid[y], (size_t)width);
    char path[PathBytes];
    return WriteGreyPng(Path(path, Folder, name, ".png"), packed, width, height);
}

static uint64_t SeedOf(long dose) { return SeedGiven ? Seed : (uint64_t)dose; }

// ---- The lessons ----

static int DoseLesson() {
    for (int m = 0; m < LessonMethodCount; m++)
        if (strcmp(FilterKinds[m], "simple") != 0 && strcmp(FilterKinds[m], "mlem") != 0 && MakeFilter(m) != ExitDone)
            return ExitFailed;
    for (int d = 0; d < LessonDoseCount; d++) {
        long dose = LessonDoses[d];
        char volume[64], out[64 + MethodKeyBytes];
        snprintf(volume, sizeof volume, "dose-%ld", dose);
        LessonSeeds[d] = SeedOf(dose);
        int status = MakeVolume(volume, dose, LessonSeeds[d], 0);
        if (status != ExitDone) return status;
        for (int m = 0; m < LessonMethodCount; m++) {
            snprintf(out, sizeof out, "dose-%ld-%s", dose, LessonMethodKeys[m]);
            fprintf(stderr, "lesson: row %ld at %ld by %s\n", LessonRow, dose, LessonMethodTitles[m][0]);
            if ((status = Rebuild(volume, LessonMethodKeys[m], 0, out)) != ExitDone) return status;
            if (!Measure(LessonDose, dose, LessonMethodKeys[m], out)) return ExitFailed;
        }
    }
    return ExitDone;
}

static int AttenuationLesson() {
    uint64_t seed = SeedOf(AttenuationDose);
    int status;
    char rampPath[PathBytes], halfPath[PathBytes];
    const char *ramp[] = {"filter", Path(rampPath, WorkFolder, "ramp", ".txt"), "ramp"};
    const char *half[] = {"filter", Path(halfPath, WorkFolder, "hann_half", ".txt"), "hann", "--cutoff", "0.5"};
    if (RunQuietly(RunFilterCommand, ramp, 3) != ExitDone || RunQuietly(RunFilterCommand, half, 5) != ExitDone)
        return ExitFailed;
    for (int c = 0; c < AttenuationCases; c++) {
        char volume[64], out[64 + MethodKeyBytes];
        snprintf(volume, sizeof volume, "attenuation-%s", AttenuationCaseKeys[c]);
        if ((status = MakeVolume(volume, AttenuationDose, seed, c)) != ExitDone) return status;
        for (int m = 0; m < AttenuationMethods; m++) {
            const char *method = AttenuationRowMethod(c, m);
            int modelled = strstr(method, "mlem_model") != nullptr;
            snprintf(out, sizeof out, "attenuation-%s-%s", AttenuationCaseKeys[c], modelled ? "mlem_model" : AttenuationMethodKeys[m]);
            fprintf(stderr, "lesson: %s by %s\n", AttenuationCaseTitles[c][0],
                    LessonMethodTitle(modelled ? "mlem_model" : AttenuationMethodKeys[m], 0));
            // MLEM corrects in its model, from the uncorrected counts.
            const char *source = volume;
            char attenuated[64];
            snprintf(attenuated, sizeof attenuated, "attenuation-%s", AttenuationCaseKeys[1]);
            if (modelled) source = attenuated;
            if ((status = Rebuild(source, AttenuationMethodKeys[m], modelled, out)) != ExitDone) return status;
            if (!Measure(LessonAttenuation, AttenuationDose, method, out)) return ExitFailed;
        }
    }
    return ExitDone;
}

// Appends the blank-separated words of text to words.
static void AddWords(const char *text, char copies[][64], const char **words, int *count) {
    for (const char *at = text; *at && *count < ArgumentWordsMax;) {
        while (*at == ' ') at++;
        size_t length = strcspn(at, " ");
        if (length == 0) break;
        snprintf(copies[*count], 64, "%.*s", (int)length, at);
        words[*count] = copies[*count];
        ++*count;
        at += length;
    }
}

// Case c's volume NAME.sino at the attenuation lesson's dose and seed: as measured, or corrected.
static int MakeCorrectionVolume(int c, int corrected, const char *name) {
    const CorrectionCase &k = CorrectionCaseTable[c];
    char path[PathBytes], seedText[32];
    static char copies[ArgumentWordsMax][64];
    snprintf(seedText, sizeof seedText, "%" PRIu64, SeedOf(AttenuationDose));
    const char *words[ArgumentWordsMax] = {"sinogram", Path(path, WorkFolder, name, ".sino"),
                                           Phantom >= 0 ? "--phantom" : "--picture",
                                           Phantom >= 0 ? PhantomWords[Phantom] : TruthPicture,
                                           "--counts", Number(AttenuationDose), "--seed", seedText};
    int count = 8;
    AddWords(k.effects, copies, words, &count);
    if (corrected) {
        words[count++] = "--corrected";
        words[count++] = k.corrected;
        AddWords(k.wrong, copies, words, &count);
    }
    fprintf(stderr, "lesson: volume %s, %s\n", name, k.title[0]);
    return RunQuietly(RunSinogramCommand, words, count);
}

// MLEM on case c's measured counts with its effects in the model, as the volume was made.
static int RebuildWithEffects(int c, const char *volume, const char *out) {
    const CorrectionCase &k = CorrectionCaseTable[c];
    char input[PathBytes], output[PathBytes], seedText[32];
    static char copies[ArgumentWordsMax][64];
    snprintf(seedText, sizeof seedText, "%" PRIu64, SeedOf(AttenuationDose));
    const char *words[ArgumentWordsMax] = {"mlem", Path(input, WorkFolder, volume, ".sino"), Path(output, Folder, out, ".bmp"),
                                           "--row", Number(LessonRow), "--iterations", Number(LessonIterations),
                                           "--model", k.model};
    int count = 9;
    // The seed drew the crystals' efficiencies.
    if (strstr(k.model, "normalisation")) words[count++] = "--seed", words[count++] = seedText;
    AddWords(k.effects, copies, words, &count);
    // Scatter and randoms are drawn from the source's counts, attenuation from its bodies.
    if (strstr(k.model, "scatter") || strstr(k.model, "randoms")) words[count++] = "--counts", words[count++] = Number(AttenuationDose);
    if (strstr(k.model, "scatter") || strstr(k.model, "randoms") || strstr(k.effects, "--attenuation")) {
        words[count++] = Phantom >= 0 ? "--phantom" : "--picture";
        words[count++] = Phantom >= 0 ? PhantomWords[Phantom] : TruthPicture;
    }
    return RunQuietly(RunMlemCommand, words, count);
}

// Each effect alone and all together, measured and corrected, then the wrong corrections.
static int CorrectionsLesson() {
    int status;
    for (int c = 0; c < CorrectionCases; c++) {
        const CorrectionCase &k = CorrectionCaseTable[c];
        char measured[64], corrected[64], out[64 + MethodKeyBytes], method[MethodKeyBytes];
        snprintf(measured, sizeof measured, "corrections-%s", k.key);
        snprintf(corrected, sizeof corrected, "corrections-%s-corrected", k.key);
        int right = c < CorrectionCasesRight;
        if ((right && (status = MakeCorrectionVolume(c, 0, measured)) != ExitDone) ||
            (status = MakeCorrectionVolume(c, 1, corrected)) != ExitDone)
            return status;
        for (int m = 0; m < CorrectionMethods; m++) {
            const char *key = CorrectionMethodKeys[m];
            int onCorrected = strstr(key, "_corrected") != nullptr;
            if (!right && !onCorrected) continue;
            snprintf(method, sizeof method, "%s/%s", k.key, key);
            snprintf(out, sizeof out, "corrections-%s-%s", k.key, key);
            fprintf(stderr, "lesson: %s by %s\n", k.title[0], LessonMethodTitle(key, 0));
            if (strcmp(key, "mlem_effects") == 0) status = RebuildWithEffects(c, measured, out);
            else if (strcmp(key, "mlem") == 0) status = Rebuild(measured, "mlem", 0, out);
            else status = Rebuild(onCorrected ? corrected : measured, onCorrected ? (m == 2 ? "ramp" : "hann_half") : key, 0, out);
            if (status != ExitDone) return status;
            if (!Measure(LessonCorrections, AttenuationDose, method, out)) return ExitFailed;
        }
    }
    return ExitDone;
}

// tradeoff.csv's rows as the trade-off lesson's: "mlem/5", "osem_4/5", "mlem_smoothed/5", "fbp/ramp".
static int ReadTradeoffTable(const char *path) {
    FILE *file = fopen(path, "r");
    if (!file) return Refuse("cannot read %s", Printable(path));
    char line[512];
    int rows = 0, good = fgets(line, sizeof line, file) != nullptr;   // the heading
    while (good && fgets(line, sizeof line, file)) {
        char method[16], filter[MethodKeyBytes - 8] = "";
        long subsets, iterations;
        double post, figures[6];
        // The filter is empty but for FBP's rows.
        char *cell[11];
        int cells = 0;
        for (char *at = line; cells < 11; at++) {
            cell[cells++] = at;
            at += strcspn(at, ",\n");
            if (*at == 0) break;
            *at = 0;
        }
        if (cells != 11 || sscanf(cell[0], "%15s", method) != 1 || !ReadWhole(cell[1], &subsets) ||
            !ReadWhole(cell[2], &iterations) || !ReadDecimal(cell[4], &post)) {
            good = 0;
            break;
        }
        snprintf(filter, sizeof filter, "%s", cell[3]);
        for (int f = 0; f < 6; f++) good &= ReadDecimal(cell[5 + f], &figures[f]);
        char key[MethodKeyBytes];
        if (strcmp(method, "fbp") == 0) snprintf(key, sizeof key, "fbp/%s", filter);
        else if (strcmp(method, "osem") == 0) snprintf(key, sizeof key, "osem_%ld/%ld", subsets, iterations);
        else snprintf(key, sizeof key, "%s/%ld", post > 0 ? "mlem_smoothed" : "mlem", iterations);
        double row[FigureColumns];
        for (int c = 0; c < FigureColumns; c++) row[c] = NAN;
        for (int c = 0; c < 4; c++) row[2 + c] = figures[c];
        row[FigureColumns - 2] = 100.0 * figures[4], row[1] = figures[5];
        if (!good || !AddLessonRow(LessonTradeoff, AttenuationDose, key, row)) break;
        rows++;
    }
    fclose(file);
    return good && rows > 0 ? 1 : Refuse("%s: not the table tradeoff writes", Printable(path));
}

// MLEM step by step on the dose lesson's middle volume, and the trade-off over realisations
// of it; a picture has no spheres whose contrast the curve could follow.
static int TradeoffLesson() {
    if (Phantom < 0) return ExitDone;
    char steps[PathBytes], input[PathBytes], output[PathBytes], folder[PathBytes], seedText[32];
    snprintf(seedText, sizeof seedText, "%" PRIu64, SeedOf(AttenuationDose));
    const char *mlem[] = {"mlem", Path(input, WorkFolder, "attenuation-none", ".sino"), Path(output, WorkFolder, "steps", ".bmp"),
                          "--row", Number(LessonRow), "--iterations", Number(LessonIterations), "--steps",
                          Path(steps, Folder, "mlem-steps", "")};
    fprintf(stderr, "lesson: MLEM step by step\n");
    int status = RunQuietly(RunMlemCommand, mlem, 9);
    if (status != ExitDone) return status;
    const char *tradeoff[] = {"tradeoff", Path(folder, Folder, "tradeoff", ""), "--phantom", PhantomWords[Phantom],
                              "--row", Number(LessonRow), "--counts", Number(AttenuationDose),
                              "--realisations", Number(TradeoffRealisations), "--iterations", Number(TradeoffIterations),
                              "--seed", seedText, "--lang", LanguageNames[Language]};
    fprintf(stderr, "lesson: the trade-off over %d realisations\n", TradeoffRealisations);
    if ((status = RunQuietly(RunTradeoffCommand, tradeoff, 16)) != ExitDone) return status;
    return ReadTradeoffTable(Path(folder, Folder, "tradeoff/tradeoff", ".csv")) ? ExitDone : ExitFailed;
}

static int RunLessons(const char *figuresPath) {
    int status = PrepareFolder();
    if (status != ExitDone) return status;
    // Tried before the long work, as every output of the tool.
    FILE *file = BeginReplacing(figuresPath);
    if (!file) return ExitFailed;
    FinishReplacing(figuresPath, file, 0);
    ClearLessonTable();
    status = DoseLesson();
    if (status == ExitDone) status = AttenuationLesson();
    if (status == ExitDone) status = CorrectionsLesson();
    if (status == ExitDone) status = TradeoffLesson();
    if (status != ExitDone) return status;
    // The attenuation lesson's a column per case, a row per method.
    if (!WriteGrid(LessonDose, LessonMethodCount, 0, "lesson-grid") ||
        !WriteGrid(LessonAttenuation, AttenuationCases, 1, "attenuation-grid") ||
        !WriteGrid(LessonCorrections, CorrectionMethods, 0, "corrections-grid"))
        return ExitFailed;
    if (!(file = BeginReplacing(figuresPath))) return ExitFailed;
    fputs(CsvHeader, file);
    // The trade-off's rows are tradeoff/tradeoff.csv's, of no one picture.
    for (int n = 0; n < LessonRowCount; n++)
        if (LessonRowLesson[n] != LessonTradeoff) fputs(CsvLines[n], file);
    int written = !ferror(file);
    if (!FinishReplacing(figuresPath, file, written))
        return written ? ExitFailed : RefuseWith(ExitFailed, "cannot write %s (is there room?)", Printable(figuresPath));
    return WriteLessonTables(Folder) && WriteLessonPage(Folder, Language) ? ExitDone : ExitFailed;
}

int RunLessonCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "") ||
        !OnlyOptions("lesson", "phantom picture row counts filters iterations seed lang", ""))
        return ExitUsage;
    if (PositionalCount != 1)
        return RefuseWith(ExitUsage, "lesson takes one word besides its options, the folder to write (see "
                                     "quorvel_data lesson --help)");
    if (HasOption("phantom") == HasOption("picture"))
        return RefuseWith(ExitUsage, "lesson needs one truth: --phantom head|rods or --picture FILE");
    LessonRow = HeadMiddleSlice;
    LessonIterations = 20;
    Language = 0;
    Phantom = -1;
    SeedGiven = HasOption("seed");
    if (!WholeOption("row", 0, LastSlice, &LessonRow) || !WholeOption("iterations", 1, 1000, &LessonIterations) ||
        !SeedOption("seed", &Seed) || !ChoiceOption("lang", LanguageNames, LessonLanguages, &Language) ||
        (HasOption("phantom") && !ChoiceOption("phantom", PhantomWords, 2, &Phantom)) || !ReadCounts() || !ReadFilters())
        return ExitUsage;
    if (strlen(Positional[0]) + 64 + MethodKeyBytes > (size_t)PathBytes)
        return RefuseWith(ExitUsage, "the folder's name is too long");
    snprintf(Folder, sizeof Folder, "%s", Positional[0]);
    snprintf(TruthPicture, sizeof TruthPicture, "%s", HasOption("picture") ? OptionText("picture") : "");
    WorkFolder[0] = 0;
    // The picture is read before the long work, so a bad one is told at once.
    if (Phantom < 0 && !ReadPicture(TruthPicture, ImageSide, ImageSide, "a slice")) return ExitFailed;
    for (int l = 0; l < LessonLanguages; l++) {
        const char *phantoms[2][LessonLanguages] = {{"the head phantom", "頭部ファントム"}, {"the rods phantom", "ロッド ファントム"}};
        if (Phantom >= 0) snprintf(LessonSource[l], SourceTextBytes, "%s", phantoms[Phantom][l]);
        else snprintf(LessonSource[l], SourceTextBytes, "%s", Printable(TruthPicture));
    }
    char figuresPath[PathBytes];
    snprintf(figuresPath, sizeof figuresPath, "%s/figures.csv", Folder);
    int status = RunLessons(figuresPath);
    RemoveWorkFolder();
    if (status == ExitDone) fprintf(stderr, "lesson: wrote %s/index.html\n", Printable(Folder));
    return status;
}
