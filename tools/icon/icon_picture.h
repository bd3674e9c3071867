// The program's icon for Explorer: a ring of PET detectors around a head with a hot
// spot, and the line of response through it, drawn at any size with smooth edges.
#pragma once

const int IconMaxSide = 256;   // the largest icon drawn, in pixels

// Blue, green, red, alpha per pixel, top row first, alpha not premultiplied: the last
// picture DrawIcon made.
extern unsigned char IconPixels[IconMaxSide][IconMaxSide][4];

// Draws the icon side x side pixels (1 to IconMaxSide) into IconPixels. Only additions,
// multiplications and the portable sine and cosine are used, so every build draws the
// same bytes.
void DrawIcon(int side);
