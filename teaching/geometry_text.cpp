#include "teaching/geometry_text.h"

#include <stdio.h>
#include <string.h>

#include "teaching/filter_taps.h"
#include "recon/geometry.h"

const int GeometryTokens = 12;
const int GeometryValueBytes = 32;

void FillGeometry(const char *text, char out[GeometryTextBytes]) {
    struct Token {
        const char *name;
        char value[GeometryValueBytes];
        const char *longValue;   // instead of value, a text of its own
    } tokens[GeometryTokens] = {{"@SLICES@", "", nullptr},      {"@ANGLES@", "", nullptr},
                                {"@BINS@", "", nullptr},        {"@LAST_SLICE@", "", nullptr},
                                {"@CENTRE@", "", nullptr},      {"@ANGLE_STEP@", "", nullptr},
                                {"@SIDE@", "", nullptr},        {"@PICTURE@", "", nullptr},
                                {"@FINAL_PLACE@", "", nullptr}, {"@SCALE@", "", nullptr},
                                {"@FILTER_KINDS@", "", FilterNameList()},
                                {"@FILTER_LINES@", "", FilterResponseLines()}};
    snprintf(tokens[0].value, GeometryValueBytes, "%d", Slices);
    snprintf(tokens[1].value, GeometryValueBytes, "%d", Angles);
    snprintf(tokens[2].value, GeometryValueBytes, "%d", Bins);
    snprintf(tokens[3].value, GeometryValueBytes, "%d", LastSlice);
    snprintf(tokens[4].value, GeometryValueBytes, "%g", RotationCentre);
    snprintf(tokens[5].value, GeometryValueBytes, "%g", AngleStepDegrees);
    snprintf(tokens[6].value, GeometryValueBytes, "%d", ImageSide);
    snprintf(tokens[7].value, GeometryValueBytes, "%d x %d", PictureWidth, PictureHeight);
    snprintf(tokens[8].value, GeometryValueBytes, "x %d..%d, y %d..%d", FinalImageLeft, FinalImageRight,
             FinalImageTop, FinalImageBottom);
    snprintf(tokens[9].value, GeometryValueBytes, "%d", FinalImageScale);

    int used = 0;
    while (*text && used < GeometryTextBytes - 1) {
        const Token *found = NULL;
        for (int t = 0; t < GeometryTokens && !found; t++)
            if (strncmp(text, tokens[t].name, strlen(tokens[t].name)) == 0) found = &tokens[t];
        if (!found) {
            out[used++] = *text++;
            continue;
        }
        for (const char *v = found->longValue ? found->longValue : found->value; *v && used < GeometryTextBytes - 1; v++) out[used++] = *v;
        text += strlen(found->name);
    }
    out[used] = 0;
}
