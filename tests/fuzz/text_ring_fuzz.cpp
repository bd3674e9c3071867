// Text of any bytes and lengths into the console ring: pieces of up to 2,047 bytes
// (longer than one formatting), each printed whole; the ring must stay intact.
#include <stddef.h>
#include <stdint.h>

#include "fuzz/fuzz_support.h"

const int PieceBytesMax = 2048;  // longest piece with its terminating zero
const int VisibleLinesMax = 64;  // console heights tried, in lines

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static char piece[PieceBytesMax];
    ResetTextRing();
    size_t i = 0;
    if (i < size) VisibleLines = data[i++] % VisibleLinesMax;
    while (i + 2 <= size) {
        size_t length = (size_t)(data[i] | data[i + 1] << 8) % PieceBytesMax;
        i += 2;
        if (length > size - i) length = size - i;
        memcpy(piece, data + i, length);
        piece[length] = '\0';
        i += length;
        int printed = ConsolePrint("%s", piece);
        size_t expected = strlen(piece) < 1023 ? strlen(piece) : 1023;
        Require(printed == (int)expected, "the printed length is the text's, cut at 1,023");
        RequireRingIntact();
    }
    return 0;
}
