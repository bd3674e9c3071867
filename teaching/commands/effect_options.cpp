#include "teaching/commands/effect_options.h"

#include <stdio.h>

#include "teaching/attenuation.h"
#include "teaching/commands/attenuation_options.h"
#include "teaching/commands/command_line.h"
#include "teaching/contamination.h"
#include "teaching/normalisation.h"
#include "teaching/picture_file.h"
#include "teaching/tool_error.h"
#include "recon/geometry.h"

int EffectsAsked;
int CorrectedMask;
int ModelMask;
double ScatterEstimate;
double NormalisationSpread;

const double ScatterEstimateMax = 5.0;
const double MapMoveMax = 50.0;   // pixels

// A share: from 0 up to, not including, 1.
static int FractionOption(const char *name, double *value) {
    *value = 0.0;
    if (!NumberOption(name, 0.0, 1.0, value)) return 0;
    if (*value >= 1.0) return Refuse("--%s %s: give a fraction from 0 up to, not including, 1", name, OptionText(name));
    return 1;
}

int ReadEffectOptions(int attenuated) {
    NormalisationSpread = 0.0;
    if (!FractionOption("scatter", &ScatterFraction) || !FractionOption("randoms", &RandomsFraction) ||
        !NumberOption("normalisation", 0.0, SpreadMax, &NormalisationSpread))
        return 0;
    EffectsNormalised = HasOption("normalisation");
    EffectsAsked = (attenuated ? EffectAttenuation : 0) | (HasOption("scatter") ? EffectScatter : 0) |
                   (HasOption("randoms") ? EffectRandoms : 0) | (EffectsNormalised ? EffectNormalisation : 0);
    return 1;
}

// The option that puts each effect into the data.
static const char *const EffectOption[EffectKinds] = {"--attenuation", "--scatter F", "--randoms F",
                                                      "--normalisation SPREAD"};

// Each effect of mask must be in the data.
static int HeldByData(const char *option, int mask, const char *what) {
    for (int k = 0; k < EffectKinds; k++)
        if ((mask & (1 << k)) && !(EffectsAsked & (1 << k)))
            return Refuse("--%s %s: %s no %s; add %s", option, EffectListText(mask), what, EffectNames[k], EffectOption[k]);
    return 1;
}

int ReadCorrectionOptions() {
    CorrectedMask = 0;
    ScatterEstimate = 1.0;
    MapShiftRight = MapShiftUp = 0.0;
    if (HasOption("corrected")) {
        if (!EffectList("corrected", OptionText("corrected"), &CorrectedMask)) return 0;
        if (AttenuationCorrected)
            return Refuse("--corrected and --attenuation-corrected both correct; name attenuation in --corrected");
        if (!HeldByData("corrected", CorrectedMask, "the volume holds")) return 0;
    }
    if (HasOption("scatter-estimate") && !(CorrectedMask & EffectScatter))
        return Refuse("--scatter-estimate scales the subtracted scatter; add --corrected scatter");
    static const char *const MapMoves[] = {"correction-mu-map", "map-right", "map-up"};
    for (const char *name : MapMoves)
        if (HasOption(name) && !(CorrectedMask & EffectAttenuation))
            return Refuse("--%s gives the correction's map; add --corrected attenuation", name);
    if ((HasOption("map-right") || HasOption("map-up")) && HasOption("folder") && !HasOption("correction-mu-map"))
        return Refuse("a folder's maps are not kept; to move the correction's map give it as --correction-mu-map");
    return NumberOption("scatter-estimate", 0.0, ScatterEstimateMax, &ScatterEstimate) &&
           NumberOption("map-right", -MapMoveMax, MapMoveMax, &MapShiftRight) &&
           NumberOption("map-up", -MapMoveMax, MapMoveMax, &MapShiftUp);
}

int ReadModelOptions() {
    ModelMask = 0;
    if (HasOption("model") && !EffectList("model", OptionText("model"), &ModelMask)) return 0;
    return HeldByData("model", ModelMask & ~EffectAttenuation, "the model of a volume with");
}

void PrepareEfficiencies(uint64_t seed) {
    if (EffectsNormalised) DrawEfficiencies(NormalisationSpread, seed);
    else EqualEfficiencies();
}

int CorrectionAttenuation(int pictureColumns, int pictureRows) {
    const char *map = OptionText("correction-mu-map");
    int moved = MapShiftRight != 0.0 || MapShiftUp != 0.0;
    if (!map && !moved) return 1;
    if (map) {
        if (!ReadPicture(map, ImageSide, ImageSide, "a map")) return 0;
        if (pictureColumns && (PictureColumns != pictureColumns || PictureRows != pictureRows))
            return Refuse("%s is %d x %d pixels; the correction's map must be the picture's size, %d x %d", map,
                          PictureColumns, PictureRows, pictureColumns, pictureRows);
        MuFromGreys();
        PictureAttenuation(0, PixelMm);
        SpreadAttenuation(0);
    } else if (HasOption("phantom")) {
        for (int s = 0; s < Slices; s++) SliceAttenuation(s);
    } else {
        if (!SliceAttenuation(0)) return 0;
        SpreadAttenuation(0);
    }
    MapShiftRight = MapShiftUp = 0.0;
    return 1;
}

void PrintShares() {
    double all = TrueTotal + ScatterTotal + RandomsTotal;
    if (!(all > 0.0)) return;
    printf("expected counts written: trues %.1f %%, scatter %.1f %% (%.1f %% of trues and scatter), randoms %.1f %%\n",
           100.0 * TrueTotal / all, 100.0 * ScatterTotal / all,
           TrueTotal + ScatterTotal > 0.0 ? 100.0 * ScatterTotal / (TrueTotal + ScatterTotal) : 0.0,
           100.0 * RandomsTotal / all);
}
