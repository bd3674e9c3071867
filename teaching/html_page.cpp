#include "teaching/html_page.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

static FILE *Page;   // the page being written, or NULL

// A plot's point labels are placed one by one where they cover no other label and as
// little of the curves as can be; a label that would cover another is left out.
struct Box { double left, top, right, bottom; };   // CSS pixels of the plot's drawing
const int LabelBoxesMax = 512;
static Box LabelBoxes[LabelBoxesMax];   // the labels placed so far on the plot being drawn
static int LabelBoxCount;
const int PlotPointsMax = 2048;
static double PointX[PlotPointsMax], PointY[PlotPointsMax];   // every marker of the plot, drawn
static int PointCount;
static int PointLine[PlotPointsMax];    // its line; a marker joined to the next of the same line is a segment's start
static int PointJoined[PlotPointsMax];

const int PlotWidth = 640;     // the plot's drawing, in CSS pixels
const int PlotHeight = 360;
const int PlotMargin = 60;     // room for the axes' numbers and names
const int LegendWidth = 220;   // the legend, right of the plot area where no label goes
const int LabelFontSize = 10;  // the points' labels
const int PlotColours = 6;
static const char *const PlotColour[PlotColours] = {"#1f5fa8", "#c0392b", "#27864a", "#8e44ad", "#d68910", "#555555"};

static void Text(const char *text) {
    for (const char *c = text; *c; c++) {
        switch (*c) {
        case '&': fputs("&amp;", Page); break;
        case '<': fputs("&lt;", Page); break;
        case '>': fputs("&gt;", Page); break;
        case '"': fputs("&quot;", Page); break;
        default: fputc(*c, Page);
        }
    }
}

void PageBegin(FILE *file, const char *lang, const char *title) {
    Page = file;
    fprintf(Page, "<!DOCTYPE html>\n<html lang=\"%s\">\n<head>\n<meta charset=\"utf-8\">\n<title>", lang);
    Text(title);
    fputs("</title>\n<style>\n"
          "body { font-family: sans-serif; margin: 1em 2em; max-width: 1400px; }\n"
          ".row { display: flex; flex-wrap: wrap; gap: 12px; }\n"
          "figure { margin: 0 0 12px 0; width: 260px; }\n"
          "figure img { image-rendering: pixelated; border: 1px solid #888; display: block; }\n"
          "figcaption { font-size: 12px; line-height: 1.3; }\n"
          "table { border-collapse: collapse; font-size: 13px; }\n"
          "td, th { border: 1px solid #aaa; padding: 2px 8px; text-align: right; }\n"
          "td.words { text-align: left; }\n"
          "td.long { min-width: 16em; }\n"
          "</style>\n</head>\n<body>\n<h1>",
          Page);
    Text(title);
    fputs("</h1>\n", Page);
}

void PageHeading(const char *text) {
    fputs("<h2>", Page);
    Text(text);
    fputs("</h2>\n", Page);
}

void PageParagraph(const char *text) {
    fputs("<p>", Page);
    Text(text);
    fputs("</p>\n", Page);
}

void PageLink(const char *source, const char *text) {
    fputs("<p><a href=\"", Page);
    Text(source);
    fputs("\">", Page);
    Text(text);
    fputs("</a></p>\n", Page);
}

void PageRowBegin() { fputs("<div class=\"row\">\n", Page); }
void PageRowEnd() { fputs("</div>\n", Page); }

void PageFigure(const char *source, int width, int height, const char *caption) {
    // As wide as its picture, so that a row holds as many as the window can show.
    fprintf(Page, "<figure style=\"width:%dpx\"><img src=\"", width > 120 ? width : 120);
    Text(source);
    fprintf(Page, "\" width=\"%d\" height=\"%d\" alt=\"\"><figcaption>", width, height);
    Text(caption);
    fputs("</figcaption></figure>\n", Page);
}

// Whether a cell is a figure ("0.75", ">=12.2", "-"), which lines up on the right.
static int IsFigure(const char *text) {
    if (strcmp(text, "-") == 0) return 1;
    if ((text[0] == '>' || text[0] == '<') && text[1] == '=') text += 2;
    char *end;
    strtod(text, &end);
    return end != text && *end == '\0';
}

void PageTable(const char *const *cells, int rows, int columns) {
    fputs("<table>\n", Page);
    for (int row = 0; row < rows; row++) {
        fputs("<tr>", Page);
        for (int column = 0; column < columns; column++) {
            const char *text = cells[row * columns + column];
            // A sentence keeps a readable width beside a long column of figures.
            fputs(row == 0                 ? "<th>"
                  : IsFigure(text)         ? "<td>"
                  : strlen(text) > 40      ? "<td class=\"words long\">"
                                           : "<td class=\"words\">",
                  Page);
            Text(cells[row * columns + column]);
            fputs(row ? "</td>" : "</th>", Page);
        }
        fputs("</tr>\n", Page);
    }
    fputs("</table>\n", Page);
}

// A round step for axis ticks: 1, 2 or 5 times a power of ten, about a fifth of span.
static double TickStep(double span) {
    double raw = span / 5.0, power = pow(10.0, floor(log10(raw)));
    double share = raw / power;
    return power * (share < 1.5 ? 1.0 : share < 3.5 ? 2.0 : share < 7.5 ? 5.0 : 10.0);
}

// A label's drawn width: Latin letters and digits up to 0.65 of the font size, other
// characters (Japanese) the whole size.
static double LabelWidth(const char *text) {
    double width = 0.0;
    for (const unsigned char *c = (const unsigned char *)text; *c; c++)
        if (*c < 0x80) width += 0.65 * LabelFontSize;
        else if (*c >= 0xC0) width += LabelFontSize;
    return width;
}

static int BoxesMeet(const Box &a, const Box &b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Whether the segment from (x0, y0) to (x1, y1) passes through the box (Liang-Barsky).
static int SegmentMeetsBox(double x0, double y0, double x1, double y1, const Box &box) {
    double low = 0.0, high = 1.0, dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy}, q[4] = {x0 - box.left, box.right - x0, y0 - box.top, box.bottom - y0};
    for (int i = 0; i < 4; i++) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return 0;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0.0) low = fmax(low, t);
        else high = fmin(high, t);
        if (low > high) return 0;
    }
    return 1;
}

static double DistanceToBox(double x, double y, const Box &box) {
    double dx = fmax(fmax(box.left - x, x - box.right), 0.0), dy = fmax(fmax(box.top - y, y - box.bottom), 0.0);
    return sqrt(dx * dx + dy * dy);
}

// What a label of the point at (x, y) in the box would hide or confuse: other labels
// above all, then markers, then markers nearer the label than its own, then curves.
static double BoxCost(const Box &box, double x, double y) {
    double cost = 0.0, own = DistanceToBox(x, y, box);
    for (int i = 0; i < LabelBoxCount; i++)
        if (BoxesMeet(box, LabelBoxes[i])) cost += 1000.0;
    for (int i = 0; i < PointCount; i++) {
        Box marker = {PointX[i] - 3.0, PointY[i] - 3.0, PointX[i] + 3.0, PointY[i] + 3.0};
        if (BoxesMeet(box, marker)) cost += 100.0;
        else if ((PointX[i] != x || PointY[i] != y) && DistanceToBox(PointX[i], PointY[i], box) < own + 1.0) cost += 50.0;
        if (PointJoined[i] && SegmentMeetsBox(PointX[i], PointY[i], PointX[i + 1], PointY[i + 1], box)) cost += 10.0;
    }
    return cost;
}

// Places the label of the point at (x, y) in the frame, near it, and writes it; a leader
// joins it to its point when it had to go further off.
static void PlaceLabel(double x, double y, const char *text, const char *colour, const Box &frame) {
    const double distances[] = {4.0, 12.0, 22.0};
    const int directions[8][2] = {{1, -1}, {1, 1}, {-1, -1}, {-1, 1}, {0, -1}, {0, 1}, {1, 0}, {-1, 0}};
    double width = LabelWidth(text), height = LabelFontSize, best = INFINITY;
    Box chosen = {0.0, 0.0, 0.0, 0.0};
    double chosenDistance = 0.0;
    for (double d : distances)
        for (const int *way : directions) {
            double cx = x + way[0] * (d + width / 2.0), cy = y + way[1] * (d + height / 2.0);
            Box box = {cx - width / 2.0, cy - height / 2.0, cx + width / 2.0, cy + height / 2.0};
            if (box.left < frame.left || box.right > frame.right || box.top < frame.top || box.bottom > frame.bottom)
                continue;
            double cost = BoxCost(box, x, y) + d / 100.0;
            if (cost < best) best = cost, chosen = box, chosenDistance = d;
        }
    if (!(best < 1000.0) || LabelBoxCount == LabelBoxesMax) return;
    LabelBoxes[LabelBoxCount++] = chosen;
    if (chosenDistance > distances[0]) {
        double ex = fmin(fmax(x, chosen.left), chosen.right), ey = fmin(fmax(y, chosen.top), chosen.bottom);
        fprintf(Page, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" stroke-width=\"0.5\"/>\n", x,
                y, ex, ey, colour);
    }
    fprintf(Page, "<text x=\"%.1f\" y=\"%.1f\" fill=\"%s\" font-size=\"%d\">", chosen.left, chosen.bottom - 1.0, colour,
            LabelFontSize);
    Text(text);
    fputs("</text>\n", Page);
}

void PagePlot(const PlotLine *lines, int count, const char *xLabel, const char *yLabel, const char *caption, int xLog) {
    double xLow = INFINITY, xHigh = -INFINITY, yLow = INFINITY, yHigh = -INFINITY;
    for (int l = 0; l < count; l++)
        for (int i = 0; i < lines[l].points; i++) {
            double x = lines[l].x[i], y = lines[l].y[i];
            if (!isfinite(x) || !isfinite(y)) continue;
            xLow = fmin(xLow, x), xHigh = fmax(xHigh, x), yLow = fmin(yLow, y), yHigh = fmax(yHigh, y);
        }
    if (!(xLow <= xHigh)) xLow = 0.0, xHigh = 1.0, yLow = 0.0, yHigh = 1.0;
    if (xHigh - xLow <= 0.0) xLow -= 0.5, xHigh += 0.5;
    if (yHigh - yLow <= 0.0) yLow -= fabs(yLow) * 0.1 + 0.5, yHigh += fabs(yHigh) * 0.1 + 0.5;
    double yPad = (yHigh - yLow) * 0.05;
    yLow -= yPad, yHigh += yPad;
    const int left = PlotMargin + 20, top = 20, width = PlotWidth, height = PlotHeight;
    auto X = [&](double x) { return left + (x - xLow) / (xHigh - xLow) * width; };
    auto Y = [&](double y) { return top + (yHigh - y) / (yHigh - yLow) * height; };
    fprintf(Page, "<figure style=\"width:%dpx\"><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
                  "font-size=\"12\">\n", left + width + LegendWidth, left + width + LegendWidth, top + height + PlotMargin);
    fprintf(Page, "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"none\" stroke=\"#444\"/>\n", left, top, width,
            height);
    double xs = TickStep(xHigh - xLow), ys = TickStep(yHigh - yLow);
    // On a logarithmic axis a tick at each power of ten, labelled by its value.
    if (xLog) xs = fmax(1.0, round(xs));
    for (double t = ceil(xLow / xs) * xs; t <= xHigh + xs * 1e-9; t += xs)
        fprintf(Page, "<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" stroke=\"#ddd\"/><text x=\"%.1f\" y=\"%d\" "
                      "text-anchor=\"middle\">%g</text>\n", X(t), top, X(t), top + height, X(t), top + height + 16,
                xLog ? pow(10.0, round(t)) : fabs(t) < xs * 1e-9 ? 0.0 : t);
    for (double t = ceil(yLow / ys) * ys; t <= yHigh + ys * 1e-9; t += ys)
        fprintf(Page, "<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\" stroke=\"#ddd\"/><text x=\"%d\" y=\"%.1f\" "
                      "text-anchor=\"end\">%g</text>\n", left, Y(t), left + width, Y(t), left - 4, Y(t) + 4,
                fabs(t) < ys * 1e-9 ? 0.0 : t);
    fprintf(Page, "<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">", left + width / 2.0, top + height + 36);
    Text(xLabel);
    fprintf(Page, "</text>\n<text transform=\"translate(16 %.1f) rotate(-90)\" text-anchor=\"middle\">", top + height / 2.0);
    Text(yLabel);
    fputs("</text>\n", Page);
    PointCount = 0;
    for (int l = 0; l < count; l++)
        for (int i = 0; i < lines[l].points && PointCount < PlotPointsMax; i++) {
            if (!isfinite(lines[l].x[i]) || !isfinite(lines[l].y[i])) continue;
            PointX[PointCount] = X(lines[l].x[i]), PointY[PointCount] = Y(lines[l].y[i]);
            PointLine[PointCount] = l;
            PointJoined[PointCount] = 0;
            if (PointCount > 0 && PointLine[PointCount - 1] == l && !lines[l].markersOnly) PointJoined[PointCount - 1] = 1;
            PointCount++;
        }
    for (int l = 0; l < count; l++) {
        const PlotLine &line = lines[l];
        const char *colour = PlotColour[l % PlotColours];
        if (!line.markersOnly) {
            fprintf(Page, "<polyline fill=\"none\" stroke=\"%s\" stroke-width=\"1.5\" points=\"", colour);
            for (int i = 0; i < line.points; i++)
                if (isfinite(line.x[i]) && isfinite(line.y[i])) fprintf(Page, "%.1f,%.1f ", X(line.x[i]), Y(line.y[i]));
            fputs("\"/>\n", Page);
        }
        for (int i = 0; i < line.points; i++)
            if ((line.markersOnly || line.labels) && isfinite(line.x[i]) && isfinite(line.y[i]))
                fprintf(Page, "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3\" fill=\"%s\"/>\n", X(line.x[i]), Y(line.y[i]), colour);
        if (count > 1) {
            int y = top + 14 + 16 * l;
            fprintf(Page, "<rect x=\"%d\" y=\"%d\" width=\"12\" height=\"3\" fill=\"%s\"/><text x=\"%d\" y=\"%d\">",
                    left + width + 10, y - 4, colour, left + width + 26, y);
            Text(line.name);
            fputs("</text>\n", Page);
        }
    }
    // The labels last, over the curves, each placed knowing the ones before it.
    const Box frame = {(double)left, (double)top, (double)(left + width), (double)(top + height)};
    LabelBoxCount = 0;
    for (int l = 0; l < count; l++)
        for (int i = 0; i < lines[l].points && lines[l].labels; i++)
            if (lines[l].labels[i] && lines[l].labels[i][0] && isfinite(lines[l].x[i]) && isfinite(lines[l].y[i]))
                PlaceLabel(X(lines[l].x[i]), Y(lines[l].y[i]), lines[l].labels[i], PlotColour[l % PlotColours], frame);
    fputs("</svg><figcaption>", Page);
    Text(caption);
    fputs("</figcaption></figure>\n", Page);
}

int PageEnd() {
    fputs("</body>\n</html>\n", Page);
    int ok = !ferror(Page);
    Page = NULL;
    return ok;
}
