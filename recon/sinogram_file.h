// The sinogram volume file: a 24-byte header, then 87 slices x 128 angles x 256 bins
// of little-endian 32-bit floats, slice by slice, angle by angle.
#pragma once

const long SinogramHeaderBytes = 24;
const long SinogramSliceBytes = 128L * 256L * 4L;                           // 131,072
const long SinogramFileBytes = SinogramHeaderBytes + 87L * SinogramSliceBytes;  // 11,403,288

// Reads the volume at path into SinogramVolume, pumping once before each slice.
// Returns 1 when loaded; otherwise reports the problem. A file that cannot be opened or
// is too short leaves the volume as it was; a read error midway leaves it part new.
int LoadSinogramVolume(const char *path);

// Sets MaxCount to the largest sample (at least 0, NaN ignored) and prints it.
void FindMaxCount();
