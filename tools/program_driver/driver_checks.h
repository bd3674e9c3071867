// Checks of the programs that drive quorvel.exe: a failed one is printed with the
// driver's reason, and counted.
#pragma once
#include <string>

extern int CheckFailures;  // checks that failed
extern int CheckPasses;    // checks that held

void Check(int condition, const char *what);

// Waits for a question as AwaitPrompt does, checks that it came, and types answer with
// Enter when one is given.
int Ask(const std::string &prompt, const char *answer, int timeoutMs);
