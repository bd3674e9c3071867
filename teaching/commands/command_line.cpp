#include "teaching/commands/command_line.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "teaching/tool_error.h"

int PositionalCount;
const char *Positional[ArgumentsMax];
int OptionCount;
char OptionName[ArgumentsMax][OptionNameBytes];
const char *OptionValue[ArgumentsMax];

const int ChoicesBytes = 256;   // the list of choices in a refusal

// Whether word is one of the blank-separated names in list.
static int Listed(const char *word, const char *list) {
    size_t length = strlen(word);
    for (const char *p = list; *p;) {
        while (*p == ' ') p++;
        const char *end = p;
        while (*end && *end != ' ') end++;
        if ((size_t)(end - p) == length && length > 0 && strncmp(p, word, length) == 0) return 1;
        p = end;
    }
    return 0;
}

int SplitArguments(int argc, char **argv, int first, const char *flags) {
    PositionalCount = 0;
    OptionCount = 0;
    for (int i = first; i < argc; i++) {
        const char *word = argv[i];
        if (PositionalCount >= ArgumentsMax || OptionCount >= ArgumentsMax)
            return Refuse("too many arguments");
        size_t wordLength = strlen(word);
        if (wordLength >= (size_t)ArgumentBytesMax)
            return Refuse("a word of %lld bytes is on the command line; at most %d are read", (long long)wordLength,
                          ArgumentBytesMax - 1);
        if (strncmp(word, "--", 2) != 0 || word[2] == 0) {
            Positional[PositionalCount++] = word;
            continue;
        }
        const char *name = word + 2, *equals = strchr(name, '=');
        size_t length = equals ? (size_t)(equals - name) : strlen(name);
        if (length >= (size_t)OptionNameBytes) return Refuse("unknown option %s", word);
        int n = OptionCount++;
        memcpy(OptionName[n], name, length);
        OptionName[n][length] = 0;
        if (Listed(OptionName[n], flags)) {
            if (equals) return Refuse("--%s takes no value", OptionName[n]);
            OptionValue[n] = NULL;
        } else if (equals) {
            OptionValue[n] = equals + 1;
        } else if (i + 1 < argc) {
            OptionValue[n] = argv[++i];
        } else {
            return Refuse("--%s needs a value", OptionName[n]);
        }
    }
    return 1;
}

int OnlyOptions(const char *command, const char *allowed, const char *repeatable) {
    for (int n = 0; n < OptionCount; n++) {
        if (!Listed(OptionName[n], allowed))
            return Refuse("%s takes no option --%s (see quorvel_data %s --help)", command, OptionName[n], command);
        if (Listed(OptionName[n], repeatable)) continue;
        for (int m = 0; m < n; m++)
            if (strcmp(OptionName[m], OptionName[n]) == 0)
                return Refuse("--%s is given twice; give it once", OptionName[n]);
    }
    return 1;
}

const char *OptionText(const char *name) {
    const char *text = NULL;
    for (int n = 0; n < OptionCount; n++)
        if (strcmp(OptionName[n], name) == 0) text = OptionValue[n];
    return text;
}

int HasOption(const char *name) {
    for (int n = 0; n < OptionCount; n++)
        if (strcmp(OptionName[n], name) == 0) return 1;
    return 0;
}

// The one way a number is written on this tool's command line: an optional minus, digits
// with at most one point among them, then an optional exponent (e or E, an optional sign,
// digits). No blank, plus sign, hexadecimal, inf or nan: what is typed is what is meant.
static int IsDecimal(const char *text, int whole) {
    const char *p = text + (*text == '-');
    int digits = 0, point = 0;
    for (; (*p >= '0' && *p <= '9') || (*p == '.' && !whole && !point); p++) {
        if (*p == '.') point = 1;
        else digits++;
    }
    if (digits == 0) return 0;
    if (!whole && (*p == 'e' || *p == 'E')) {
        p++;
        if (*p == '+' || *p == '-') p++;
        if (!(*p >= '0' && *p <= '9')) return 0;
        while (*p >= '0' && *p <= '9') p++;
    }
    return *p == 0;
}

int ReadDecimal(const char *text, double *value) {
    if (!IsDecimal(text, 0)) return 0;
    errno = 0;
    *value = strtod(text, NULL);
    return errno == 0 && *value == *value;
}

int ReadWhole(const char *text, long *value) {
    if (!IsDecimal(text, 1)) return 0;
    errno = 0;
    *value = strtol(text, NULL, 10);
    return errno == 0;
}

int NumberOption(const char *name, double lo, double hi, double *value) {
    const char *text = OptionText(name);
    if (!text) return 1;
    if (!ReadDecimal(text, value) || *value < lo || *value > hi)
        return Refuse("--%s %s: give a number from %g to %g", name, text, lo, hi);
    return 1;
}

int WholeOption(const char *name, long lo, long hi, long *value) {
    const char *text = OptionText(name);
    if (!text) return 1;
    long read = 0;
    if (!ReadWhole(text, &read) || read < lo || read > hi)
        return Refuse("--%s %s: give a whole number from %ld to %ld", name, text, lo, hi);
    *value = read;
    return 1;
}

int SeedOption(const char *name, uint64_t *value) {
    const char *text = OptionText(name);
    if (!text) return 1;
    // Decimal, leading zeros and all, or hexadecimal after 0x: nothing else, so that a
    // seed means what it looks like.
    int hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char *digits = hex ? text + 2 : text;
    uint64_t read = 0;
    int ok = *digits != 0;
    for (const char *p = digits; *p && ok; p++) {
        int digit = *p >= '0' && *p <= '9' ? *p - '0'
                    : hex && *p >= 'a' && *p <= 'f' ? *p - 'a' + 10
                    : hex && *p >= 'A' && *p <= 'F' ? *p - 'A' + 10
                                                    : -1;
        uint64_t base = hex ? 16 : 10;
        ok = digit >= 0 && read <= (UINT64_MAX - (uint64_t)digit) / base;
        read = read * base + (uint64_t)(digit < 0 ? 0 : digit);
    }
    if (!ok) return Refuse("--%s %s: give a whole number from 0 to 18446744073709551615, or 0x and hex digits", name, text);
    *value = read;
    return 1;
}

int DiscText(const char *name, const char *text, double disc[3]) {
    const char *p = text;
    int ok = 1;
    for (int i = 0; i < 3 && ok; i++) {
        char part[64];
        size_t length = strcspn(p, ",");
        ok = length < sizeof part && (p[length] == ',') == (i < 2);
        if (!ok) break;
        memcpy(part, p, length);
        part[length] = 0;
        ok = ReadDecimal(part, &disc[i]) && disc[i] > -1000.0 && disc[i] < 1000.0;
        p += length + (i < 2);
    }
    if (ok && disc[2] > 0.0 && disc[2] <= 128.0) return 1;
    return Refuse("--%s %s: give COLUMN,ROW,RADIUS in pixels, the radius above 0 and at most 128", name, text);
}

int ChoiceOption(const char *name, const char *const *names, int count, int *choice) {
    const char *text = OptionText(name);
    if (!text) return 1;
    for (int i = 0; i < count; i++)
        if (strcmp(text, names[i]) == 0) {
            *choice = i;
            return 1;
        }
    char list[ChoicesBytes] = "";
    for (int i = 0; i < count; i++) {
        size_t used = strlen(list);
        snprintf(list + used, sizeof list - used, "%s%s", i ? ", " : "", names[i]);
    }
    return Refuse("--%s %s: choose one of %s", name, text, list);
}
