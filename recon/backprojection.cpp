// The method question and the backprojection of every angle into its own layer.
#include "recon/backprojection.h"

#include "console/input_line.h"
#include "console/text_ring.h"
#include "graphics/truncation.h"
#include "recon/rotation_trig.h"
#include "recon/working_arrays.h"

const int LastBin = Bins - 1;       // highest radial bin
const int LastPixel = ImageSide - 1;
const double PixelRounding = 0.5;   // truncating after +0.5 picks the nearest pixel

char ChooseMethod() {
    char method = 0;
    ConsolePrint("\n\n Select Reconstruction method ");
    ConsolePrint("\n\n 1: Simple BackProjection \n 2: Filtered BackProjection ");
    ConsolePrint("\n ");
    ConsoleScan("%c", &method);
    return method;
}

void BackprojectAngles(char method) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            for (int a = 0; a < Angles; a++) AngleStack[p][q][a] = HoleMarker;
    for (int a = 0; a < Angles; a++) {
        FilterColumn(a, method);
        SmearColumn(a);
        RotateIntoStack(a);
    }
}

void FilterColumn(int a, char method) {
    if (method == '1') {
        for (int r = 0; r < Bins; r++) FilteredSinogram[r][a] = SliceSinogram[r][a];
        return;
    }
    // Centre and forward side first, then the backward side, each outward: the
    // order of the additions decides the last bits of the sum.
    for (int k = 0; k < Bins; k++) {
        double sum = 0.0;
        int forward = LastBin - k < FilterTapCount - 1 ? LastBin - k : FilterTapCount - 1;
        for (int l = 0; l <= forward; l++) sum += (double)SliceSinogram[k + l][a] * FilterTaps[l];
        int backward = k < FilterTapCount - 1 ? k : FilterTapCount - 1;
        for (int m = 1; m <= backward; m++) sum += (double)SliceSinogram[k - m][a] * FilterTaps[m];
        FilteredSinogram[k][a] = (float)sum;
    }
}

void SmearColumn(int a) {
    for (int r = 0; r < Bins; r++) {
        float value = FilteredSinogram[r][a];
        for (int c = 0; c < ImageSide; c++) SmearImage[r][c] = value;
    }
}

void RotateIntoStack(int a) {
    double theta = ((double)a * AngleStepDegrees) * RadiansPerDegree;
    double c, s;
    RotationCosSin(theta, &c, &s);
    // Forward mapping: later source pixels overwrite earlier ones on the same target.
    for (int i = 0; i < ImageSide; i++) {
        double v = i - RotationCentre;
        for (int j = 0; j < ImageSide; j++) {
            double u = j - RotationCentre;
            int32_t p = TruncateToInt32(((u * c - v * s) + RotationCentre) + PixelRounding);
            int32_t q = TruncateToInt32(((s * u + v * c) + RotationCentre) + PixelRounding);
            if (p >= 0 && p <= LastPixel && q >= 0 && q <= LastPixel) AngleStack[p][q][a] = SmearImage[j][i];
        }
    }
}
