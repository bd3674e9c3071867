#include "recon/test_files.h"
#include "support/test_folder.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

std::string TempPath(const char *name) { return TestFolderPath(name); }

static FILE *OpenForWriting(const std::string &path) {
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) ADD_FAILURE() << "cannot write " << path;
    return file;
}

void WriteSinogramFile(const std::string &path, SampleOf sample, unsigned char headerByte, long trailingBytes) {
    FILE *file = OpenForWriting(path);
    if (!file) return;
    for (int i = 0; i < 24; i++) fputc(headerByte, file);
    static float profile[256];
    for (int s = 0; s < 87; s++)
        for (int a = 0; a < 128; a++) {
            for (int r = 0; r < 256; r++) profile[r] = sample(s, a, r);
            fwrite(profile, sizeof profile[0], 256, file);
        }
    for (long i = 0; i < trailingBytes; i++) fputc(0xAB, file);
    fclose(file);
}

void WriteFilledFile(const std::string &path, long size) {
    FILE *file = OpenForWriting(path);
    if (!file) return;
    for (long i = 0; i < size; i++) fputc(0x3F, file);
    fclose(file);
}

void WriteTextFile(const std::string &path, const std::string &text) {
    FILE *file = fopen(path.c_str(), "w");
    if (!file) {
        ADD_FAILURE() << "cannot write " << path;
        return;
    }
    fputs(text.c_str(), file);
    fclose(file);
}
