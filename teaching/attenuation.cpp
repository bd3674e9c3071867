#include "teaching/attenuation.h"

#include <string.h>

#include "teaching/phantoms.h"
#include "teaching/picture_file.h"
#include "teaching/picture_projection.h"
#include "teaching/portable_math.h"
#include "teaching/sample_volume.h"

float AttenuationFactor[Slices][Angles][Bins];
double MapShiftRight;
double MapShiftUp;

const double MmPerCm = 10.0;

// e^-path; a path of rounding's size below 0 counts as none.
static float FactorOf(double path) { return (float)ExpOfNegative(path > 0.0 ? path : 0.0); }

// A map moved by (right, up) has along x cos + y sin = t what the map has at t less the
// move's share across the line.
static double ShiftAcross(double degrees) { return MapShiftRight * CosDegrees(degrees) + MapShiftUp * SinDegrees(degrees); }

void PhantomAttenuation(int s, double pixelMm) {
    double cmPerPixel = pixelMm / MmPerCm;
    for (int a = 0; a < Angles; a++) {
        PrepareProjection((double)s, a * AngleStepDegrees);
        double shift = ShiftAcross(a * AngleStepDegrees);
        for (int r = 0; r < Bins; r++)
            AttenuationFactor[s][a][r] = FactorOf(MuProjectionAt(r - RotationCentre - shift) * cmPerPixel);
    }
}

void PictureAttenuation(int s, double pixelMm) {
    double cmPerPixel = pixelMm / MmPerCm;
    for (int a = 0; a < Angles; a++) {
        double shift = ShiftAcross(a * AngleStepDegrees);
        for (int r = 0; r < Bins; r++)
            AttenuationFactor[s][a][r] =
                FactorOf(PictureLineIntegral(a * AngleStepDegrees, r - RotationCentre - shift) * cmPerPixel);
    }
}

void WaterWhereNotBlack() {
    for (int row = 0; row < PictureRows; row++)
        for (int column = 0; column < PictureColumns; column++)
            PictureLevel[row][column] = PictureLevel[row][column] > 0.0f ? (float)WaterMuPerCm : 0.0f;
    PictureWhite = 1.0;
}

void MuFromGreys() {
    for (int row = 0; row < PictureRows; row++)
        for (int column = 0; column < PictureColumns; column++)
            PictureLevel[row][column] = (float)(MuMapWhitePerCm * PictureLevel[row][column] / PictureWhite);
    PictureWhite = 1.0;
}

void SpreadAttenuation(int s) {
    for (int other = 0; other < Slices; other++)
        if (other != s) memcpy(AttenuationFactor[other], AttenuationFactor[s], sizeof AttenuationFactor[s]);
}

void ClearAttenuation() {
    for (int s = 0; s < Slices; s++)
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++) AttenuationFactor[s][a][r] = 1.0f;
}

void ApplyAttenuation() {
    for (int s = 0; s < Slices; s++)
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++) SampleVolume[s][a][r] *= AttenuationFactor[s][a][r];
}

void CorrectAttenuation() {
    for (int s = 0; s < Slices; s++)
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++) {
                // A factor that rounded to 0 let no count through: the bin stays 0.
                float factor = AttenuationFactor[s][a][r];
                SampleVolume[s][a][r] = factor > 0.0f ? SampleVolume[s][a][r] / factor : 0.0f;
            }
}

float SmallestAttenuation() {
    float smallest = 1.0f;
    for (int s = 0; s < Slices; s++)
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++)
                if (AttenuationFactor[s][a][r] < smallest) smallest = AttenuationFactor[s][a][r];
    return smallest;
}
