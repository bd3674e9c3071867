#include "teaching/picture_bytes.h"

#include <stdio.h>

std::string PgmBytes(bool binary, int width, int height, int maxval, const std::vector<int> &levels) {
    std::string out = (binary ? "P5\n" : "P2\n") + std::string("# test picture\n") + std::to_string(width) + " " +
                      std::to_string(height) + "\n" + std::to_string(maxval) + "\n";
    for (size_t i = 0; i < levels.size(); i++) {
        if (!binary) {
            out += std::to_string(levels[i]) + ((i + 1) % width ? " " : "\n");
        } else if (maxval > 255) {
            out += (char)(levels[i] >> 8);
            out += (char)(levels[i] & 0xFF);
        } else {
            out += (char)levels[i];
        }
    }
    return out;
}

static void Little(std::string &out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; i++) out += (char)((value >> (8 * i)) & 0xFF);
}

std::string BmpBytes(int width, int height, int bits, const std::vector<uint32_t> &pixels, bool topDown,
                     int infoBytes) {
    int stride = (width * bits + 31) / 32 * 4;
    int palette = bits == 8 ? 256 * 4 : 0;
    uint32_t offset = 14 + infoBytes + palette;
    std::string out = "BM";
    Little(out, offset + stride * height, 4);
    Little(out, 0, 4);
    Little(out, offset, 4);
    Little(out, infoBytes, 4);
    Little(out, width, 4);
    Little(out, topDown ? (uint32_t)-height : (uint32_t)height, 4);
    Little(out, 1, 2);
    Little(out, bits, 2);
    while ((int)out.size() < 14 + infoBytes) out += '\0';
    for (int i = 0; i < 256 && bits == 8; i++) {
        uint32_t colour = i == 1 ? 0xFF0000u : i == 2 ? 0x0000FFu : (uint32_t)i * 0x010101u;
        Little(out, colour, 4);   // blue, green, red, 0
    }
    for (int stored = 0; stored < height; stored++) {
        int row = topDown ? stored : height - 1 - stored;
        std::string line;
        for (int x = 0; x < width; x++) {
            uint32_t p = pixels[(size_t)row * width + x];
            if (bits == 8) line += (char)p;
            else Little(line, p, 3);
        }
        line.resize(stride, '\0');
        out += line;
    }
    return out;
}

void WriteBytes(const std::string &path, const std::string &bytes) {
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}
