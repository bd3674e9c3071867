// An Interfile header: "key := value" lines. Keys are compared without case, without a
// leading '!' and without blanks; ';' starts a comment; "!END OF INTERFILE" ends it.
#pragma once

const int HeaderKeysMax = 512;      // key lines kept from one header
const int HeaderKeyBytes = 96;      // a key, normalised, with its zero
const int HeaderValueBytes = 1024;  // a value, trimmed, with its zero
const int HeaderListMax = 256;      // numbers in one "{a, b, ...}" value

extern int HeaderKeyCount;
extern char HeaderKey[HeaderKeysMax][HeaderKeyBytes];      // normalised: "matrixsize[1]"
extern char HeaderValue[HeaderKeysMax][HeaderValueBytes];  // as written, blanks trimmed

// Reads the header at path. Returns 0 with ToolError when it cannot be read, is not
// Interfile, or has a line too long to keep.
int ReadInterfileHeader(const char *path);

// The value of key (written as in a header, e.g. "!matrix size [1]"), the last one given;
// NULL when absent.
const char *HeaderText(const char *key);
// Whether the value of key, without case, is one of the '|'-separated words.
int HeaderIs(const char *key, const char *words);
// Whether the value of key holds word, without case.
int HeaderHolds(const char *key, const char *word);

// A number read whole within [lo, hi]: returns 1 and sets value, leaves value when key is
// absent and returns 1, or returns 0 with ToolError naming the key.
int HeaderNumber(const char *key, double lo, double hi, double *value);
int HeaderWhole(const char *key, long lo, long hi, long *value);
// "{a, b, c}" or a lone number: whole numbers within [lo, hi], at most max of them. Sets
// count (0 when absent); 0 with ToolError naming the key when malformed.
int HeaderWholeList(const char *key, long lo, long hi, long *values, int max, int *count);
// The same reader for any text, "a,b,c" with or without braces; 0 when malformed.
int ReadWholeList(const char *text, long lo, long hi, long *values, int max, int *count);
