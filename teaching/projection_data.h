// Where one set of projections lies in a data file and how its numbers are stored, and the
// reading of one sinogram (one axial position, every view) into SourceProfiles.
#pragma once

const int DataPathBytes = 4096;

const int NumberFloat = 0;      // IEEE-754, 4 or 8 bytes
const int NumberSigned = 1;     // two's complement, 1, 2 or 4 bytes
const int NumberUnsigned = 2;   // 1, 2 or 4 bytes

extern char DataPath[DataPathBytes];   // the data file, as fopen takes it
extern long long DataStart;            // byte of the first sample of the set
extern long long DataEnd;              // bytes the file must hold: the set and all before it
extern int DataNumberKind;             // NumberFloat, NumberSigned or NumberUnsigned
extern int DataNumberBytes;            // bytes of one sample
extern int DataBigEndian;              // 1: most significant byte first
extern double DataScale;               // each sample is multiplied by it
extern long DataAxialCount;            // axial positions (sinograms) of the set
extern long long DataAxialStride;      // samples from one axial position to the next
extern long long DataViewStride;       // samples from one view to the next; positions are 1 apart

// Refuses a data file shorter than DataEnd, naming what the header or options promise.
int CheckDataFile(const char *promise);
// Reads axial position k of every view into SourceProfiles (SourceViews x SourcePositions),
// scaled. Returns 0 with ToolError when the file cannot be read.
int ReadDataSinogram(long k);
