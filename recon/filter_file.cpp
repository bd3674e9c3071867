// The real-space filter file: reading its numbers.
#include "recon/filter_file.h"

#include <stdio.h>

#include "recon/working_arrays.h"

int ReadFilterTaps(const char *path) {
    FILE *file = fopen(path, "rt");
    if (!file) return 0;
    // Once a read fails every later one would stop at the same text, so the
    // remaining taps keep their values.
    for (int k = 0; k < FilterTapCount; k++)
        if (fscanf(file, "%lf \n", &FilterTaps[k]) != 1) break;
    fclose(file);
    return 1;
}
