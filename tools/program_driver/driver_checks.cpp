#include "tools/program_driver/driver_checks.h"

#include <stdio.h>

#include "tools/program_driver/dialogue_driver.h"

int CheckFailures;
int CheckPasses;

void Check(int condition, const char *what) {
    if (condition) {
        ++CheckPasses;
        return;
    }
    ++CheckFailures;
    printf("    FAILED: %s%s%s\n", what, DriverFailure[0] ? " -- " : "", DriverFailure);
    DriverFailure[0] = 0;
}

int Ask(const char *lastLine, const char *lineBefore, const char *answer, int timeoutMs) {
    int ok = WaitForPrompt(lastLine, lineBefore, timeoutMs);
    char message[256];
    snprintf(message, sizeof message, "question \"%s\" is asked", lastLine);
    Check(ok, message);
    if (ok && answer) TypeLine(answer);
    return ok;
}
