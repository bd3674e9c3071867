// quorvel_data fbp: one slice rebuilt by the program's own reconstruction, written as
// the picture the program saves once it shows the final image.
#pragma once
#include <stdio.h>

extern const char *const FbpHelp;

int RunFbpCommand(int argc, char **argv);

// The picture in memory as a 24-bit BMP into an open file; 1 when every byte was written.
int WriteMemoryPictureTo(FILE *file);
