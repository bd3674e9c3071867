// quorvel_data: the teaching-data tool. Its commands write sinogram volumes and filter
// files for the program and compare a saved picture of a reconstruction with the truth.
#pragma once

const int ExitDone = 0;
const int ExitFailed = 1;   // a file could not be read or written
const int ExitUsage = 2;    // the command line asks for something the tool cannot do

// What quorvel_data --help prints, before the geometry's numbers are filled in: the
// commands of the table below and the program's geometry.
const char *ToolHelp();

// Runs the command line; prints results on standard output and returns the exit status.
// On failure ToolError holds the one line to show.
int RunDataTool(int argc, char **argv);

// A command is a row: its name, its lines in the tool's help, its own help, and what runs it.
struct DataCommand {
    const char *name;
    const char *synopsis;
    const char *const *help;                 // the text that "COMMAND --help" prints
    int (*run)(int argc, char **argv);       // argv[0] is the command's name
};

// The commands, in the order the help lists them. A command is a file of its own,
// NAME_command.cpp, which the build takes as it finds it, and its two lines and its row
// here; it returns the tool's exit status, with ToolError set on failure.
extern const char *const SinogramHelp;
int RunSinogramCommand(int argc, char **argv);
extern const char *const FilterHelp;
int RunFilterCommand(int argc, char **argv);
extern const char *const CompareHelp;
int RunCompareCommand(int argc, char **argv);
extern const char *const MlemHelp;
int RunMlemCommand(int argc, char **argv);
extern const char *const FbpHelp;
int RunFbpCommand(int argc, char **argv);
extern const char *const TradeoffHelp;
int RunTradeoffCommand(int argc, char **argv);
extern const char *const LessonHelp;
int RunLessonCommand(int argc, char **argv);
extern const char *const ImportHelp;
int RunImportCommand(int argc, char **argv);
extern const char *const ExportHelp;
int RunExportCommand(int argc, char **argv);

inline const DataCommand DataCommands[] = {
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
inline const int DataCommandCount = (int)(sizeof DataCommands / sizeof DataCommands[0]);
