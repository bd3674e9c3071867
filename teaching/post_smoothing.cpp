#include "teaching/post_smoothing.h"

#include <math.h>
#include <string.h>

#include "teaching/picture_projection.h"
#include "teaching/portable_math.h"

const int KernelReach = 82;   // taps either side: 3 sigma of the widest kernel
static_assert(KernelReach >= 3.0 * PostFilterFwhmMax / 2.3548, "the kernel reaches 3 sigma");

static thread_local double Kernel[KernelReach + 1];                 // [distance] weight, unnormalised
static thread_local double Passed[ImageSide][ImageSide];            // [P][Q] after the pass along P
static thread_local unsigned char Inside[ImageSide][ImageSide];     // [P][Q] 1 in the round field

// One pass along P (alongP 1) or Q of from into to, over the field's pixels only. Each
// divides by the weights of the field's pixels it met, so the edge of the field keeps its
// level instead of fading towards the black around it.
static void Pass(const double from[ImageSide][ImageSide], double to[ImageSide][ImageSide], int reach, int alongP) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            if (!Inside[p][q]) continue;
            double sum = 0.0, weight = 0.0;
            for (int d = -reach; d <= reach; d++) {
                int ap = alongP ? p + d : p, aq = alongP ? q : q + d;
                if (ap < 0 || ap >= ImageSide || aq < 0 || aq >= ImageSide || !Inside[ap][aq]) continue;
                sum += Kernel[d < 0 ? -d : d] * from[ap][aq];
                weight += Kernel[d < 0 ? -d : d];
            }
            to[p][q] = sum / weight;
        }
}

void SmoothImage(double image[ImageSide][ImageSide], double fwhm) {
    if (!(fwhm > 0.0)) return;
    double sigma = fwhm / (2.0 * sqrt(2.0 * NaturalLog(2.0)));
    int reach = (int)ceil(3.0 * sigma);
    if (reach > KernelReach) reach = KernelReach;
    for (int d = 0; d <= reach; d++) Kernel[d] = ExpOfNegative(0.5 * d * d / (sigma * sigma));
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            double x = p - RotationCentre, y = q - RotationCentre;
            Inside[p][q] = x * x + y * y <= FieldRadius * FieldRadius;
        }
    Pass(image, Passed, reach, 1);
    Pass(Passed, image, reach, 0);
}
