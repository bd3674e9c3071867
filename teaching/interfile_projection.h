// PET projection data described by an Interfile header: the chosen segment and frame laid
// out for ReadDataSinogram, and its geometry for the resampling.
#pragma once

const int FactLines = 8;
const int FactBytes = 512;
extern int FactCount;                     // lines saying what was read
extern char Fact[FactLines][FactBytes];

// Reads the header at path and sets the data layout and the source geometry for segment
// number segment (0 holds ring difference 0) of frame frame (from 1). Returns 0 with
// ToolError naming the key when the data cannot be imported.
int DescribeInterfileProjections(const char *path, long segment, long frame);
