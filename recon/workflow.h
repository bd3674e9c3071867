// The dialogue that leads the user from a sinogram file to a reconstructed slice.
#pragma once

[[noreturn]] void RunWorkflow();

// The filter question, dialog, reading, plot and confirmation, until the user accepts a
// filter; leaves the chosen path in path.
void LoadFilter(char *path);

// The method question; returns the answer: '1' simple, anything else filtered.
char ChooseMethod();
