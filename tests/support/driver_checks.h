// Checks of the tests that drive quorvel.exe from outside: each is a GoogleTest
// expectation, which a failure reports with the driver's reason, and counts, so that a
// test can tell whether the program reached the state a step leaves it in.
#pragma once
#include <string>

extern int CheckFailures;  // checks that failed since the count was last reset

void Check(int condition, const char *what);

// Waits for a question as AwaitPrompt does, checks that it came, and types answer with
// Enter when one is given.
int Ask(const std::string &prompt, const char *answer, int timeoutMs);
