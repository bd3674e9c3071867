// Files the reconstruction tests feed to the program, written into the test's temp folder.
#pragma once
#include <string>

typedef float (*SampleOf)(int s, int a, int r);

// A path in the test's temp folder.
std::string TempPath(const char *name);
// A sinogram volume file: 24 header bytes of headerByte, the samples in file order, then
// trailingBytes bytes of 0xAB.
void WriteSinogramFile(const std::string &path, SampleOf sample, unsigned char headerByte, long trailingBytes);
// A file of size bytes of 0x3F (each float of it reads 0.746...).
void WriteFilledFile(const std::string &path, long size);
void WriteTextFile(const std::string &path, const std::string &text);
