#include "teaching/commands/data_tool.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "teaching/commands/compare_command.h"
#include "teaching/commands/export_command.h"
#include "teaching/commands/fbp_command.h"
#include "teaching/commands/filter_command.h"
#include "teaching/commands/import_command.h"
#include "teaching/commands/lesson_command.h"
#include "teaching/commands/mlem_command.h"
#include "teaching/commands/sinogram_command.h"
#include "teaching/commands/tradeoff_command.h"
#include "teaching/geometry_text.h"
#include "teaching/tool_error.h"

// A command is a row: its name, its lines in the tool's help, its own help, and what runs it.
struct DataCommand {
    const char *name;
    const char *synopsis;
    const char *const *help;                 // the text that "COMMAND --help" prints
    int (*run)(int argc, char **argv);       // argv[0] is the command's name
};

const DataCommand DataCommands[] = {
    {"sinogram",
     "  quorvel_data sinogram OUTPUT.sino (--phantom head|rods | --picture FILE | --folder DIR)\n"
     "               [--scale F] [--counts N] [--noise poisson|none] [--seed S]\n"
     "               [--attenuation | --attenuation-corrected] [--mu-map FILE] [--pixel-mm D]\n"
     "               [--scatter F] [--randoms F] [--normalisation SPREAD] [--corrected LIST]\n"
     "      a sinogram volume from a built-in phantom or from your own grey pictures\n",
     &SinogramHelp, RunSinogramCommand},
    {"filter",
     "  quorvel_data filter OUTPUT.txt KIND [--cutoff C] [--taps N] [--order N]\n"
     "      a real-space filter file; KIND is\n"
     "      @FILTER_KINDS@\n",
     &FilterHelp, RunFilterCommand},
    {"compare",
     "  quorvel_data compare SAVED.bmp (--phantom head|rods [--scale F] [--row N] | --picture FILE)\n"
     "               [--region C,R,RADIUS]... [--flat C,R,RADIUS] [--csv]\n"
     "      correlation, error, contrast recovery, noise and uniformity of a saved final image\n",
     &CompareHelp, RunCompareCommand},
    {"mlem",
     "  quorvel_data mlem INPUT.sino OUTPUT.bmp --row N [--iterations K] [--subsets S]\n"
     "               [--attenuation (--phantom head|rods | --picture FILE | --mu-map FILE)]\n"
     "               [--model LIST] [--post-filter FWHM] [--steps DIR]\n"
     "      one slice rebuilt by MLEM or OSEM, saved as the program shows its final image;\n"
     "      --steps DIR shows each step of MLEM on a page\n",
     &MlemHelp, RunMlemCommand},
    {"fbp",
     "  quorvel_data fbp INPUT.sino OUTPUT.bmp --row N (--simple [--filter FILE] | --filter FILE)\n"
     "      one slice rebuilt by the program's own reconstruction, saved as the program saves it\n",
     &FbpHelp, RunFbpCommand},
    {"tradeoff",
     "  quorvel_data tradeoff OUTDIR (--phantom head|rods | --picture FILE --region C,R,RADIUS...)\n"
     "               [--row N] [--counts N] [--realisations R]\n"
     "               [--iterations K] [--subsets LIST] [--post-filter FWHM] [--region C,R,RADIUS]...\n"
     "               [--flat C,R,RADIUS] [--seed S] [--lang en|ja]\n"
     "      contrast recovery against ensemble noise over noisy realisations: MLEM, OSEM,\n"
     "      smoothed MLEM and filtered backprojection, as a table and a page of curves\n",
     &TradeoffHelp, RunTradeoffCommand},
    {"lesson",
     "  quorvel_data lesson OUTDIR (--phantom head|rods | --picture FILE) [--row N] [--counts LIST]\n"
     "               [--filters LIST] [--iterations K] [--seed S] [--lang en|ja]\n"
     "      the dose, MLEM, attenuation and corrections lessons as one page: grids, figures,\n"
     "      plots and the statements a student should see, each checked\n",
     &LessonHelp, RunLessonCommand},
    {"import",
     "  quorvel_data import IN.hs OUTPUT.sino [--segment 0] [--frame 1] [--bin-mm D]\n"
     "  quorvel_data import RAW OUTPUT.sino --raw TYPE --shape SLICES,VIEWS,BINS [--offset BYTES]\n"
     "      a volume from STIR's or a scanner's Interfile projection data, or from a raw array\n",
     &ImportHelp, RunImportCommand},
    {"export",
     "  quorvel_data export INPUT.sino OUT.hs [--bin-mm D]\n"
     "      the volume as an Interfile pair (OUT.hs, OUT.s) that STIR reads\n",
     &ExportHelp, RunExportCommand},
};
const int DataCommandCount = (int)(sizeof DataCommands / sizeof DataCommands[0]);

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
