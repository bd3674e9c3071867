// A whole file's bytes, read a block at a time: the tests read volumes of 11 MB, which a
// byte at a time takes seconds under user-mode emulation.
#pragma once
#include <stdio.h>

#include <string>

// The file's bytes; empty when it cannot be opened.
inline std::string FileBytes(const std::string &path) {
    std::string bytes;
    FILE *file = fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char block[65536];
    for (size_t got; (got = fread(block, 1, sizeof block, file)) > 0;) bytes.append(block, got);
    fclose(file);
    return bytes;
}
