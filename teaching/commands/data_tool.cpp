#include "teaching/commands/data_tool.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "teaching/geometry_text.h"
#include "teaching/tool_error.h"

static const char *const ToolHelpStart = "quorvel_data: teaching data for Quorvel.\n\n";
static const char *const ToolHelpEnd =
    "\n"
    "  quorvel_data COMMAND --help   tells more about one command.\n"
    "\n"
    "Geometry (the program's): a volume is @SLICES@ slices x @ANGLES@ angles x @BINS@ radial bins. Bin r\n"
    "of angle a integrates the slice along x cos(th) + y sin(th) = r - @CENTRE@, th = a x\n"
    "@ANGLE_STEP@ degrees, with x to the right and y upward in the final image, in pixels from\n"
    "its centre. Row n of the projection images (the number typed at \"select slice =\")\n"
    "is file slice @LAST_SLICE@ - n. Files are written under a temporary name and renamed when\n"
    "whole; an interrupted run (Ctrl-C) removes its temporary file. A bad argument or file\n"
    "gives one line on standard error and exit status 2 (command line) or 1 (file); an\n"
    "option that cannot be honoured is refused before any work.\n"
    "\n"
    "Numbers, in every option: decimal, read whole, an optional minus, digits with at most\n"
    "one point, an optional exponent (2.5, .5, 1e3, 1e+07); no blank, plus sign,\n"
    "hexadecimal, inf or nan. Whole numbers (--row, --iterations, --subsets, --taps,\n"
    "--order) are digits alone, leading zeros allowed; a --seed may also be 0x and hex digits.\n";

const char *ToolHelp() {
    static char text[GeometryTextBytes];
    snprintf(text, sizeof text, "%s", ToolHelpStart);
    for (int c = 0; c < DataCommandCount; c++)
        snprintf(text + strlen(text), sizeof text - strlen(text), "%s", DataCommands[c].synopsis);
    snprintf(text + strlen(text), sizeof text - strlen(text), "%s", ToolHelpEnd);
    return text;
}

// "sinogram, filter, compare or mlem"
static const char *CommandNames() {
    static char names[256];
    names[0] = 0;
    for (int c = 0; c < DataCommandCount; c++)
        snprintf(names + strlen(names), sizeof names - strlen(names), "%s%s",
                 c == 0 ? "" : c == DataCommandCount - 1 ? " or " : ", ", DataCommands[c].name);
    return names;
}

static void PrintHelp(const char *help) {
    static char text[GeometryTextBytes];   // the help with the geometry's numbers
    FillGeometry(help, text);
    fputs(text, stdout);
}

static int RunCommand(int argc, char **argv) {
    if (argc < 2 || strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0 ||
        strcmp(argv[1], "help") == 0) {
        PrintHelp(ToolHelp());
        if (argc >= 2) return ExitDone;
        return RefuseWith(ExitUsage, "no command given: %s", CommandNames());
    }
    const DataCommand *command = NULL;
    for (int c = 0; c < DataCommandCount && !command; c++)
        if (strcmp(argv[1], DataCommands[c].name) == 0) command = &DataCommands[c];
    if (!command)
        return RefuseWith(ExitUsage, "unknown command \"%s\": %s (see quorvel_data --help)", argv[1], CommandNames());
    for (int i = 2; i < argc; i++)
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
            PrintHelp(*command->help);
            return ExitDone;
        }
    return command->run(argc - 1, argv + 1);
}

int RunDataTool(int argc, char **argv) {
    ToolError[0] = 0;
    int status = RunCommand(argc, argv);
    // Results that never reached their reader are a failure, whatever the command did.
    if ((fflush(stdout) != 0 || ferror(stdout)) && status == ExitDone) {
        const char *reason = strerror(errno);
        clearerr(stdout);
        return RefuseWith(ExitFailed, "cannot write the results to standard output: %s", reason);
    }
    return status;
}
