#include "teaching/phantoms.h"

#include <math.h>

#include "teaching/portable_math.h"

int BodyCount;
int BodyShape[BodiesMax];
double BodyX[BodiesMax];
double BodyY[BodiesMax];
double BodyZ[BodiesMax];
double BodySemiX[BodiesMax];
double BodySemiY[BodiesMax];
double BodySemiZ[BodiesMax];
double BodyTilt[BodiesMax];
double BodyDensity[BodiesMax];
double BodyMuPerCm[BodiesMax];

static double BodyCos[BodiesMax];        // cosine of BodyTilt
static double BodySin[BodiesMax];        // sine of BodyTilt
static int LineBodies;                   // bodies cut by the prepared plane
static int LineBody[BodiesMax];          // which body each is
static double LineOffset[BodiesMax];     // line offset t through each body's centre, pixels
static double LineReachSquared[BodiesMax];  // squared half-width of its shadow, pixels^2
static double LineChordScale[BodiesMax];    // chord = scale x sqrt(reach^2 - (t - offset)^2)

void ClearPhantom() {
    BodyCount = 0;
    LineBodies = 0;
}

void AddBody(int shape, double x, double y, double z, double semiX, double semiY,
             double semiZ, double tiltDegrees, double density) {
    if (BodyCount >= BodiesMax) return;
    int b = BodyCount++;
    BodyShape[b] = shape;
    BodyX[b] = x;
    BodyY[b] = y;
    BodyZ[b] = z;
    BodySemiX[b] = semiX;
    BodySemiY[b] = semiY;
    BodySemiZ[b] = semiZ;
    BodyTilt[b] = tiltDegrees;
    BodyDensity[b] = density;
    BodyMuPerCm[b] = 0.0;
    BodyCos[b] = CosDegrees(tiltDegrees);
    BodySin[b] = SinDegrees(tiltDegrees);
}

static void AddSphere(double x, double y, double z, double radius, double density) {
    AddBody(ShapeEllipsoid, x, y, z, radius, radius, radius, 0.0, density);
}

void BuildHeadPhantom() {
    ClearPhantom();
    // Layers from the outside in: scalp 1.2, skull 0.3, brain 1.0.
    AddBody(ShapeEllipsoid, 0.0, 0.0, 44.0, 66.0, 78.0, 41.0, 0.0, 1.2);
    AddBody(ShapeEllipsoid, 0.0, 0.0, 44.0, 62.0, 74.0, 38.0, 0.0, -0.9);
    AddBody(ShapeEllipsoid, 0.0, 1.0, 45.0, 59.0, 71.0, 35.5, 0.0, 0.7);
    // Water throughout, bone between the skull's outer and inner surfaces.
    BodyMuPerCm[0] = WaterMuPerCm;
    BodyMuPerCm[1] = BoneMuPerCm - WaterMuPerCm;
    BodyMuPerCm[2] = WaterMuPerCm - BoneMuPerCm;
    // Ventricles, splayed like a butterfly, above the middle slice.
    AddBody(ShapeEllipsoid, -9.0, 8.0, 52.0, 5.0, 16.0, 9.0, -20.0, -0.7);
    AddBody(ShapeEllipsoid, 9.0, 8.0, 52.0, 5.0, 16.0, 9.0, 20.0, -0.7);
    // A wide, flat region low at the back.
    AddBody(ShapeEllipsoid, 0.0, -40.0, 18.0, 34.0, 18.0, 10.0, 0.0, 0.3);
    // Hot spheres, three of them centred on the middle slice.
    AddSphere(-28.0, 30.0, HeadMiddleSlice, 9.0, 1.0);
    AddSphere(30.0, -22.0, HeadMiddleSlice, 6.0, 1.2);
    AddSphere(6.0, -44.0, HeadMiddleSlice, 4.0, 1.5);
    AddSphere(24.0, 34.0, 62.0, 7.0, 1.0);
    AddSphere(-20.0, -30.0, 26.0, 8.0, 0.8);
    AddSphere(-4.0, 10.0, 70.0, 4.0, 1.5);
    // Cold spheres: no activity inside.
    AddSphere(-34.0, -18.0, HeadMiddleSlice, 8.0, -1.0);
    AddSphere(36.0, 14.0, 30.0, 6.0, -1.0);
    AddSphere(10.0, 40.0, 56.0, 5.0, -1.0);
}

const int RodGroups = 6;
const double RodDiameters[RodGroups] = {12.0, 8.0, 6.0, 4.0, 3.0, 2.0};  // pixels
const int RodRows[RodGroups] = {2, 3, 3, 4, 5, 7};   // rows of the triangle: 1, 2, ... rods
const double RodApexRadius = 26.0;    // distance of each triangle's apex from the axis

void BuildRodPhantom() {
    ClearPhantom();
    AddBody(ShapeCylinder, 0.0, 0.0, 43.0, 70.0, 70.0, 34.5, 0.0, 1.0);
    BodyMuPerCm[0] = WaterMuPerCm;   // the rods are water too
    for (int g = 0; g < RodGroups; g++) {
        // Group g points from the axis at 90 + 60 g degrees; the apex rod is nearest.
        double c = CosDegrees(90.0 + 60.0 * g);
        double s = SinDegrees(90.0 + 60.0 * g);
        double spacing = 2.0 * RodDiameters[g];
        for (int row = 0; row < RodRows[g]; row++) {
            double along = RodApexRadius + row * spacing * 0.8660254037844386;
            for (int i = 0; i <= row; i++) {
                double across = (i - 0.5 * row) * spacing;
                AddBody(ShapeCylinder, along * c - across * s, along * s + across * c, 43.0,
                        0.5 * RodDiameters[g], 0.5 * RodDiameters[g], 24.5, 0.0, 3.0);
            }
        }
    }
}

void ScalePhantom(double factor) {
    for (int b = 0; b < BodyCount; b++) {
        BodyX[b] *= factor;
        BodyY[b] *= factor;
        BodyZ[b] = HeadMiddleSlice + (BodyZ[b] - HeadMiddleSlice) * factor;
        BodySemiX[b] *= factor;
        BodySemiY[b] *= factor;
        BodySemiZ[b] *= factor;
    }
}

double PhantomReach() {
    double reach = 0.0;
    for (int b = 0; b < BodyCount; b++) {
        double centre = sqrt(BodyX[b] * BodyX[b] + BodyY[b] * BodyY[b]);
        double semi = BodySemiX[b] > BodySemiY[b] ? BodySemiX[b] : BodySemiY[b];
        if (centre + semi > reach) reach = centre + semi;
    }
    return reach;
}

int BodySection(int b, double z, double *semiX, double *semiY) {
    double dz = (z - BodyZ[b]) / BodySemiZ[b];
    double k = 1.0;
    if (BodyShape[b] == ShapeEllipsoid) {
        if (!(dz * dz < 1.0)) return 0;
        k = sqrt(1.0 - dz * dz);
    } else if (!(dz >= -1.0 && dz <= 1.0)) {
        return 0;
    }
    *semiX = BodySemiX[b] * k;
    *semiY = BodySemiY[b] * k;
    return 1;
}

double PhantomDensity(double x, double y, double z) {
    double sum = 0.0;
    for (int b = 0; b < BodyCount; b++) {
        double semiX, semiY;
        if (!BodySection(b, z, &semiX, &semiY)) continue;
        double dx = x - BodyX[b];
        double dy = y - BodyY[b];
        double u = (dx * BodyCos[b] + dy * BodySin[b]) / semiX;
        double v = (dy * BodyCos[b] - dx * BodySin[b]) / semiY;
        if (u * u + v * v <= 1.0) sum += BodyDensity[b];
    }
    return sum;
}

void PrepareProjection(double z, double thetaDegrees) {
    double c = CosDegrees(thetaDegrees);
    double s = SinDegrees(thetaDegrees);
    LineBodies = 0;
    for (int b = 0; b < BodyCount; b++) {
        double semiX, semiY;
        if (!BodySection(b, z, &semiX, &semiY)) continue;
        // The line's normal in the body's own axes: angle theta - tilt.
        double cn = c * BodyCos[b] + s * BodySin[b];
        double sn = s * BodyCos[b] - c * BodySin[b];
        double reach2 = semiX * semiX * cn * cn + semiY * semiY * sn * sn;
        if (!(reach2 > 0.0)) continue;
        int n = LineBodies++;
        LineBody[n] = b;
        LineOffset[n] = BodyX[b] * c + BodyY[b] * s;
        LineReachSquared[n] = reach2;
        LineChordScale[n] = 2.0 * semiX * semiY / reach2;
    }
}

// The bodies' chords along the line at offset t, each times its weight.
static double WeightedChords(double t, const double weight[BodiesMax]) {
    double sum = 0.0;
    for (int n = 0; n < LineBodies; n++) {
        double d = t - LineOffset[n];
        double inside = LineReachSquared[n] - d * d;
        if (inside > 0.0) sum += LineChordScale[n] * weight[LineBody[n]] * sqrt(inside);
    }
    return sum;
}

double ProjectionAt(double t) { return WeightedChords(t, BodyDensity); }

double MuProjectionAt(double t) { return WeightedChords(t, BodyMuPerCm); }
