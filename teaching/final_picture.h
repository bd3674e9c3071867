// A slice shown as the program shows its final image, on a picture of the program's
// size (black around it), written as the 24-bit BMP its " Save Graphic File" writes. So
// a slice rebuilt by the tool is measured and looked at as the program's own are.
#pragma once
#include <stdio.h>

#include "recon/geometry.h"

extern float ShownSlice[ImageSide][ImageSide];   // [P][Q] the slice to show, any unit

// Writes ShownSlice with BackgroundShare of its peak subtracted and the rest of the
// peak white, 2 x 2 pixels a sample at the final image's place, Q upward. Returns 1
// when the whole file was written and closed.
int WriteFinalPicture(const char *path);
// The same into an open file, which the caller closes; 1 when every byte was written.
int WriteFinalPictureTo(FILE *file);
// The headers of a 24-bit bottom-up BMP of the program's picture size, rows unpadded;
// 1 when every byte was written.
int WritePictureHeader(FILE *file);
