// The filter's plot: taps 0..20 as a curve mirrored about the panel's centre line.
#include "recon/filter_plot.h"

#include "app/window_side.h"
#include "recon/working_arrays.h"

const int PanelLeft = 500;          // the black panel behind the curve
const int PanelTop = 130;
const int PanelRight = 750;
const int PanelBottom = 400;
const int LabelX = 500;
const int LabelY = 370;
const int LabelHeight = 22;
const int CurvePenWidth = 4;
const int CentreX = 600;            // x of tap 0
const int ZeroY = 300;              // y of a zero tap
const int TapStepX = 5;             // pixels from one tap to the next
const int TapSegments = 20;         // segments per half: taps 0..20
const double PixelsPerUnit = 10.0;  // pixels up per unit of tap value
const int OffsetLimit = 100000;     // farthest offset drawn, far beyond the picture

int FilterPlotOffset(double tap) {
    double scaled = tap * PixelsPerUnit;
    if (scaled >= OffsetLimit) return OffsetLimit;
    if (scaled <= -OffsetLimit) return -OffsetLimit;
    if (scaled != scaled) return 0;  // NaN: no height to show
    return (int)scaled;              // in range: truncation toward zero
}

void PlotFilter() {
    DrawColor = ColorBlack;
    FillBox(PanelLeft, PanelTop, PanelRight, PanelBottom);
    PenWidth = CurvePenWidth;
    DrawColor = ColorWhite;
    DrawLabel(LabelX, LabelY, "Real Space Filter", LabelHeight);
    DrawColor = ColorYellow;
    for (int i = 0; i < TapSegments; i++) {
        int y0 = ZeroY - FilterPlotOffset(FilterTaps[i]);
        int y1 = ZeroY - FilterPlotOffset(FilterTaps[i + 1]);
        DrawLine(CentreX + TapStepX * i, y0, CentreX + TapStepX * (i + 1), y1);
        DrawLine(CentreX - TapStepX * i, y0, CentreX - TapStepX * (i + 1), y1);
    }
    GraphicsFlush();
    PenWidth = 1;
}
