// quorvel_data: teaching data for the reconstruction program. See tools/data_tool.cpp
// or run "quorvel_data --help".
#include <stdio.h>

#include "data/commands/data_tool.h"
#include "data/tool_error.h"

int main(int argc, char **argv) {
    int status = RunDataTool(argc, argv);
    fflush(stdout);
    if (status != ExitDone) fprintf(stderr, "quorvel_data: %s\n", ToolError);
    return status;
}
