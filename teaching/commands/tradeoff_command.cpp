// quorvel_data tradeoff: the curve of contrast recovery against noise, over many noisy
// realisations of one slice, for MLEM, OSEM, MLEM smoothed afterwards and the program's
// filtered backprojection with each sample filter.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <system_error>

#include "recon/reconstruction.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"
#include "teaching/commands/command_line.h"
#include "teaching/commands/data_tool.h"
#include "teaching/commands/sinogram_command.h"
#include "teaching/ensemble.h"
#include "teaching/file_replacement.h"
#include "teaching/filter_taps.h"
#include "teaching/grey_picture.h"
#include "teaching/host_path.h"
#include "teaching/html_page.h"
#include "teaching/mlem.h"
#include "teaching/phantoms.h"
#include "teaching/picture_file.h"
#include "teaching/picture_projection.h"
#include "teaching/poisson_noise.h"
#include "teaching/post_smoothing.h"
#include "teaching/sample_volume.h"
#include "teaching/slice_comparison.h"
#include "teaching/tool_error.h"
#include "teaching/worker_threads.h"

const char *const TradeoffHelp =
    "quorvel_data tradeoff OUTDIR (--phantom head|rods | --picture FILE --region C,R,RADIUS...) [options]\n"
    "\n"
    "Draws R noisy realisations of one slice of the phantom, or of the picture (placed and\n"
    "projected as sinogram places it, its regions in the picture's columns and rows), at one dose (seeds S to S + R - 1)\n"
    "and rebuilds each by MLEM, by OSEM with each listed number of subsets, by MLEM\n"
    "smoothed afterwards with a Gaussian, recording every method at iterations 1, 2, 3, 5,\n"
    "7, 10, 15, 20, 30, 40, 50, 70 and 100 up to K, and by the program's filtered\n"
    "backprojection with each sample filter. For each method and iteration, of the mean\n"
    "image over the realisations:\n"
    "  cr_NAME   contrast recovery of each region, as compare measures it: (mean in the\n"
    "            region / mean in the ring 2 to 6 pixels beyond its edge - 1) over the same\n"
    "            of the truth; the phantom's spheres on that row by default\n"
    "  noise     the ensemble noise: the standard deviation of each pixel across the\n"
    "            realisations, averaged over the flat disc, over the mean image's mean there\n"
    "  bias      the mean image scaled so its mean over the object is the truth's, minus\n"
    "            the truth: its RMS over the object over the truth's RMS there\n"
    "Writes OUTDIR/tradeoff.csv (columns method, subsets, iterations, filter, post_filter,\n"
    "then the figures) and OUTDIR/index.html with the curves of contrast recovery against\n"
    "noise, and the noise and bias maps of MLEM, smoothed MLEM and the ramp filter.\n"
    "\n"
    "Options:\n"
    "  --row N            the slice, 0 to @LAST_SLICE@. Default 43.\n"
    "  --counts N         the largest expected count of the volume, as for sinogram. Default 1000.\n"
    "  --realisations R   2 to 100. Default 10.\n"
    "  --seed S           the first realisation's seed. Default 1.\n"
    "  --iterations K     1 to 100. Default 50.\n"
    "  --subsets LIST     OSEM's subset counts, up to 3 of 2, 4, 8, 16, 32, e.g. 4,8. Default 4,8.\n"
    "  --post-filter F    the Gaussian's full width at half maximum, pixels. Default 4.\n"
    "  --workers N        realisations rebuilt at once, 1 to 4; the figures are the same\n"
    "                     whatever the number. Default: the machine's processors.\n"
    "  --lang en|ja       the page's language. Default en.\n"
    "  --region C,R,RADIUS  a disc to measure, in the truth's column and row; repeatable,\n"
    "                       and needed with --picture.\n"
    "  --flat C,R,RADIUS    the flat disc for the noise; by default the disc of radius 10 of\n"
    "                       one true level nearest the centre.\n";

static_assert(WorkersMax == 4, "the help gives the largest --workers");

const int RecordedIterations[] = {1, 2, 3, 5, 7, 10, 15, 20, 30, 40, 50, 70, 100};
const int RecordsMax = sizeof RecordedIterations / sizeof RecordedIterations[0];
const int SubsetListMax = 3;
const int IterativeMethodsMax = SubsetListMax + 2;   // MLEM, OSEM per subset count, smoothed MLEM
const int FolderBytes = ArgumentBytesMax + 64;

static int SubsetList[SubsetListMax];   // OSEM's subset counts
static int SubsetListCount;
static int RecordCount;                  // recorded iterations up to the last
static int RecordAt[RecordsMax + 1];     // [i] which: RecordedIterations up to K, and K
static float MeanCounts[Angles][Bins];   // [a][r] the slice's expected counts
static double Fbp[ImageSide][ImageSide];
static double PostFwhm;                  // the smoothed MLEM's Gaussian, pixels
static uint64_t FirstSeed;               // realisation i is drawn with seed FirstSeed + i

// Iterative method m (0 MLEM, 1.. OSEM, last smoothed MLEM) at record i.
static int IterativeSlot(int m, int i) { return m * (RecordsMax + 1) + i; }
// The program's FBP with each sample filter at full cutoff: the kinds with a sample file.
const int FbpFiltersMax = 8;
static int FbpFilters[FbpFiltersMax];   // rows of FilterKindTable
static int FbpFilterCount;
static void ListFbpFilters() {
    FbpFilterCount = 0;
    for (int kind = 0; kind < FilterKindCount && FbpFilterCount < FbpFiltersMax; kind++)
        if (FilterKindTable[kind].fileName) FbpFilters[FbpFilterCount++] = kind;
}
static int FbpSlot(int f) { return IterativeMethodsMax * (RecordsMax + 1) + f; }
const int IterativeSlots = IterativeMethodsMax * (RecordsMax + 1);
static_assert(IterativeSlots + FbpFiltersMax <= EnsembleSlotsMax, "every method and iteration has a slot");

// Realisations are rebuilt iteratively in batches, one a worker, each into the worker's
// own images; the calling thread then adds them to the ensemble in the realisations'
// order, so the sums, and every figure, are the same whatever the number of workers. The
// filtered backprojections go on the calling thread: the program's arrays are one.
static long BatchFirst;                                                         // the batch's first realisation
static double WorkerImages[WorkersMax][IterativeSlots][ImageSide][ImageSide];   // [worker][slot][P][Q]

static int ReadSubsetList() {
    SubsetList[0] = 4, SubsetList[1] = 8, SubsetListCount = 2;
    const char *text = OptionText("subsets");
    if (!text) return 1;
    SubsetListCount = 0;
    const char *at = text;
    while (*at) {
        char *end;
        long s = strtol(at, &end, 10);
        if (end == at || (*end != ',' && *end != 0) || s < 2 || s > SubsetsMax || (s & (s - 1)) ||
            SubsetListCount == SubsetListMax)
            return Refuse("--subsets %s: give up to %d of 2, 4, 8, 16, 32, separated by commas", Printable(text),
                          SubsetListMax);
        SubsetList[SubsetListCount++] = (int)s;
        at = *end ? end + 1 : end;
    }
    return SubsetListCount > 0 ? 1 : Refuse("--subsets is empty");
}

static int TryFile(const char *folder, const char *name, char path[FolderBytes]) {
    snprintf(path, FolderBytes, "%s/%s", folder, name);
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    FinishReplacing(path, file, 0);
    return 1;
}

// The counts of realisation i, into this thread's MLEM counts.
static void DrawCounts(long realisation) {
    SeedNoise(FirstSeed + (uint64_t)realisation);
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            MlemCounts[a][r] = (float)PoissonCount(MeanCounts[a][r]);
            MlemFactor[a][r] = 1.0f;
        }
}

// Worker w rebuilds realisation BatchFirst + w by MLEM, OSEM and smoothed MLEM.
static void RebuildIteratively(int worker) {
    DrawCounts(BatchFirst + worker);
    for (int m = 0; m < SubsetListCount + 1; m++) {
        StartMlem(m == 0 ? 1 : SubsetList[m - 1]);
        for (int k = 1, i = 0; i < RecordCount; k++) {
            MlemIteration();
            if (k != RecordAt[i]) continue;
            memcpy(WorkerImages[worker][IterativeSlot(m, i)], MlemImage, sizeof MlemImage);
            if (m == 0) {
                double(*smoothed)[ImageSide] = WorkerImages[worker][IterativeSlot(IterativeMethodsMax - 1, i)];
                memcpy(smoothed, MlemImage, sizeof MlemImage);
                SmoothImage(smoothed, PostFwhm);
            }
            i++;
        }
    }
}

static void RebuildByFbp(long realisation) {
    DrawCounts(realisation);
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) SliceSinogram[r][a] = MlemCounts[a][r];
    for (int f = 0; f < FbpFilterCount; f++) {
        MakeFilterTaps(FbpFilters[f], FilterTaps);
        ReconstructSlice('2');
        // The program subtracts a share of the peak for its picture; the image is without it.
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) Fbp[p][q] = ReconImage[p][q] + (double)BackgroundLevel;
        AddToEnsemble(FbpSlot(f), Fbp);
    }
}

// Rebuilds realisations 0 to count - 1, workers at a time, into the ensemble.
static void RebuildRealisations(long count, int workers) {
    PrepareChords();
    ListFbpFilters();
    for (BatchFirst = 0; BatchFirst < count; BatchFirst += workers) {
        int batch = count - BatchFirst < workers ? (int)(count - BatchFirst) : workers;
        RunWorkers(batch, RebuildIteratively);
        for (int w = 0; w < batch; w++) {
            for (int m = 0; m < IterativeMethodsMax; m++)
                if (m <= SubsetListCount || m == IterativeMethodsMax - 1)
                    for (int i = 0; i < RecordCount; i++)
                        AddToEnsemble(IterativeSlot(m, i), WorkerImages[w][IterativeSlot(m, i)]);
            RebuildByFbp(BatchFirst + w);
            printf("  realisation %ld rebuilt\n", BatchFirst + w + 1);
        }
        fflush(stdout);
    }
}

struct Row { char method[16]; int subsets, iterations; const char *filter; double post; int slot; };
const int RowsMax = EnsembleSlotsMax;
static Row Rows[RowsMax];
static int RowCount;
static double Recovery[RowsMax][RegionsMax], Noise[RowsMax], Bias[RowsMax];

static void ListRows(double fwhm) {
    RowCount = 0;
    for (int m = 0; m < IterativeMethodsMax; m++) {
        if (m > SubsetListCount && m != IterativeMethodsMax - 1) continue;
        for (int i = 0; i < RecordCount; i++) {
            Row &row = Rows[RowCount++];
            int smoothed = m == IterativeMethodsMax - 1;
            snprintf(row.method, sizeof row.method, "%s", m == 0 || smoothed ? "mlem" : "osem");
            row.subsets = m == 0 || smoothed ? 1 : SubsetList[m - 1];
            row.iterations = RecordAt[i];
            row.filter = "";
            row.post = smoothed ? fwhm : 0.0;
            row.slot = IterativeSlot(m, i);
        }
    }
    ListFbpFilters();
    for (int f = 0; f < FbpFilterCount; f++) {
        Row &row = Rows[RowCount++];
        snprintf(row.method, sizeof row.method, "fbp");
        row.subsets = 0, row.iterations = 0, row.filter = FilterKindTable[FbpFilters[f]].name, row.post = 0.0;
        row.slot = FbpSlot(f);
    }
}

static int WriteCsv(const char *path) {
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    fprintf(file, "method,subsets,iterations,filter,post_filter");
    for (int r = 0; r < RegionCount; r++) fprintf(file, ",cr_%s", RegionName[r]);
    fprintf(file, ",noise,bias\n");
    for (int n = 0; n < RowCount; n++) {
        const Row &row = Rows[n];
        fprintf(file, "%s,%d,%d,%s,%g", row.method, row.subsets, row.iterations, row.filter, row.post);
        for (int r = 0; r < RegionCount; r++) fprintf(file, ",%.4f", Recovery[n][r]);
        fprintf(file, ",%.5f,%.5f\n", Noise[n], Bias[n]);
    }
    int written = !ferror(file);
    if (!FinishReplacing(path, file, written)) return written ? 0 : Refuse("cannot write %s (is there room?)", path);
    return 1;
}

// The page's words in each language it is written in; the formats take the same numbers.
struct PageWords {
    const char *lang, *title, *intro, *curveHeading, *xLabel, *yLabel, *curveCaption, *mapsHeading, *noiseMap,
        *biasMap, *fbp, *smoothed, *osem, *mlem;
};
static const PageWords Words[] = {
    {"en", "Contrast recovery against noise",
     "%ld noisy realisations of row %ld of the truth at a largest expected count of %g, each rebuilt by every "
     "method. Contrast recovery (of the first region, %s) is of the mean image; the noise is the ensemble noise in "
     "the flat disc. Iterations are marked along each curve; the program's filtered backprojection with each sample "
     "filter is a point.",
     "Contrast recovery against ensemble noise", "ensemble noise, % (std across realisations over mean, flat disc)",
     "contrast recovery",
     "Each curve runs from its first recorded iteration (low noise, low contrast) to its last; a point is a "
     "recorded iteration, and iterations 1, 5, 10, 20, 50 and the last are numbered (passes for OSEM).",
     "Noise and bias maps",
     "Noise map: each pixel's standard deviation across the realisations. Grey: black 0, white %.4g (the mean "
     "image's mean in the object is %.4g).",
     "Bias map: the scaled mean image minus the truth, in the truth's units. Grey: 0 mid-grey, black %.4g, white "
     "%.4g.",
     "FBP, sample filters", "MLEM + Gaussian %g px", "OSEM, %d subsets", "MLEM"},
    {"ja", "コントラストとノイズのトレードオフ",
     "真の画像の行 %ld を、最大期待カウント %g で %ld 通りのノイズを含むデータにし、それぞれをすべての方法で再構成"
     "しました。コントラスト回復率（最初の領域 %s）は平均画像のもの、ノイズは平らな円板でのアンサンブル ノイズです。"
     "各曲線には反復回数を記し、プログラムのフィルタ補正逆投影は各サンプル フィルタを点で示します。",
     "コントラスト回復率とアンサンブル ノイズ", "アンサンブル ノイズ %（実現間の標準偏差 / 平均、平らな円板）",
     "コントラスト回復率",
     "各曲線は最初に記録した反復（低ノイズ・低コントラスト）から最後の反復まで続きます。点は記録した反復で、"
     "反復 1、5、10、20、50 と最後に回数（OSEM ではパス数）を記します。",
     "ノイズ マップとバイアス マップ",
     "ノイズ マップ: 各ピクセルの実現間の標準偏差。濃淡: 黒 0、白 %.4g（物体内の平均画像の平均は %.4g）。",
     "バイアス マップ: 尺度を合わせた平均画像から真の画像を引いたもの（真の画像の単位）。濃淡: 0 が中間の灰色、"
     "黒 %.4g、白 %.4g。",
     "FBP（サンプル フィルタ）", "MLEM + ガウス %g px", "OSEM（%d サブセット）", "MLEM"},
};
static const char *const LanguageNames[] = {"en", "ja"};
const int Languages = 2;
static int Language;   // the page's: 0 English, 1 Japanese
const int CaptionBytes = 640;

static unsigned char MapGreys[ImageSide][ImageSide];

// The noise and bias maps of one row, beside the page; their captions into the texts.
static int WriteMaps(const char *folder, int n, const char *name, char noiseCaption[CaptionBytes],
                     char biasCaption[CaptionBytes]) {
    const PageWords &words = Words[Language];
    MeasureEnsemble(Rows[n].slot);
    double peakStd = 0.0, peakBias = 0.0, mean = 0.0, count = 0.0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            if (!Evaluated[p][q]) continue;
            peakStd = fmax(peakStd, EnsembleStd[p][q] / 1.0);
            peakBias = fmax(peakBias, fabs(EnsembleBias[p][q]));
            mean += EnsembleMean[p][q], count++;
        }
    char path[FolderBytes];
    ImageGreysOf(EnsembleStd, 0.0, peakStd, MapGreys);
    snprintf(path, sizeof path, "%s/%s_noise.bmp", folder, name);
    if (!WriteGreyPicture(path, MapGreys, ImageSide)) return 0;
    snprintf(noiseCaption, CaptionBytes, words.noiseMap, peakStd, count ? mean / count : 0.0);
    ImageGreysOf(EnsembleBias, -peakBias, peakBias, MapGreys);
    snprintf(path, sizeof path, "%s/%s_bias.bmp", folder, name);
    if (!WriteGreyPicture(path, MapGreys, ImageSide)) return 0;
    snprintf(biasCaption, CaptionBytes, words.biasMap, -peakBias, peakBias);
    return 1;
}

// The iterations whose numbers the curves show; every recorded one is a point.
const int LabelledIterations[] = {1, 5, 10, 20, 50, 100};
static int LabelledIteration(int k) {
    for (int labelled : LabelledIterations)
        if (k == labelled) return 1;
    return k == RecordAt[RecordCount - 1];
}

static int WritePage(const char *folder, const char *path, long row, long realisations, double counts) {
    // The maps first: one file is replaced at a time.
    int shown[3] = {RecordCount - 1, 0, RowCount - FbpFilterCount};
    for (int n = 0; n < RowCount; n++)
        if (Rows[n].post > 0.0 && Rows[n].iterations == RecordAt[RecordCount - 1]) shown[1] = n;
    static const char *const mapNames[3] = {"mlem", "mlem_smoothed", "fbp_ramp"};
    static char noiseCaption[3][CaptionBytes], biasCaption[3][CaptionBytes];
    const PageWords &words = Words[Language];
    for (int i = 0; i < 3; i++)
        if (!WriteMaps(folder, shown[i], mapNames[i], noiseCaption[i], biasCaption[i])) return 0;
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    char text[1024];
    PageBegin(file, words.lang, words.title);
    if (Language == 0)
        snprintf(text, sizeof text, words.intro, realisations, row, counts, RegionCount ? RegionName[0] : "-");
    else
        snprintf(text, sizeof text, words.intro, row, counts, realisations, RegionCount ? RegionName[0] : "-");
    PageParagraph(text);
    static double x[RowsMax], y[RowsMax];
    static char labels[RowsMax][16];
    static const char *labelOf[RowsMax];
    PlotLine lines[IterativeMethodsMax + 1];
    static char names[IterativeMethodsMax + 1][64];
    int lineCount = 0;
    for (int n = 0; n < RowCount;) {
        int first = n;
        while (n < RowCount && strcmp(Rows[n].method, Rows[first].method) == 0 && Rows[n].subsets == Rows[first].subsets &&
               Rows[n].post == Rows[first].post)
            n++;
        for (int k = first; k < n; k++) {
            x[k] = 100.0 * Noise[k];
            y[k] = RegionCount ? Recovery[k][0] : NAN;
            snprintf(labels[k], sizeof labels[k], "%s", Rows[k].filter[0] ? Rows[k].filter : "");
            if (!Rows[k].filter[0] && LabelledIteration(Rows[k].iterations))
                snprintf(labels[k], sizeof labels[k], "%d", Rows[k].iterations);
            labelOf[k] = labels[k];
        }
        const Row &row = Rows[first];
        if (strcmp(row.method, "fbp") == 0) snprintf(names[lineCount], 64, "%s", words.fbp);
        else if (row.post > 0.0) snprintf(names[lineCount], 64, words.smoothed, row.post);
        else if (row.subsets > 1) snprintf(names[lineCount], 64, words.osem, row.subsets);
        else snprintf(names[lineCount], 64, "%s", words.mlem);
        lines[lineCount] = {names[lineCount], x + first, y + first, n - first, strcmp(row.method, "fbp") == 0,
                            labelOf + first};
        lineCount++;
    }
    PageHeading(words.curveHeading);
    PagePlot(lines, lineCount, words.xLabel, words.yLabel, words.curveCaption);
    PageHeading(words.mapsHeading);
    PageRowBegin();
    for (int i = 0; i < 3; i++) {
        char source[64], caption[CaptionBytes + 64];
        const Row &row = Rows[shown[i]];
        snprintf(caption, sizeof caption, "%s %s %d%s: %s", mapNames[i], row.filter, row.iterations,
                 row.post > 0.0 ? " smoothed" : "", noiseCaption[i]);
        snprintf(source, sizeof source, "%s_noise.bmp", mapNames[i]);
        PageFigure(source, ImageSide, ImageSide, caption);
        snprintf(caption, sizeof caption, "%s: %s", mapNames[i], biasCaption[i]);
        snprintf(source, sizeof source, "%s_bias.bmp", mapNames[i]);
        PageFigure(source, ImageSide, ImageSide, caption);
    }
    PageRowEnd();
    int written = PageEnd();
    if (!FinishReplacing(path, file, written)) return written ? 0 : Refuse("cannot write %s (is there room?)", path);
    return 1;
}

int RunTradeoffCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "") ||
        !OnlyOptions("tradeoff", "phantom scale picture row counts realisations seed iterations subsets post-filter region flat lang workers",
                     "region"))
        return ExitUsage;
    if (PositionalCount != 1)
        return RefuseWith(ExitUsage, "tradeoff takes one word besides its options, the folder to write (see "
                                     "quorvel_data tradeoff --help)");
    if (HasOption("phantom") == HasOption("picture"))
        return RefuseWith(ExitUsage, "tradeoff needs one truth: --phantom head|rods or --picture FILE");
    if (HasOption("picture") && !HasOption("region"))
        return RefuseWith(ExitUsage, "with --picture, give the regions to measure: --region C,R,RADIUS");
    if (HasOption("scale") && !HasOption("phantom")) return RefuseWith(ExitUsage, "--scale sizes a phantom");
    long row = LastSlice - HeadMiddleSlice, realisations = 10, iterations = 50, workers = ProcessorCount();
    Language = 0;
    double counts = 1000.0, fwhm = 4.0;
    uint64_t seed = 1;
    int phantom = -1;
    double scale;
    if (!WholeOption("row", 0, LastSlice, &row) || !NumberOption("counts", 0.001, 1.0e7, &counts) ||
        !WholeOption("realisations", 2, 100, &realisations) || !WholeOption("iterations", 1, 100, &iterations) || !WholeOption("workers", 1, WorkersMax, &workers) ||
        !NumberOption("post-filter", 0.0, PostFilterFwhmMax, &fwhm) || !SeedOption("seed", &seed) ||
        !ReadSubsetList() || !ChoiceOption("lang", LanguageNames, Languages, &Language) || (HasOption("phantom") && !PhantomFromOptions(&phantom, &scale)))
        return ExitUsage;
    double z = (double)(LastSlice - row), left = 0.0, top = 0.0;
    int s = LastSlice - (int)row;
    RegionCount = 0;
    FlatKnown = 0;
    if (phantom >= 0) {
        TruthFromPhantom(z);
        AddSphereRegions(z);
    } else {
        if (!ReadPicture(OptionText("picture"), ImageSide, ImageSide, "a slice")) return ExitFailed;
        TruthFromPicture();
        left = PictureLeft(), top = PictureTop();
    }
    int given = 0;
    for (int n = 0; n < OptionCount; n++) {
        double disc[3];
        if (strcmp(OptionName[n], "region") != 0) continue;
        if (!DiscText("region", OptionValue[n], disc)) return ExitUsage;
        if (given == 0) RegionCount = 0;
        char name[RegionNameBytes];
        snprintf(name, sizeof name, "region%d", ++given);
        if (!AddRegion(name, disc[0] + left, disc[1] + top, disc[2])) return ExitUsage;
    }
    if (HasOption("flat")) {
        if (!DiscText("flat", OptionText("flat"), FlatDisc)) return ExitUsage;
        FlatDisc[0] += left, FlatDisc[1] += top;
        FlatKnown = 1;
    } else {
        FindFlatRegion(10.0);
    }
    RecordCount = 0;
    for (int k : RecordedIterations)
        if (k < iterations) RecordAt[RecordCount++] = k;
    RecordAt[RecordCount++] = (int)iterations;

    // The folder and its files are tried before the long work.
    const char *folder = Positional[0];
    if (strlen(folder) + 32 > (size_t)FolderBytes) return RefuseWith(ExitUsage, "the folder's name is too long");
    std::error_code error;
    std::filesystem::create_directory(HostPath(folder), error);
    if (!std::filesystem::is_directory(HostPath(folder), error))
        return RefuseWith(ExitFailed, "%s: cannot make that folder, or it is a file", Printable(folder));
    char csvPath[FolderBytes], pagePath[FolderBytes];
    if (!TryFile(folder, "tradeoff.csv", csvPath) || !TryFile(folder, "index.html", pagePath)) return ExitFailed;

    if (phantom >= 0) {
        ProjectPhantom(counts);
    } else {
        memset(SampleVolume, 0, sizeof SampleVolume);
        ProjectPictureIntoSlice(s);
        if (!(LargestSample() > 0.0f)) return RefuseWith(ExitFailed, "the picture is black: nothing to project");
        ScaleSampleVolume(counts);
    }
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) MeanCounts[a][r] = SampleVolume[s][a][r];
    ClearEnsemble();
    printf("%ld realisations of row %ld of %s, largest expected count %g, seeds %llu on, %ld at once\n", realisations,
           row, phantom == 0 ? "the head phantom" : phantom == 1 ? "the rods phantom" : Printable(OptionText("picture")),
           counts, (unsigned long long)seed, workers);
    PostFwhm = fwhm, FirstSeed = seed;
    RebuildRealisations(realisations, (int)workers);
    ListRows(fwhm);
    for (int n = 0; n < RowCount; n++) {
        MeasureEnsemble(Rows[n].slot);
        for (int r = 0; r < RegionCount; r++) Recovery[n][r] = EnsembleRecovery[r];
        Noise[n] = EnsembleNoise;
        Bias[n] = EnsembleBiasRms;
    }
    if (!WriteCsv(csvPath) || !WritePage(folder, pagePath, row, realisations, counts)) return ExitFailed;
    printf("wrote %s and %s\n", Printable(csvPath), Printable(pagePath));
    return ExitDone;
}
