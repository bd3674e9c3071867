// The filter's plot: taps 0..20 as a curve mirrored about the panel's centre line.
#pragma once

// Pixel offset of a tap on the plot: tap x 10 truncated toward zero, bounded.
int FilterPlotOffset(double tap);

void PlotFilter();
