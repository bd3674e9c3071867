// Picture files for the tests, written byte by byte as paint programs write them.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

// A PGM of levels, top row first: "P2" text or "P5" binary (two bytes a level above 255).
std::string PgmBytes(bool binary, int width, int height, int maxval, const std::vector<int> &levels);
// A BMP, top row first. 24 bits: colours 0xRRGGBB. 8 bits: palette indices into a grey
// ramp whose entries 1 and 2 are pure red and pure blue. Rows bottom-up unless topDown.
std::string BmpBytes(int width, int height, int bits, const std::vector<uint32_t> &pixels, bool topDown = false,
                     int infoBytes = 40);
void WriteBytes(const std::string &path, const std::string &bytes);
