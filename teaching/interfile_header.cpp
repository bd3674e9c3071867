#include "teaching/interfile_header.h"

#include <ctype.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "teaching/tool_error.h"

int HeaderKeyCount;
char HeaderKey[HeaderKeysMax][HeaderKeyBytes];
char HeaderValue[HeaderKeysMax][HeaderValueBytes];

const int HeaderLineBytes = HeaderKeyBytes + HeaderValueBytes + 64;   // a line with room for blanks
static char HeaderLine[HeaderLineBytes];                              // the line being read

// key without case, '!' or blanks into out; 0 when it does not fit.
static int NormaliseKey(const char *key, const char *end, char out[HeaderKeyBytes]) {
    int n = 0;
    for (const char *p = key; p < end; p++) {
        if (*p == ' ' || *p == '\t' || (*p == '!' && n == 0)) continue;
        if (n + 1 >= HeaderKeyBytes) return 0;
        out[n++] = (char)tolower((unsigned char)*p);
    }
    out[n] = 0;
    return 1;
}

int ReadInterfileHeader(const char *path) {
    HeaderKeyCount = 0;
    FILE *file = fopen(path, "rb");
    if (!file) return Refuse("cannot open %s", Printable(path));
    int line = 0, ok = 1, ended = 0;
    while (ok && !ended && fgets(HeaderLine, sizeof HeaderLine, file)) {
        line++;
        size_t length = strlen(HeaderLine);
        if (length + 1 == sizeof HeaderLine && HeaderLine[length - 1] != '\n') {
            ok = Refuse("%s: line %d is longer than %d bytes; is it a header?", Printable(path), line, HeaderLineBytes - 2);
            break;
        }
        char *comment = strchr(HeaderLine, ';');
        if (comment) *comment = 0;
        char *mark = strstr(HeaderLine, ":=");
        if (!mark) continue;   // blank lines, comments and section titles without a value
        char key[HeaderKeyBytes];
        if (!NormaliseKey(HeaderLine, mark, key)) {
            ok = Refuse("%s: the key of line %d is too long; is it a header?", Printable(path), line);
            break;
        }
        if (HeaderKeyCount == 0 && strcmp(key, "interfile") != 0) {
            ok = Refuse("%s is not an Interfile header: it does not begin with !INTERFILE :=", Printable(path));
            break;
        }
        if (strcmp(key, "endofinterfile") == 0) ended = 1;
        if (HeaderKeyCount >= HeaderKeysMax) {
            ok = Refuse("%s has more than %d keys; is it a header?", Printable(path), HeaderKeysMax);
            break;
        }
        const char *value = mark + 2;
        while (*value == ' ' || *value == '\t') value++;
        size_t valueLength = strlen(value);
        while (valueLength > 0 && isspace((unsigned char)value[valueLength - 1])) valueLength--;
        if (valueLength >= (size_t)HeaderValueBytes) {
            ok = Refuse("%s: the value of line %d is longer than %d bytes", Printable(path), line, HeaderValueBytes - 1);
            break;
        }
        memcpy(HeaderKey[HeaderKeyCount], key, sizeof key);
        memcpy(HeaderValue[HeaderKeyCount], value, valueLength);
        HeaderValue[HeaderKeyCount][valueLength] = 0;
        HeaderKeyCount++;
    }
    if (ok && ferror(file)) ok = Refuse("cannot read %s", Printable(path));
    if (ok && HeaderKeyCount == 0)
        ok = Refuse("%s is not an Interfile header: it has no \"!INTERFILE :=\" line", Printable(path));
    fclose(file);
    return ok;
}

const char *HeaderText(const char *key) {
    char wanted[HeaderKeyBytes];
    if (!NormaliseKey(key, key + strlen(key), wanted)) return NULL;
    const char *found = NULL;
    for (int k = 0; k < HeaderKeyCount; k++)
        if (strcmp(HeaderKey[k], wanted) == 0) found = HeaderValue[k];
    return found;
}

// Whether the length bytes at a are b, without case.
static int SameWord(const char *a, size_t length, const char *b) {
    if (strlen(b) != length) return 0;
    for (size_t i = 0; i < length; i++)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i])) return 0;
    return 1;
}

int HeaderIs(const char *key, const char *words) {
    const char *value = HeaderText(key);
    if (!value) return 0;
    for (const char *p = words;;) {
        const char *end = strchr(p, '|');
        size_t length = end ? (size_t)(end - p) : strlen(p);
        if (SameWord(p, length, value)) return 1;
        if (!end) return 0;
        p = end + 1;
    }
}

int HeaderHolds(const char *key, const char *word) {
    const char *value = HeaderText(key);
    if (!value) return 0;
    size_t length = strlen(word);
    for (const char *p = value; strlen(p) >= length; p++)
        if (SameWord(p, length, word)) return 1;
    return 0;
}

// text read whole as one number, blanks around it allowed.
static int ReadHeaderNumber(const char *text, double *value) {
    char *end = NULL;
    errno = 0;
    *value = strtod(text, &end);
    if (end == text || errno != 0 || *value != *value) return 0;
    while (*end == ' ' || *end == '\t') end++;
    return *end == 0;
}

int HeaderNumber(const char *key, double lo, double hi, double *value) {
    const char *text = HeaderText(key);
    if (!text) return 1;
    double read = 0.0;
    if (!ReadHeaderNumber(text, &read) || read < lo || read > hi)
        return Refuse("%s := %s: the import needs a number from %g to %g", key, Printable(text), lo, hi);
    *value = read;
    return 1;
}

int HeaderWhole(const char *key, long lo, long hi, long *value) {
    const char *text = HeaderText(key);
    if (!text) return 1;
    double read = 0.0;
    if (!ReadHeaderNumber(text, &read) || read < (double)lo || read > (double)hi || read != (double)(long)read)
        return Refuse("%s := %s: the import needs a whole number from %ld to %ld", key, Printable(text), lo, hi);
    *value = (long)read;
    return 1;
}

int ReadWholeList(const char *text, long lo, long hi, long *values, int max, int *count) {
    *count = 0;
    const char *p = text;
    while (*p == ' ' || *p == '\t') p++;
    int braced = *p == '{';
    if (braced) p++;
    for (;;) {
        char *end = NULL;
        errno = 0;
        long read = strtol(p, &end, 10);
        if (end == p || errno != 0 || read < lo || read > hi || *count >= max) return 0;
        values[(*count)++] = read;
        p = end;
        while (*p == ' ' || *p == '\t') p++;
        if (*p != ',') break;
        p++;
    }
    if (braced && *p++ != '}') return 0;
    while (*p == ' ' || *p == '\t') p++;
    return *p == 0;
}

int HeaderWholeList(const char *key, long lo, long hi, long *values, int max, int *count) {
    *count = 0;
    const char *text = HeaderText(key);
    if (!text) return 1;
    if (!ReadWholeList(text, lo, hi, values, max, count))
        return Refuse("%s := %s: the import needs a list {a, b, ...} of at most %d whole numbers from %ld to %ld", key,
                      Printable(text), max, lo, hi);
    return 1;
}
