// The phantoms: sums of uniform bodies (ellipsoids and upright elliptic cylinders) in
// slice coordinates. x runs along the image's first coordinate P (to the right), y along
// its second coordinate Q (upward in the final picture), both in pixels from the
// rotation centre (RotationCentre); z is the file slice index, growing upward.
#pragma once

const int ShapeEllipsoid = 0;
const int ShapeCylinder = 1;   // elliptic cross-section, flat top and bottom

const int BodiesMax = 128;
extern int BodyCount;                   // bodies of the current phantom
extern int BodyShape[BodiesMax];        // ShapeEllipsoid or ShapeCylinder
extern double BodyX[BodiesMax];         // centre, pixels right of the rotation centre
extern double BodyY[BodiesMax];         // centre, pixels above the rotation centre
extern double BodyZ[BodiesMax];         // centre, slices
extern double BodySemiX[BodiesMax];     // semi-axis along the body's own x, pixels
extern double BodySemiY[BodiesMax];     // semi-axis along the body's own y, pixels
extern double BodySemiZ[BodiesMax];     // ellipsoid: semi-axis; cylinder: half height; slices
extern double BodyTilt[BodiesMax];      // turn of the body's own x from x, degrees anticlockwise
extern double BodyDensity[BodiesMax];   // added activity per pixel; negative bodies carve
extern double BodyMuPerCm[BodiesMax];   // added attenuation at 511 keV, per cm; 0 unless set

// Attenuation of 511 keV photons: soft tissue as water, and bone.
const double WaterMuPerCm = 0.096;
const double BoneMuPerCm = 0.17;

const int HeadMiddleSlice = 43;         // slice through the centres of three hot spheres

void ClearPhantom();
void AddBody(int shape, double x, double y, double z, double semiX, double semiY,
             double semiZ, double tiltDegrees, double density);

// Head: scalp, a low-activity skull, brain, ventricles, a cerebellum-like region, and
// hot and cold spheres of several sizes at several heights. All water but the skull,
// which is bone.
void BuildHeadPhantom();
// Resolution: a uniform cylinder holding six triangular groups of hot rods, one
// diameter per group, the diameters falling anticlockwise from the top. All water.
void BuildRodPhantom();

// Scales the current phantom about the axis and the middle slice, so spheres stay
// spheres and the middle slice still cuts the same bodies through their centres.
void ScalePhantom(double factor);
// The largest distance from the axis that the current phantom reaches, pixels.
double PhantomReach();

// Semi-axes of body b's cross-section at height z; 0 when the body misses that plane.
int BodySection(int b, double z, double *semiX, double *semiY);

// Activity at a point.
double PhantomDensity(double x, double y, double z);

// Sets up the projection of the plane at height z along the lines
// x cos(theta) + y sin(theta) = t, theta in degrees.
void PrepareProjection(double z, double thetaDegrees);
// The exact integral of the prepared plane along the line at offset t: the sum of the
// bodies' chords times their densities.
double ProjectionAt(double t);
// The same for the attenuation: the integral of BodyMuPerCm along the line, per cm
// times pixels of path.
double MuProjectionAt(double t);
