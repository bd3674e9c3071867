#include "teaching/mlem_steps.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <system_error>

#include "teaching/file_replacement.h"
#include "teaching/grey_picture.h"
#include "teaching/host_path.h"
#include "teaching/html_page.h"
#include "teaching/mlem.h"
#include "teaching/picture_projection.h"
#include "teaching/tool_error.h"

double StepImage[ImageSide][ImageSide];
double StepExpected[Angles][Bins];
double StepRatio[Angles][Bins];
double StepBackprojected[ImageSide][ImageSide];
double StepSensitivity[ImageSide][ImageSide];
double StepUpdate[ImageSide][ImageSide];

const int StepPictures = 7;          // pictures of one iteration
const int CaptionBytes = 480;
const int PathBytes = ArgumentBytesMax + 64;
const int PictureRowsMax = ImageSide;   // an image is ImageSide rows; a sinogram Angles
static_assert(Angles <= ImageSide && Bins == ImageSide, "pictures are ImageSide wide and at most as high");
static_assert(ImageSide * 3 % 4 == 0, "BMP rows need no padding");

static char Folder[PathBytes];                         // where the pictures and the page go
static char PagePath[PathBytes];                    // Folder/index.html
static int Begun;                                   // BeginSteps found the folder writable
static char Title[PathBytes];                       // the page's title: the volume and row
static int LastIteration;                           // the run's last iteration
static double Likelihood[StepIterationsMax + 1];    // [k] after iteration k; [0] the flat start
static int ShownCount;                              // iterations whose pictures are written
static int ShownIteration[StepsShownMax];           // [i] which
static char Caption[StepsShownMax][StepPictures][CaptionBytes];   // [i][picture] its numbers and greys
static unsigned char Greys[PictureRowsMax][ImageSide];            // [row from the top][column] one picture
static const char *const PictureName[StepPictures] = {"image", "measured", "expected", "ratio",
                                                      "backprojected", "sensitivity", "update"};

static const int DefaultShown[] = {1, 2, 5, 10, 20, 50};

int StepShown(int k) {
    if (k == LastIteration) return 1;
    for (int shown : DefaultShown)
        if (k == shown) return 1;
    return 0;
}

int BeginSteps(const char *folder, const char *input, long row, int iterations) {
    if (strlen(folder) + 32 > (size_t)PathBytes) return Refuse("--steps %s: the folder's name is too long", Printable(folder));
    std::error_code error;
    std::filesystem::path path = HostPath(folder);
    std::filesystem::create_directory(path, error);
    if (!std::filesystem::is_directory(path, error))
        return Refuse("--steps %s: cannot make that folder, or it is a file", Printable(folder));
    snprintf(Folder, sizeof Folder, "%s", folder);
    snprintf(PagePath, sizeof PagePath, "%s/index.html", folder);
    snprintf(Title, sizeof Title, "MLEM step by step: %s, row %ld", input, row);
    LastIteration = iterations < StepIterationsMax ? iterations : StepIterationsMax;
    ShownCount = 0;
    // Tried at once, so that a folder that cannot be written is refused before the iterations.
    FILE *trial = BeginReplacing(PagePath);
    if (!trial) return 0;
    FinishReplacing(PagePath, trial, 0);
    Begun = 1;
    return 1;
}

static void Watch(int, const double backprojection[ImageSide][ImageSide], const float sensitivity[ImageSide][ImageSide]) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            StepBackprojected[p][q] = backprojection[p][q];
            StepSensitivity[p][q] = sensitivity[p][q];
        }
}

void CaptureStepStart() {
    memcpy(StepImage, MlemImage, sizeof StepImage);
    memcpy(StepExpected, MlemExpected, sizeof StepExpected);
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++)
            StepRatio[a][r] = MlemExpected[a][r] > 0.0 ? MlemCounts[a][r] / MlemExpected[a][r] : 0.0;
    MlemUpdateWatch = Watch;
}

void CaptureStepEnd() {
    MlemUpdateWatch = NULL;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            StepUpdate[p][q] = StepSensitivity[p][q] > 0.0 ? StepBackprojected[p][q] / StepSensitivity[p][q] : 0.0;
}

void NoteStepLikelihood(int k, double value) {
    if (k >= 0 && k <= StepIterationsMax) Likelihood[k] = value;
}

static int WriteGreys(const char *name, int rows) {
    char path[PathBytes + 64];
    snprintf(path, sizeof path, "%s/%s", Folder, name);
    return WriteGreyPicture(path, Greys, rows);
}

static int InFieldPixel(int p, int q) {
    double x = p - RotationCentre, y = q - RotationCentre;
    return x * x + y * y <= FieldRadius * FieldRadius;
}

struct Range { double low, high, sum; long count; };

static Range ImageRange(const double image[ImageSide][ImageSide]) {
    Range range = {INFINITY, -INFINITY, 0.0, 0};
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (InFieldPixel(p, q)) {
                double v = image[p][q];
                range.low = fmin(range.low, v), range.high = fmax(range.high, v), range.sum += v, range.count++;
            }
    return range;
}

static void ImageGreys(const double image[ImageSide][ImageSide], double low, double high) {
    ImageGreysOf(image, low, high, Greys);
}

// A sinogram: bins to the right, angles downward from 0 degrees at the top.
template <class T> static Range SinogramGreys(const T sinogram[Angles][Bins], double low, double high, int onlyExpected) {
    Range range = {INFINITY, -INFINITY, 0.0, 0};
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            double v = sinogram[a][r];
            int counted = !onlyExpected || StepExpected[a][r] > 0.0;
            Greys[a][r] = counted ? GreyBetween(v, low, high) : 0;
            if (!counted) continue;
            range.low = fmin(range.low, v), range.high = fmax(range.high, v), range.sum += v, range.count++;
        }
    return range;
}

// The spread about 1 that a ratio's greys show: its largest step from 1, at most 1.
static double SpreadAboutOne(const Range &range) {
    double spread = fmax(fabs(range.high - 1.0), fabs(1.0 - range.low));
    return spread > 1.0 ? 1.0 : spread > 1e-12 ? spread : 1e-12;
}

// Whether the model multiplies some line by an attenuation factor.
static int AttenuationInModel() {
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++)
            if (MlemFactor[a][r] != 1.0f) return 1;
    return 0;
}

static int Finish(const char *kind, int k, int rows) {
    char name[64];
    snprintf(name, sizeof name, "iteration_%03d_%s.bmp", k, kind);
    return WriteGreys(name, rows);
}

int WriteStepPictures(int k) {
    if (ShownCount >= StepsShownMax) return 1;
    char (*caption)[CaptionBytes] = Caption[ShownCount];
    double measuredPeak = 0.0;
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) measuredPeak = fmax(measuredPeak, MlemCounts[a][r]);

    Range image = ImageRange(StepImage);
    ImageGreys(StepImage, 0.0, image.high);
    snprintf(caption[0], CaptionBytes, "The image before update %d: %.4g to %.4g in the field, mean %.4g. "
             "Grey: black 0, white %.4g (its peak).", k, image.low, image.high, image.sum / image.count, image.high);
    if (!Finish(PictureName[0], k, ImageSide)) return 0;

    Range measured = SinogramGreys(MlemCounts, 0.0, measuredPeak, 0);
    snprintf(caption[1], CaptionBytes, "The measured sinogram y: %.4g counts in all, at most %.4g in a bin. "
             "Angles downward from 0 degrees, bins to the right. Grey: black 0, white %.4g.", measured.sum,
             measured.high, measuredPeak);
    if (!Finish(PictureName[1], k, Angles)) return 0;

    Range model = SinogramGreys(StepExpected, 0.0, measuredPeak, 0);
    snprintf(caption[2], CaptionBytes, "The expected sinogram e, the model's counts for the image: %.4g in all, at "
             "most %.4g in a bin. Grey as the measured one's.", model.sum, model.high);
    if (!Finish(PictureName[2], k, Angles)) return 0;

    Range ratio = SinogramGreys(StepRatio, 0.0, 0.0, 1);
    double spread = SpreadAboutOne(ratio);
    SinogramGreys(StepRatio, 1.0 - spread, 1.0 + spread, 1);
    snprintf(caption[3], CaptionBytes, "The ratio y / e, bin by bin: %.4g to %.4g where e > 0. Grey: 1 mid-grey, "
             "black %.4g, white %.4g (clipped); bins that expect nothing black.", ratio.low, ratio.high,
             1.0 - spread, 1.0 + spread);
    if (!Finish(PictureName[3], k, Angles)) return 0;

    Range back = ImageRange(StepBackprojected), sensitivity = ImageRange(StepSensitivity);
    double backPeak = fmax(back.high, sensitivity.high);
    ImageGreys(StepBackprojected, 0.0, backPeak);
    snprintf(caption[4], CaptionBytes, "The ratio backprojected (each line's ratio times its chords%s): %.4g to %.4g "
             "in the field. Grey: black 0, white %.4g, as the sensitivity's, which it equals where the fit is "
             "perfect.", AttenuationInModel() ? " and its attenuation factor" : "", back.low, back.high, backPeak);
    if (!Finish(PictureName[4], k, ImageSide)) return 0;

    ImageGreys(StepSensitivity, 0.0, backPeak);
    snprintf(caption[5], CaptionBytes, "The sensitivity, the backprojection of %s: %.4g to %.4g in the field. "
             "Grey: black 0, white %.4g.", AttenuationInModel() ? "the attenuation factors" : "ones",
             sensitivity.low, sensitivity.high, backPeak);
    if (!Finish(PictureName[5], k, ImageSide)) return 0;

    Range update = ImageRange(StepUpdate);
    spread = SpreadAboutOne(update);
    ImageGreys(StepUpdate, 1.0 - spread, 1.0 + spread);
    snprintf(caption[6], CaptionBytes, "The update, backprojected ratio over sensitivity, by which each pixel is "
             "multiplied: %.4g to %.4g. Grey: 1 (no change) mid-grey, black %.4g, white %.4g.", update.low,
             update.high, 1.0 - spread, 1.0 + spread);
    if (!Finish(PictureName[6], k, ImageSide)) return 0;
    ShownIteration[ShownCount++] = k;
    return 1;
}

int FinishSteps(int ok) {
    if (!Begun || !ok) return 0;
    Begun = 0;
    FILE *file = BeginReplacing(PagePath);
    if (!file) return 0;
    char text[1200];
    PageBegin(file, "en", Title);
    PageParagraph("Each MLEM update multiplies every pixel of the image by the update: the measured counts y over "
                  "the counts e that the model expects for the image, bin by bin, backprojected along the lines "
                  "through the pixel and divided by the pixel's sensitivity, the backprojection of what one unit "
                  "of activity there would give. Where the model expects too few counts the ratio is above 1 and "
                  "the update raises the pixels on those lines; where it expects too many, it lowers them. "
                  "Images lie as Quorvel's final image: the first axis to the right, the second upward.");
    static double x[StepIterationsMax], y[StepIterationsMax];
    for (int k = 1; k <= LastIteration; k++) x[k - 1] = k, y[k - 1] = Likelihood[k];
    PlotLine line = {"log-likelihood", x, y, LastIteration, 0, NULL};
    snprintf(text, sizeof text, "The Poisson log-likelihood against a perfect fit (0) after each iteration, from "
             "%.6g at the flat start. With one subset it never falls.", Likelihood[0]);
    PageHeading("Log-likelihood");
    PagePlot(&line, 1, "iteration", "log-likelihood", text);
    static char cells[(StepsShownMax + 1) * 3][64];
    const char *cell[(StepsShownMax + 1) * 3];
    snprintf(cells[0], 64, "iteration");
    snprintf(cells[1], 64, "log-likelihood");
    snprintf(cells[2], 64, "gain over the previous iteration");
    for (int i = 0; i < ShownCount; i++) {
        int k = ShownIteration[i];
        snprintf(cells[3 * i + 3], 64, "%d", k);
        snprintf(cells[3 * i + 4], 64, "%.6f", Likelihood[k]);
        snprintf(cells[3 * i + 5], 64, "%.6g", Likelihood[k] - Likelihood[k - 1]);
    }
    for (int i = 0; i < 3 * (ShownCount + 1); i++) cell[i] = cells[i];
    PageTable(cell, ShownCount + 1, 3);
    for (int i = 0; i < ShownCount; i++) {
        int k = ShownIteration[i];
        snprintf(text, sizeof text, "Iteration %d", k);
        PageHeading(text);
        PageRowBegin();
        for (int picture = 0; picture < StepPictures; picture++) {
            char name[64];
            snprintf(name, sizeof name, "iteration_%03d_%s.bmp", k, PictureName[picture]);
            int rows = picture >= 1 && picture <= 3 ? Angles : ImageSide;
            PageFigure(name, ImageSide, rows, Caption[i][picture]);
        }
        PageRowEnd();
    }
    int written = PageEnd();
    if (!FinishReplacing(PagePath, file, written))
        return written ? 0 : Refuse("cannot write %s (is there room?)", Printable(PagePath));
    return 1;
}
