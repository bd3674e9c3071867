#include "tools/icon/icon_picture.h"

#include "teaching/portable_math.h"

unsigned char IconPixels[IconMaxSide][IconMaxSide][4];

const int Subsamples = 4;               // samples per pixel along each axis
const int Detectors = 16;               // blocks on the ring
static double DetectorX[Detectors];     // block centres, in icon widths from the middle, x right
static double DetectorY[Detectors];     // y up

const double HalfSide = 0.48;           // the backdrop's half width, in icon widths
const double CornerRadius = 0.12;       // its rounded corners
const double RingRadius = 0.375;        // distance of the blocks from the middle
const double DetectorRadius = 0.045;    // each block is a disc this wide
const double HeadX = 0.0, HeadY = -0.01, HeadHalfWidth = 0.19, HeadHalfHeight = 0.23;
const double LineDegrees = 22.5;        // the line of response joins blocks 1 and 9
const double LineHalfWidth = 0.02;
const double HotAlong = 0.09;           // the hot spot sits on the line, off the middle
const double HotRadius = 0.055;

const int Outside = -1;
const int Backdrop = 0, Head = 1, Line = 2, HotSpot = 3, Detector = 4;
const int Colours = 5;
const int Palette[Colours][3] = {       // red, green, blue
    {24, 38, 84},     // backdrop: night blue
    {170, 170, 170},  // head: grey
    {255, 214, 40},   // line of response: yellow
    {235, 50, 35},    // hot spot: red
    {120, 200, 255},  // detectors: light blue
};

static int InsideDisc(double x, double y, double cx, double cy, double radius) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

static int InsideBackdrop(double x, double y) {
    double ax = x < 0 ? -x : x, ay = y < 0 ? -y : y;
    if (ax > HalfSide || ay > HalfSide) return 0;
    double dx = ax - (HalfSide - CornerRadius), dy = ay - (HalfSide - CornerRadius);
    if (dx <= 0 || dy <= 0) return 1;
    return dx * dx + dy * dy <= CornerRadius * CornerRadius;
}

// The colour at a point, painted back to front.
static int ColourAt(double x, double y, double lineCos, double lineSin) {
    if (!InsideBackdrop(x, y)) return Outside;
    int colour = Backdrop;
    double hx = (x - HeadX) / HeadHalfWidth, hy = (y - HeadY) / HeadHalfHeight;
    if (hx * hx + hy * hy <= 1.0) colour = Head;
    double across = x * lineSin - y * lineCos, along = x * lineCos + y * lineSin;
    if (across <= LineHalfWidth && across >= -LineHalfWidth && along <= RingRadius && along >= -RingRadius)
        colour = Line;
    if (InsideDisc(x, y, HotAlong * lineCos, HotAlong * lineSin, HotRadius)) colour = HotSpot;
    for (int k = 0; k < Detectors; k++)
        if (InsideDisc(x, y, DetectorX[k], DetectorY[k], DetectorRadius)) colour = Detector;
    return colour;
}

void DrawIcon(int side) {
    if (side < 1 || side > IconMaxSide) return;
    for (int k = 0; k < Detectors; k++) {
        DetectorX[k] = RingRadius * CosDegrees(k * 360.0 / Detectors);
        DetectorY[k] = RingRadius * SinDegrees(k * 360.0 / Detectors);
    }
    double lineCos = CosDegrees(LineDegrees), lineSin = SinDegrees(LineDegrees);
    const int samples = Subsamples * Subsamples;
    for (int row = 0; row < side; row++) {
        for (int column = 0; column < side; column++) {
            int covered = 0, sum[3] = {0, 0, 0};
            for (int sy = 0; sy < Subsamples; sy++) {
                for (int sx = 0; sx < Subsamples; sx++) {
                    double x = (column * Subsamples + sx + 0.5) / (side * Subsamples) - 0.5;
                    double y = 0.5 - (row * Subsamples + sy + 0.5) / (side * Subsamples);
                    int colour = ColourAt(x, y, lineCos, lineSin);
                    if (colour == Outside) continue;
                    covered++;
                    for (int c = 0; c < 3; c++) sum[c] += Palette[colour][c];
                }
            }
            unsigned char *pixel = IconPixels[row][column];
            for (int c = 0; c < 3; c++)
                pixel[2 - c] = (unsigned char)(covered ? (sum[c] + covered / 2) / covered : 0);
            pixel[3] = (unsigned char)((covered * 255 + samples / 2) / samples);
        }
    }
}
