// quorvel_data: teaching data for the reconstruction program. See teaching/commands/data_tool.cpp
// or run "quorvel_data --help".
#include <stdio.h>
#include <sys/stat.h>

#include "teaching/commands/data_tool.h"
#include "teaching/tool_error.h"

#ifdef _WIN32
#define fileno _fileno
#endif

int main(int argc, char **argv) {
    // A closed standard output would lend its number to the first file the tool opens,
    // and the results would land in it: refuse before anything is made.
    struct stat status;
    int result = fstat(fileno(stdout), &status) == 0
                     ? RunDataTool(argc, argv)
                     : RefuseWith(ExitFailed, "standard output is closed, so the results cannot be shown");
    if (result != ExitDone) fprintf(stderr, "quorvel_data: %s\n", Printable(ToolError));
    return result;
}
