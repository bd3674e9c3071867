#include "support/driver_checks.h"

#include <gtest/gtest.h>

#include "tools/program_driver/dialogue_driver.h"

int CheckFailures;

void Check(int condition, const char *what) {
    if (condition) return;
    ++CheckFailures;
    ADD_FAILURE() << what << (DriverFailure[0] ? " -- " : "") << DriverFailure;
    DriverFailure[0] = 0;
}

int Ask(const std::string &prompt, const char *answer, int timeoutMs) {
    int ok = AwaitPrompt(prompt.c_str(), answer, timeoutMs);
    std::string message = "question \"" + prompt.substr(prompt.rfind('\n') + 1) + "\" is asked";
    Check(ok, message.c_str());
    return ok;
}
