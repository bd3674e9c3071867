// The data tool's command line: options in the forms "--name value" and "--name=value",
// each value read whole or refused with one line naming the option and what it allows.
#pragma once
#include <stdint.h>

const int ArgumentsMax = 64;   // positional words and options of one command
const int OptionNameBytes = 32;

extern int PositionalCount;                   // words that are not options
extern const char *Positional[ArgumentsMax];
extern int OptionCount;                       // options in the order typed
extern char OptionName[ArgumentsMax][OptionNameBytes];  // without the leading "--"
extern const char *OptionValue[ArgumentsMax];           // NULL for a flag

// Splits argv[first..] into positional words and options. flags lists the options that
// take no value, separated by blanks. Returns 0 with ToolError set when an option
// lacks its value.
int SplitArguments(int argc, char **argv, int first, const char *flags);

// Refuses any option not in the blank-separated list allowed, for command, and any
// given twice but those listed in repeatable.
int OnlyOptions(const char *command, const char *allowed, const char *repeatable);
// The value of the last --name, or NULL when it was not given.
const char *OptionText(const char *name);
int HasOption(const char *name);

// A number as this tool reads every number: decimal digits, an optional minus, point and
// exponent, nothing else (ReadWhole: digits and minus only). Returns 0 when text is not one
// or is out of a double's (a long's) range.
int ReadDecimal(const char *text, double *value);
int ReadWhole(const char *text, long *value);

// Values read whole, within [lo, hi]; 0 and ToolError when not.
int NumberOption(const char *name, double lo, double hi, double *value);
int WholeOption(const char *name, long lo, long hi, long *value);
int SeedOption(const char *name, uint64_t *value);
// "C,R,RADIUS": a disc centred at column C, row R.
int DiscText(const char *name, const char *text, double disc[3]);
// Sets choice to the position of the value among count names; 0 and ToolError naming
// the choices when it is none of them.
int ChoiceOption(const char *name, const char *const *names, int count, int *choice);
