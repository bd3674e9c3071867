// The real-space filter file: a text file of 128 numbers.
#pragma once

// Reads up to 128 numbers into FilterTaps; a failed read ends the reading, and taps
// not read keep their values. Returns 0 (and assigns nothing) when the file cannot be opened.
int ReadFilterTaps(const char *path);
