// The head phantom's middle slice, reconstructed by the program's own numerics (filter,
// smear, rotate, fill gaps, clip, sum, subtract the background): the ramp filter puts
// the hot spheres where the phantom has them, and inside the head the picture resembles
// the true slice more closely than simple backprojection's. Since the phantom's x and y
// are the picture's P and Q, this also shows the slice upright and unmirrored.
#include <math.h>
#include <stdio.h>

#include <gtest/gtest.h>

#include "teaching/filter_taps.h"
#include "teaching/phantoms.h"
#include "teaching/poisson_noise.h"
#include "teaching/sample_volume.h"
#include "recon/backprojection.h"
#include "recon/gap_filling.h"
#include "recon/reconstruction.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"

namespace reconstruction_test {

static float Truth[ImageSide][ImageSide];       // [P][Q] activity of the middle slice
static float Displayed[ImageSide][ImageSide];   // [P][Q] reconstruction as shown, >= 0

static void LoadMiddleSlice(int noisy) {
    BuildHeadPhantom();
    ProjectPhantom(1000.0);
    if (noisy) AddPoissonNoise(&SampleVolume[0][0][0], (long)Slices * Angles * Bins, 0x5EED0001ULL);
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++) SliceSinogram[r][a] = SampleVolume[HeadMiddleSlice][a][r];
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            Truth[p][q] = (float)PhantomDensity(p - RotationCentre, q - RotationCentre, HeadMiddleSlice);
}

// The reconstruction's steps in the workflow's order; negatives show black.
static void Reconstruct(char method) {
    MakeFilterTaps(FilterRamp, FilterTaps);
    ReconstructSlice(method);
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) Displayed[p][q] = fmaxf(ReconImage[p][q], 0.0f);
}

// Pearson correlation of the shown picture with the truth, over the whole picture or
// only inside the head's outline (the scalp, the phantom's first body). Over the whole
// picture the head's silhouette dominates, which a blurred picture matches as well.
static double CorrelationWithTruth(int insideHeadOnly) {
    double semiX, semiY;
    BodySection(0, HeadMiddleSlice, &semiX, &semiY);
    double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            double u = (p - RotationCentre) / semiX, w = (q - RotationCentre) / semiY;
            if (insideHeadOnly && u * u + w * w > 1.0) continue;
            double x = Displayed[p][q], y = Truth[p][q];
            n++; sx += x; sy += y; sxx += x * x; syy += y * y; sxy += x * y;
        }
    return (sxy - sx * sy / n) / sqrt((sxx - sx * sx / n) * (syy - sy * sy / n));
}

struct SpherePlace { double p, q, radius, offset, contrast; };

// Hot spheres centred on the middle slice, as the phantom lists them; the pixel centre
// of P lies at x = P - 127.5.
static int FindHotSpheres(SpherePlace *places, int capacity) {
    int n = 0;
    for (int b = 0; b < BodyCount && n < capacity; b++)
        if (BodyShape[b] == ShapeEllipsoid && BodyDensity[b] > 0.0 && BodyZ[b] == HeadMiddleSlice &&
            BodySemiX[b] == BodySemiY[b] && BodySemiX[b] == BodySemiZ[b])
            places[n++] = {BodyX[b] + RotationCentre, BodyY[b] + RotationCentre, BodySemiX[b], 0.0, 0.0};
    return n;
}

// Centroid of the bright half of a window around the expected place, and the mean
// inside the sphere over the mean of a ring around it.
static void Measure(SpherePlace *place) {
    int reach = (int)place->radius + 5;
    int p0 = (int)place->p, q0 = (int)place->q;
    float low = Displayed[p0][q0], high = low;
    for (int p = p0 - reach; p <= p0 + reach; p++)
        for (int q = q0 - reach; q <= q0 + reach; q++) {
            low = fminf(low, Displayed[p][q]);
            high = fmaxf(high, Displayed[p][q]);
        }
    double threshold = low + 0.5 * (high - low), weight = 0, wp = 0, wq = 0;
    double inside = 0, ring = 0;
    int insideCount = 0, ringCount = 0;
    for (int p = p0 - reach; p <= p0 + reach; p++)
        for (int q = q0 - reach; q <= q0 + reach; q++) {
            double v = Displayed[p][q];
            if (v > threshold) {
                weight += v - threshold;
                wp += (v - threshold) * p;
                wq += (v - threshold) * q;
            }
            double d = hypot(p - place->p, q - place->q);
            if (d < place->radius - 1.0) {
                inside += v;
                insideCount++;
            }
            if (d > place->radius + 2.0 && d < place->radius + 5.0) {
                ring += v;
                ringCount++;
            }
        }
    place->offset = weight > 0 ? hypot(wp / weight - place->p, wq / weight - place->q) : 1e9;
    place->contrast = (inside / insideCount) / (ring / ringCount + 1e-9);
}

TEST(PhantomReconstruction, RampFilterPlacesHotSpheresAndBeatsSimpleBackprojection) {
    for (int noisy = 0; noisy < 2; noisy++) {
        LoadMiddleSlice(noisy);
        SpherePlace places[8];
        int count = FindHotSpheres(places, 8);
        ASSERT_EQ(count, 3);
        double insideHead[2];
        for (int m = 0; m < 2; m++) {
            char method = m == 0 ? '1' : '2';
            Reconstruct(method);
            insideHead[m] = CorrelationWithTruth(1);
            printf("%s, %s: correlation with the true slice %.3f inside the head, %.3f overall\n",
                   noisy ? "Poisson" : "noise-free", m == 0 ? "simple" : "ramp-filtered",
                   insideHead[m], CorrelationWithTruth(0));
            for (int i = 0; i < count; i++) {
                Measure(&places[i]);
                printf("  hot sphere of radius %.0f at P %.1f, Q %.1f: found %.2f pixels off, "
                       "contrast %.2f\n", places[i].radius, places[i].p, places[i].q,
                       places[i].offset, places[i].contrast);
                if (method == '1') continue;
                EXPECT_LE(places[i].offset, 2.0) << noisy << " sphere " << i;
                EXPECT_GT(places[i].contrast, 1.3) << noisy << " sphere " << i;
            }
        }
        EXPECT_GT(insideHead[1], insideHead[0] + 0.2) << noisy;
    }
}

}  // namespace reconstruction_test
