// The real-space filter: a text file of 128 numbers, its plot and its question.
#pragma once

// Reads up to 128 numbers into FilterTaps; a failed read ends the reading, and taps
// not read keep their values. Returns 0 (and assigns nothing) when the file cannot be opened.
int ReadFilterTaps(const char *path);

// Pixel offset of a tap on the plot: tap x 10 truncated toward zero, bounded.
int FilterPlotOffset(double tap);

void PlotFilter();

// The filter question, dialog, reading, plot and confirmation; leaves the chosen path in path.
void LoadFilter(char *path);
