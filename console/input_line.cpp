// The typed line: editing by character codes and the scanf-like conversion that answers
// a question, with the echo of the line and the untaken rest kept for the next question.
#include "console/input_line.h"

#include <float.h>
#include <limits.h>
#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "console/text_ring.h"

char InputLine[InputLineBytes];        // typed text; after an answer, its untaken rest
int InputLength = 0;                   // bytes stored in InputLine, 0..InputLineMax
int WaitingForInput = 0;               // a question waits for Enter
int EchoOnParse = 0;                   // the next parse prints the line into the ring
char ScanFormat[ScanFormatBytes];      // format of the current question
void *ScanTargets[ScanTargetsMax + 1]; // its destinations, then a null pointer

const int TokenBytes = 172;  // one token with its terminating zero
const int RestBytes = 168;   // the untaken rest with its terminating zero

static int IsSeparator(char c) {
    return c == ' ' || c == ',';
}

static const char *SkipSeparators(const char *text) {
    while (IsSeparator(*text)) text++;
    return text;
}

static const char *SkipToken(const char *text) {
    while (*text != '\0' && !IsSeparator(*text)) text++;
    return text;
}

void EditInputLine(unsigned char code) {
    if (code == 8 || code == 16) {
        if (InputLength > 0) {
            InputLength--;
            InputLine[InputLength] = '\0';
        }
    } else if (code == 0 || code >= 32) {
        // A full line ignores further characters.
        if (InputLength < InputLineMax) {
            InputLine[InputLength] = (char)code;
            InputLength++;
            InputLine[InputLength] = '\0';
        }
    }
}

int CountConversions(const char *format) {
    int count = 0;
    // Only the part of the format that ParseInputLine will see can name a destination.
    for (int i = 0; i < ScanFormatBytes - 1 && format[i] != '\0'; i++) {
        if (format[i] != '%') continue;
        if (format[i + 1] == '%') {
            i++;
            continue;
        }
        if (count < ScanTargetsMax) count++;
    }
    return count;
}

int BeginScan(const char *format, void *const *targets, int targetCount) {
    size_t length = strnlen(format, ScanFormatBytes - 1);
    memcpy(ScanFormat, format, length);
    ScanFormat[length] = '\0';
    if (targetCount > ScanTargetsMax) targetCount = ScanTargetsMax;
    if (targetCount < 0) targetCount = 0;
    // Slots past the last destination are cleared so that no conversion can reach a
    // destination of an earlier question.
    for (int k = 0; k <= ScanTargetsMax; k++) ScanTargets[k] = k < targetCount ? targets[k] : nullptr;

    if (InputLength > 0) {
        // A rest left from the last answer answers this question without waiting.
        EchoOnParse = 0;
        ParseInputLine();
        return 1;
    }
    return 0;
}

int BeginScanArgs(const char *format, va_list args) {
    void *targets[ScanTargetsMax];
    int count = CountConversions(format);
    for (int k = 0; k < count; k++) targets[k] = va_arg(args, void *);
    return BeginScan(format, targets, count);
}

// strtol's result as the 32-bit long of the target platform would hold it.
static int32_t ReadInteger(const char *token) {
    long value = strtol(token, nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return (int32_t)value;
}

// A number beyond the float range becomes an infinity of its sign, as the processor's
// own narrowing gives, without the undefined out-of-range conversion.
static float NarrowToFloat(double value) {
    if (value > FLT_MAX) return HUGE_VALF;
    if (value < -FLT_MAX) return -HUGE_VALF;
    return (float)value;
}

// Applies one conversion letter to a token. Returns the format position after the
// conversion, or null when the format ends before its letter.
static const char *Convert(const char *letter, const char *token, void *target) {
    char kind = *letter;
    if (kind == '\0') return nullptr;
    if (kind == 'l') {
        letter++;
        if (*letter == '\0') return nullptr;
        kind = *letter == 'd' ? 'd' : 'L';
    }
    if (target != nullptr) {
        switch (kind) {
        case 'c': *(char *)target = token[0]; break;
        case 'd': *(int32_t *)target = ReadInteger(token); break;
        case 'f': *(float *)target = NarrowToFloat(strtod(token, nullptr)); break;
        case 'L': *(double *)target = strtod(token, nullptr); break;
        case 's': memcpy(target, token, strlen(token) + 1); break;
        default: break;  // an unknown letter uses up the token and stores nothing
        }
    }
    return letter + 1;
}

// The position just after the percent sign of the next conversion, or null; a literal
// "%%" is passed over.
static const char *NextConversion(const char *format) {
    for (format = strchr(format, '%'); format != nullptr && format[1] == '%'; format = strchr(format + 2, '%')) {
    }
    return format == nullptr ? nullptr : format + 1;
}

// Number of conversions done on InputLine by ScanFormat, with the values stored.
static int ConvertTokens() {
    if (ScanFormat[0] == '\0') return 0;
    const char *input = InputLine;
    const char *format = ScanFormat;
    int done = 0;
    while (done < ScanTargetsMax) {
        input = SkipSeparators(input);
        const char *end = SkipToken(input);
        char token[TokenBytes];
        size_t length = (size_t)(end - input);
        if (length > TokenBytes - 1) length = TokenBytes - 1;
        memcpy(token, input, length);
        token[length] = '\0';
        input = end;

        format = NextConversion(format);
        if (format == nullptr) break;
        while (*format >= '0' && *format <= '9') format++;
        format = Convert(format, token, ScanTargets[done]);
        if (format == nullptr) break;
        done++;
        if (*format == '\0') break;
    }
    return done;
}

void ParseInputLine() {
    int taken = ConvertTokens();

    const char *rest = InputLine;
    for (int k = 0; k < taken; k++) {
        rest = SkipSeparators(rest);
        rest = SkipToken(rest);
        rest = SkipSeparators(rest);
    }

    if (*rest != '\0') {
        char kept[RestBytes];
        size_t length = strnlen(rest, RestBytes - 1);
        memcpy(kept, rest, length);
        kept[length] = '\0';
        if (EchoOnParse) ConsolePrint("%s", InputLine);
        memcpy(InputLine, kept, length + 1);
        InputLength = (int)length;
    } else {
        if (EchoOnParse) ConsolePrint("%s", InputLine);
        InputLine[0] = '\0';
        InputLength = 0;
        ConsolePrint("\n");
    }
}
