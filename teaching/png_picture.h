// Grey pictures as PNG, which browsers and slides take: the lesson's tiles.
#pragma once

// Writes rows rows of width greys, the top row first (greys[row * width + column]), whole
// or not at all. 0 with ToolError when the file could not be written.
int WriteGreyPng(const char *path, const unsigned char *greys, int width, int rows);
