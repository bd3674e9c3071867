#include "tools/data_tool.h"

#include <stdio.h>
#include <string.h>

#include "tools/tool_error.h"

static const char *const ToolHelp =
    "quorvel_data: teaching data for Quorvel.\n"
    "\n"
    "  quorvel_data sinogram OUTPUT.sino (--phantom head|rods | --picture FILE | --folder DIR)\n"
    "               [--scale F] [--counts N] [--noise poisson|none] [--seed S]\n"
    "      a sinogram volume from a built-in phantom or from your own grey pictures\n"
    "  quorvel_data filter OUTPUT.txt KIND [--cutoff C] [--taps N] [--order N]\n"
    "      a real-space filter file: ramp, shepp-logan, cosine, hamming, hann,\n"
    "      butterworth or delta\n"
    "  quorvel_data compare SAVED.bmp (--phantom head|rods [--scale F] [--row N] | --picture FILE)\n"
    "               [--region C,R,RADIUS]... [--flat C,R,RADIUS] [--csv]\n"
    "      correlation, error, contrast recovery and noise of a saved final image\n"
    "\n"
    "  quorvel_data COMMAND --help   tells more about one command.\n"
    "\n"
    "Geometry (the program's): a volume is 87 slices x 128 angles x 256 radial bins. Bin r\n"
    "of angle a integrates the slice along x cos(th) + y sin(th) = r - 127.5, th = a x\n"
    "1.40625 degrees, with x to the right and y upward in the final image, in pixels from\n"
    "its centre. Row n of the projection images (the number typed at \"select slice =\")\n"
    "is file slice 86 - n. Files are written under a temporary name and renamed when\n"
    "whole. A bad argument or file gives one line on standard error and exit status 2\n"
    "(command line) or 1 (file).\n";

const char *const SinogramHelp =
    "quorvel_data sinogram OUTPUT.sino SOURCE [options]\n"
    "\n"
    "Writes a sinogram volume that Quorvel opens at \"Load PET Singram data\", and prints\n"
    "the max count Quorvel will show for it.\n"
    "\n"
    "SOURCE is one of:\n"
    "  --phantom head|rods  a built-in phantom, projected exactly (the chord through every\n"
    "                       body). head: scalp, skull, brain, ventricles, hot and cold\n"
    "                       spheres, three hot and one cold on row 43. rods: a cylinder\n"
    "                       with six groups of hot rods, 12 to 2 pixels across.\n"
    "  --picture FILE       one grey picture, used for every slice.\n"
    "  --folder DIR         one picture per slice: the .pgm and .bmp files of DIR sorted\n"
    "                       by name, the first at row 0 (the top of the projection\n"
    "                       images). Fewer than 87 fill the middle rows.\n"
    "Pictures are PGM (P2 or P5) or uncompressed BMP (8-bit grey, or 24-bit colour taken\n"
    "as its grey level 0.299 R + 0.587 G + 0.114 B). One picture pixel is one image\n"
    "pixel: a picture smaller than 256 x 256 is centred, a larger one refused. White is\n"
    "the most active. Each pixel counts as a square of uniform activity, and each bin is\n"
    "the exact sum of the chords through the squares its line crosses, so the only error\n"
    "is rounding (below 1e-12 of the value). Activity more than 127.5 pixels from the\n"
    "centre is outside the scanner's round field; the tool says so.\n"
    "\n"
    "Options:\n"
    "  --scale F          phantom size, 1 = the samples' size; at most what fits the field\n"
    "                     (1.63 for the head, 1.82 for the rods). Default 1.\n"
    "  --counts N         the dose: the largest expected count of a bin, 0.001 to 1e7.\n"
    "                     Default 1000.\n"
    "  --noise poisson|none  Poisson counting noise on every bin, or none. Default poisson.\n"
    "  --seed S           the noise's seed, 0 to 2^64 - 1 or 0x...; the same seed gives\n"
    "                     the same file on every system. Default 1.\n";

const char *const FilterHelp =
    "quorvel_data filter OUTPUT.txt KIND [options]\n"
    "\n"
    "Writes a real-space filter file that Quorvel loads at \"Load Real space Filter\": 128\n"
    "taps, one a line; tap n weights the bins n away on both sides. Each tap is the\n"
    "transform of the filter's frequency response for bins one unit apart, frequencies up\n"
    "to 1/2 cycle per bin (Nyquist). As in the sample files, the ramp family is scaled so\n"
    "that tap 0 is 10 (the plot's scale); the delta is 1 at tap 0.\n"
    "\n"
    "KIND is one of:\n"
    "  ramp          the band-limited ramp (Ram-Lak): sharpest, and the noisiest\n"
    "  shepp-logan   ramp x sinc(pi f / (2 fc))\n"
    "  cosine        ramp x cos(pi f / (2 fc))\n"
    "  hamming       ramp x (0.54 + 0.46 cos(pi f / fc))\n"
    "  hann          ramp x (0.5 + 0.5 cos(pi f / fc))\n"
    "  butterworth   ramp x 1 / (1 + (f / fc)^(2 order)), up to Nyquist\n"
    "  delta         no filtering: filtered backprojection then equals simple\n"
    "fc is the cutoff in cycles per bin. Above fc the ramp and the windows stop (all but\n"
    "Butterworth, whose response falls to half power at fc and goes on).\n"
    "\n"
    "Options:\n"
    "  --cutoff C     fc as a fraction of Nyquist, 0.05 to 1. Default 1 (fc = 1/2).\n"
    "  --taps N       keep taps 0 to N - 1 and write the rest as 0 (1 to 128). Default 128.\n"
    "  --order N      Butterworth's order, 1 to 20. Default 4. Its taps are integrated\n"
    "                 numerically, with a relative error below 1e-8.\n";

const char *const CompareHelp =
    "quorvel_data compare SAVED.bmp TRUTH [options]\n"
    "\n"
    "SAVED.bmp is a picture saved with the console menu's \" Save Graphic File\" once the\n"
    "final image is shown (at \"Change Reconstruction Slice ?\"): 1200 x 800 pixels, the\n"
    "slice at x 0..511, y 140..651, 2 x 2 pixels per sample.\n"
    "\n"
    "TRUTH is one of:\n"
    "  --phantom head|rods [--scale F] [--row N]  the phantom's slice at row N (the number\n"
    "                                typed at \"select slice =\"; default 43)\n"
    "  --picture FILE                the picture the slice was made from\n"
    "\n"
    "Quorvel shows a slice with 30 % of its peak subtracted and the rest scaled to white,\n"
    "so a grey g stands for a share 0.3 + 0.7 g / 255 of the slice's peak, and black for\n"
    "that or less. The figures:\n"
    "  correlation       Pearson's, between the greys and the ideal greys (the true slice\n"
    "                    shown the same way), inside the object's outline (the head's or\n"
    "                    cylinder's outer edge, or the picture's rectangle); 1 is best.\n"
    "  RMS error         root mean square of grey minus ideal grey over that of the ideal\n"
    "                    grey, inside the outline; 0 is best. A bright noise peak darkens\n"
    "                    the whole picture, and this counts it.\n"
    "  contrast recovery per region: (mean share in the region / mean share in the ring 2\n"
    "                    to 6 pixels outside it - 1) over (the same for the true activity);\n"
    "                    1 is full recovery. The head's spheres cut by the row are the\n"
    "                    default regions (hot_r9: a hot sphere of radius 9 there). As\n"
    "                    nothing below 0.3 of the peak shows, a region of no activity reads\n"
    "                    at most 1 - 0.3 / (the share of its surroundings).\n"
    "  noise             standard deviation over mean, in shares of the peak, in a flat\n"
    "                    region: by default the disc of radius 10 of one true level\n"
    "                    nearest the centre.\n"
    "\n"
    "Options:\n"
    "  --region C,R,RADIUS  a disc to measure, centred at column C, row R of the truth\n"
    "                       (a picture's own pixels; for a phantom the 256 x 256 slice,\n"
    "                       row 0 at the top). Repeat it for more; it replaces the defaults.\n"
    "  --flat C,R,RADIUS    the flat region for the noise, in the same coordinates.\n"
    "  --csv                one header line and one line of figures instead of the table.\n";

int RunDataTool(int argc, char **argv) {
    ToolError[0] = 0;
    if (argc < 2 || strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0 ||
        strcmp(argv[1], "help") == 0) {
        fputs(ToolHelp, stdout);
        if (argc >= 2) return ExitDone;
        Refuse("no command given: sinogram, filter or compare");
        return ExitUsage;
    }
    const char *command = argv[1];
    const char *help = strcmp(command, "sinogram") == 0 ? SinogramHelp
                       : strcmp(command, "filter") == 0 ? FilterHelp
                       : strcmp(command, "compare") == 0 ? CompareHelp
                                                          : NULL;
    if (!help) {
        Refuse("unknown command \"%s\": sinogram, filter or compare (see quorvel_data --help)", command);
        return ExitUsage;
    }
    for (int i = 2; i < argc; i++)
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
            fputs(help, stdout);
            return ExitDone;
        }
    if (help == SinogramHelp) return RunSinogramCommand(argc - 1, argv + 1);
    if (help == FilterHelp) return RunFilterCommand(argc - 1, argv + 1);
    return RunCompareCommand(argc - 1, argv + 1);
}
