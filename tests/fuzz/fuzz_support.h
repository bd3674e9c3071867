// What the fuzz targets share: the check that turns a broken promise into a finding,
// the console ring's invariants, and a scratch file for the readers under test.
#pragma once
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "console/text_ring.h"

const int ScratchPathBytes = 96;  // a scratch file's path with its terminating zero

inline void Require(bool holds, const char *what) {
    if (holds) return;
    fprintf(stderr, "broken: %s\n", what);
    abort();
}

// Every held line ends within its slot, and the slots of the ring's lines are consistent.
inline void RequireRingIntact() {
    Require(LineCount >= 1 && LineCount <= RingLines, "line count within the ring");
    Require(WriteIndex >= 0 && WriteIndex < RingLines && OldestIndex >= 0 && OldestIndex < RingLines,
            "slots within the ring");
    Require((OldestIndex + LineCount - 1) % RingLines == WriteIndex, "current line after the held ones");
    for (int i = 0; i < RingLines; i++)
        Require(memchr(TextRing[i], 0, RingLineBytes) != nullptr && strlen(TextRing[i]) <= (size_t)RingLineChars,
                "every line ends within its slot");
}

// A file of this process in shared memory (no disk traffic), named for the target.
inline const char *ScratchPath(const char *name) {
    static char path[ScratchPathBytes];
    const char *folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    snprintf(path, sizeof path, "%s/quorvel_fuzz_%s_%d", folder, name, (int)getpid());
    return path;
}

inline void WriteScratch(const char *path, const uint8_t *data, size_t size) {
    FILE *file = fopen(path, "wb");
    Require(file != nullptr, "the scratch file can be written");
    if (size > 0) Require(fwrite(data, 1, size, file) == size, "the scratch file takes the input");
    fclose(file);
}
