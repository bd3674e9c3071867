#include "teaching/commands/data_tool.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "teaching/commands/compare_command.h"
#include "teaching/commands/filter_command.h"
#include "teaching/commands/mlem_command.h"
#include "teaching/commands/sinogram_command.h"
#include "teaching/commands/tradeoff_command.h"
#include "teaching/geometry_text.h"
#include "teaching/tool_error.h"

const char *const ToolHelp =
    "quorvel_data: teaching data for Quorvel.\n"
    "\n"
    "  quorvel_data sinogram OUTPUT.sino (--phantom head|rods | --picture FILE | --folder DIR)\n"
    "               [--scale F] [--counts N] [--noise poisson|none] [--seed S]\n"
    "               [--attenuation | --attenuation-corrected] [--mu-map FILE] [--pixel-mm D]\n"
    "      a sinogram volume from a built-in phantom or from your own grey pictures\n"
    "  quorvel_data filter OUTPUT.txt KIND [--cutoff C] [--taps N] [--order N]\n"
    "      a real-space filter file: ramp, shepp-logan, cosine, hamming, hann,\n"
    "      butterworth or delta\n"
    "  quorvel_data compare SAVED.bmp (--phantom head|rods [--scale F] [--row N] | --picture FILE)\n"
    "               [--region C,R,RADIUS]... [--flat C,R,RADIUS] [--csv]\n"
    "      correlation, error, contrast recovery, noise and uniformity of a saved final image\n"
    "  quorvel_data mlem INPUT.sino OUTPUT.bmp --row N [--iterations K] [--subsets S]\n"
    "               [--attenuation (--phantom head|rods | --picture FILE | --mu-map FILE)]\n"
    "               [--post-filter FWHM] [--steps DIR]\n"
    "      one slice rebuilt by MLEM or OSEM, saved as the program shows its final image;\n"
    "      --steps DIR shows each step of MLEM on a page\n"
    "  quorvel_data tradeoff OUTDIR (--phantom head|rods | --picture FILE --region C,R,RADIUS...)\n"
    "               [--row N] [--counts N] [--realisations R]\n"
    "               [--iterations K] [--subsets LIST] [--post-filter FWHM] [--region C,R,RADIUS]...\n"
    "               [--flat C,R,RADIUS] [--seed S] [--lang en|ja]\n"
    "      contrast recovery against ensemble noise over noisy realisations: MLEM, OSEM,\n"
    "      smoothed MLEM and filtered backprojection, as a table and a page of curves\n"
    "\n"
    "  quorvel_data COMMAND --help   tells more about one command.\n"
    "\n"
    "Geometry (the program's): a volume is @SLICES@ slices x @ANGLES@ angles x @BINS@ radial bins. Bin r\n"
    "of angle a integrates the slice along x cos(th) + y sin(th) = r - @CENTRE@, th = a x\n"
    "@ANGLE_STEP@ degrees, with x to the right and y upward in the final image, in pixels from\n"
    "its centre. Row n of the projection images (the number typed at \"select slice =\")\n"
    "is file slice @LAST_SLICE@ - n. Files are written under a temporary name and renamed when\n"
    "whole. A bad argument or file gives one line on standard error and exit status 2\n"
    "(command line) or 1 (file).\n";

static void PrintHelp(const char *help) {
    static char text[GeometryTextBytes];   // the help with the geometry's numbers
    FillGeometry(help, text);
    fputs(text, stdout);
}

static int RunCommand(int argc, char **argv) {
    if (argc < 2 || strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0 ||
        strcmp(argv[1], "help") == 0) {
        PrintHelp(ToolHelp);
        if (argc >= 2) return ExitDone;
        return RefuseWith(ExitUsage, "no command given: sinogram, filter, compare, mlem or tradeoff");
    }
    const char *command = argv[1];
    const char *help = strcmp(command, "sinogram") == 0 ? SinogramHelp
                       : strcmp(command, "filter") == 0 ? FilterHelp
                       : strcmp(command, "compare") == 0 ? CompareHelp
                       : strcmp(command, "mlem") == 0    ? MlemHelp
                       : strcmp(command, "tradeoff") == 0 ? TradeoffHelp
                                                          : NULL;
    if (!help)
        return RefuseWith(ExitUsage, "unknown command \"%s\": sinogram, filter, compare, mlem or tradeoff (see quorvel_data --help)",
                          command);
    for (int i = 2; i < argc; i++)
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
            PrintHelp(help);
            return ExitDone;
        }
    if (help == SinogramHelp) return RunSinogramCommand(argc - 1, argv + 1);
    if (help == FilterHelp) return RunFilterCommand(argc - 1, argv + 1);
    if (help == MlemHelp) return RunMlemCommand(argc - 1, argv + 1);
    if (help == TradeoffHelp) return RunTradeoffCommand(argc - 1, argv + 1);
    return RunCompareCommand(argc - 1, argv + 1);
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
