// One slice of a sinogram volume file, as the program would load it.
#pragma once

#include "recon/geometry.h"

// Reads file slice s of the volume at path into slice[a][r]. Returns 0 with ToolError
// when the file cannot be read or is shorter than a volume.
int ReadSinogramSlice(const char *path, int s, float slice[Angles][Bins]);
