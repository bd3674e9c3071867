#include "teaching/html_page.h"

#include <math.h>

static FILE *Page;   // the page being written, or NULL

const int PlotWidth = 640;     // the plot's drawing, in CSS pixels
const int PlotHeight = 360;
const int PlotMargin = 60;     // room for the axes' numbers and names
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

void PageRowBegin() { fputs("<div class=\"row\">\n", Page); }
void PageRowEnd() { fputs("</div>\n", Page); }

void PageFigure(const char *source, int width, int height, const char *caption) {
    fputs("<figure><img src=\"", Page);
    Text(source);
    fprintf(Page, "\" width=\"%d\" height=\"%d\" alt=\"\"><figcaption>", width, height);
    Text(caption);
    fputs("</figcaption></figure>\n", Page);
}

void PageTable(const char *const *cells, int rows, int columns) {
    fputs("<table>\n", Page);
    for (int row = 0; row < rows; row++) {
        fputs("<tr>", Page);
        for (int column = 0; column < columns; column++) {
            fputs(row ? "<td>" : "<th>", Page);
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

void PagePlot(const PlotLine *lines, int count, const char *xLabel, const char *yLabel, const char *caption) {
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
                  "font-size=\"12\">\n", left + width + 180, left + width + 180, top + height + PlotMargin);
    fprintf(Page, "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"none\" stroke=\"#444\"/>\n", left, top, width,
            height);
    double xs = TickStep(xHigh - xLow), ys = TickStep(yHigh - yLow);
    for (double t = ceil(xLow / xs) * xs; t <= xHigh + xs * 1e-9; t += xs)
        fprintf(Page, "<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" stroke=\"#ddd\"/><text x=\"%.1f\" y=\"%d\" "
                      "text-anchor=\"middle\">%g</text>\n", X(t), top, X(t), top + height, X(t), top + height + 16,
                fabs(t) < xs * 1e-9 ? 0.0 : t);
    for (double t = ceil(yLow / ys) * ys; t <= yHigh + ys * 1e-9; t += ys)
        fprintf(Page, "<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\" stroke=\"#ddd\"/><text x=\"%d\" y=\"%.1f\" "
                      "text-anchor=\"end\">%g</text>\n", left, Y(t), left + width, Y(t), left - 4, Y(t) + 4,
                fabs(t) < ys * 1e-9 ? 0.0 : t);
    fprintf(Page, "<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">", left + width / 2.0, top + height + 36);
    Text(xLabel);
    fprintf(Page, "</text>\n<text transform=\"translate(16 %.1f) rotate(-90)\" text-anchor=\"middle\">", top + height / 2.0);
    Text(yLabel);
    fputs("</text>\n", Page);
    for (int l = 0; l < count; l++) {
        const PlotLine &line = lines[l];
        const char *colour = PlotColour[l % PlotColours];
        if (!line.markersOnly) {
            fprintf(Page, "<polyline fill=\"none\" stroke=\"%s\" stroke-width=\"1.5\" points=\"", colour);
            for (int i = 0; i < line.points; i++)
                if (isfinite(line.x[i]) && isfinite(line.y[i])) fprintf(Page, "%.1f,%.1f ", X(line.x[i]), Y(line.y[i]));
            fputs("\"/>\n", Page);
        }
        for (int i = 0; i < line.points; i++) {
            if (!isfinite(line.x[i]) || !isfinite(line.y[i])) continue;
            if (line.markersOnly || line.labels)
                fprintf(Page, "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3\" fill=\"%s\"/>\n", X(line.x[i]), Y(line.y[i]), colour);
            if (line.labels && line.labels[i] && line.labels[i][0]) {
                fprintf(Page, "<text x=\"%.1f\" y=\"%.1f\" fill=\"%s\" font-size=\"10\">", X(line.x[i]) + 4,
                        Y(line.y[i]) - 4, colour);
                Text(line.labels[i]);
                fputs("</text>\n", Page);
            }
        }
        if (count > 1) {
            int y = top + 14 + 16 * l;
            fprintf(Page, "<rect x=\"%d\" y=\"%d\" width=\"12\" height=\"3\" fill=\"%s\"/><text x=\"%d\" y=\"%d\">",
                    left + width + 10, y - 4, colour, left + width + 26, y);
            Text(line.name);
            fputs("</text>\n", Page);
        }
    }
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
