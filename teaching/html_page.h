// A teaching page: HTML with pictures beside their captions, tables and plots drawn as
// inline SVG, so that it opens in any browser with nothing else. One page at a time,
// written into a file the caller has opened and closes.
#pragma once
#include <stdio.h>

// One line of a plot: points joined, or points alone (markers), each labelled when
// labels is given.
struct PlotLine {
    const char *name;
    const double *x, *y;
    int points;
    int markersOnly;
    const char *const *labels;   // per point, or NULL
};

// Starts the page in file, in language lang ("en" or "ja"), with its title as a heading.
void PageBegin(FILE *file, const char *lang, const char *title);
void PageHeading(const char *text);
void PageParagraph(const char *text);
// A row of figures, which wraps on a narrow window.
void PageRowBegin();
void PageRowEnd();
// A paragraph that is a link to another page beside this one.
void PageLink(const char *source, const char *text);
// A picture file beside the page, shown at width x height, with its caption below it.
void PageFigure(const char *source, int width, int height, const char *caption);
// cells[row * columns + column]; the first row is the heading.
void PageTable(const char *const *cells, int rows, int columns);
// The lines on shared axes, scaled to hold them all, with a legend when there are more
// than one. With xLog the x values are powers of ten, ticked at each whole power.
void PagePlot(const PlotLine *lines, int count, const char *xLabel, const char *yLabel, const char *caption, int xLog = 0);
// Ends the page. Returns 1 when every byte went into the file without error.
int PageEnd();
