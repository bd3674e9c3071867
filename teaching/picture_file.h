// Grey pictures from the files every paint program writes: PGM (P2 and P5, 8 or 16
// bits) and uncompressed BMP (8-bit through its palette, 24-bit colour taken as its
// grey level).
#pragma once

#include "recon/geometry.h"

const int PictureColumnsMax = PictureWidth;   // a saved picture of the program is the largest
const int PictureRowsMax = PictureHeight;

extern float PictureLevel[PictureRowsMax][PictureColumnsMax];  // [row, top first][column]
extern int PictureColumns;   // of the last picture read
extern int PictureRows;
extern double PictureWhite;  // level of white: the PGM's largest value, 255 for a BMP
extern unsigned char PictureTinted[PictureRowsMax][PictureColumnsMax];  // 1 where the colour is not grey

// Grey level of a colour: 0.299 red + 0.587 green + 0.114 blue, exact for grey colours.
double GreyOfColour(int red, int green, int blue);

// Reads the picture at path. Pictures wider than maxColumns or taller than maxRows are
// refused with a message that names the size allowed for holder ("a slice"). Returns 1
// when read; otherwise 0 with the reason in ToolError.
int ReadPicture(const char *path, int maxColumns, int maxRows, const char *holder);
