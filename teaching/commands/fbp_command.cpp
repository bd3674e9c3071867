// quorvel_data fbp: one slice rebuilt by the program's own reconstruction, written as
// the picture the program saves once it shows the final image.
#include <stdio.h>

#include "graphics/memory_picture.h"
#include "recon/dialogue_picture.h"
#include "recon/filter_file.h"
#include "recon/sinogram_file.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"
#include "teaching/commands/command_line.h"
#include "teaching/commands/data_tool.h"
#include "teaching/file_replacement.h"
#include "teaching/final_picture.h"
#include "teaching/tool_error.h"

const char *const FbpHelp =
    "quorvel_data fbp INPUT.sino OUTPUT.bmp --row N (--simple [--filter FILE] | --filter FILE)\n"
    "\n"
    "Rebuilds one slice as Quorvel does, by its own code in its own order, and writes the\n"
    "@PICTURE@ picture that Quorvel shows at \"Change Reconstruction Slice ?\" and saves with\n"
    "\" Save Graphic File\": the projection images with the row's markers, the slice's\n"
    "sinogram, the filter's plot, the angle layers and the final image at @FINAL_PLACE@.\n"
    "The final image equals Quorvel's pixel for pixel; the picture's two labels, which\n"
    "need the system's fonts, are left out, and its wide lines may differ at their edges.\n"
    "It reads every volume Quorvel opens: any 24-byte header, any sample values, bytes\n"
    "after the samples.\n"
    "\n"
    "Options:\n"
    "  --row N        the slice: the row typed at \"select slice =\", 0 to @LAST_SLICE@. Required.\n"
    "  --simple       simple backprojection (method 1); the filter, if given, is only plotted.\n"
    "  --filter FILE  filtered backprojection (method 2) with this real-space filter file,\n"
    "                 read as Quorvel reads it.\n";

// The picture in memory as a 24-bit BMP into an open file; 1 when every byte was written.
static int WriteMemoryPictureTo(FILE *file) {
    static unsigned char row[PictureWidth * 3];   // one row, blue green red
    int ok = WritePictureHeader(file);
    for (int y = PictureHeight - 1; y >= 0 && ok; y--) {
        for (int x = 0; x < PictureWidth; x++) {
            uint32_t color = MemoryPixels[y][x];   // 0x00BBGGRR
            row[3 * x] = (unsigned char)(color >> 16);
            row[3 * x + 1] = (unsigned char)(color >> 8);
            row[3 * x + 2] = (unsigned char)color;
        }
        ok = fwrite(row, 1, sizeof row, file) == sizeof row;
    }
    return ok;
}

int RunFbpCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "simple") || !OnlyOptions("fbp", "row simple filter", "")) return ExitUsage;
    if (PositionalCount != 2)
        return RefuseWith(ExitUsage, "fbp takes two words besides its options, the volume and the picture to write "
                                     "(see quorvel_data fbp --help)");
    if (!HasOption("row")) return RefuseWith(ExitUsage, "fbp needs --row N, the row typed at \"select slice =\"");
    if (!HasOption("simple") && !HasOption("filter"))
        return RefuseWith(ExitUsage, "fbp needs a method: --simple, or --filter FILE for filtered backprojection");
    long row = 0;
    if (!WholeOption("row", 0, LastSlice, &row)) return ExitUsage;
    const char *input = Positional[0], *output = Positional[1], *filter = OptionText("filter");
    if (SameFile(output, input) || (filter && SameFile(output, filter)))
        return RefuseWith(ExitUsage, "the output %s is also an input; give the picture another name", output);

    FILE *file = BeginReplacing(output);
    if (!file) return ExitFailed;
    int ok = 1;
    if (filter && !ReadFilterTaps(filter)) ok = Refuse("cannot open the filter file %s", filter);
    if (ok) ok = LoadSinogramVolume(input);   // a failure leaves the program's message in ToolError
    if (!ok) {
        FinishReplacing(output, file, 0);
        return ExitFailed;
    }
    char method = HasOption("simple") ? '1' : '2';
    DrawDialoguePicture((int)row, method);
    int written = WriteMemoryPictureTo(file);
    if (!FinishReplacing(output, file, written))
        return written ? ExitFailed : RefuseWith(ExitFailed, "cannot write %s (is there room?)", output);
    if (method == '1') printf("wrote %s: row %ld by simple backprojection\n", Printable(output), row);
    else printf("wrote %s: row %ld by filtered backprojection with %s\n", Printable(output), row, Printable(filter));
    printf(" max count = %lf; the final image's white stands for %g\n", (double)MaxCount, (double)DisplayMax);
    return ExitDone;
}
