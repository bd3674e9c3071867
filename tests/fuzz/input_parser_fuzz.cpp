// Typed character codes of any value (code 0, control codes, lines of 511 characters and
// more) answering questions of the program's formats and of malformed ones. Each question
// takes its format from the next input byte; Enter is code 13, as the console handles it.
#include <stddef.h>
#include <stdint.h>

#include "console/input_line.h"
#include "fuzz/fuzz_support.h"

const int FormatCount = 18;
const int LongFormatBytes = 301;   // longer than the 255 characters a format is copied to
const int SlotBytes = 512;         // one destination: any token fits, and any scalar

static char LongFormat[LongFormatBytes];  // "%d " a hundred times
static const char *Formats[FormatCount] = {
    "%c", "%d", "%c", "%d", "", "no conversion", "%", "%12", "%l", "%ld", "%lf", "%f", "%s",
    "%d %c", "x%dy", "%%", "%c%d%s%f%lf%q%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c",
    LongFormat};

alignas(double) static char Slots[ScanTargetsMax][SlotBytes];  // the destinations

static void RequireLineIntact() {
    Require(InputLength >= 0 && InputLength <= InputLineMax, "the typed length stays within 511");
    Require(InputLine[InputLength] == '\0', "the typed line ends after its length");
}

// A new question; returns 1 when a rest of the last answer has answered it already.
static int Ask(const char *format) {
    void *targets[ScanTargetsMax];
    for (int k = 0; k < ScanTargetsMax; k++) targets[k] = Slots[k];
    return BeginScan(format, targets, CountConversions(format));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (LongFormat[0] == '\0')
        for (int k = 0; k + 3 < LongFormatBytes; k += 3) memcpy(LongFormat + k, "%d ", 3);
    ResetTextRing();
    InputLine[0] = '\0';
    InputLength = 0;
    WaitingForInput = 0;
    int waiting = 0;  // a question waits for Enter
    for (size_t i = 0; i < size; i++) {
        if (!waiting) {
            waiting = !Ask(Formats[data[i] % FormatCount]);
            RequireLineIntact();
            continue;
        }
        if (data[i] == '\r') {
            WaitingForInput = 0;
            EchoOnParse = 1;
            ParseInputLine();
            waiting = 0;
            RequireRingIntact();
        } else {
            EditInputLine(data[i]);
        }
        RequireLineIntact();
    }
    RequireRingIntact();
    return 0;
}
