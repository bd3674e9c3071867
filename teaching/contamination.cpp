#include "teaching/contamination.h"

#include <stdio.h>
#include <string.h>

#include "teaching/attenuation.h"
#include "teaching/normalisation.h"
#include "teaching/sample_volume.h"
#include "teaching/scatter.h"
#include "teaching/tool_error.h"

const char *const EffectNames[EffectKinds] = {"attenuation", "scatter", "randoms", "normalisation"};

double ScatterFraction;
double RandomsFraction;
int EffectsNormalised;

float ScatterCounts[Slices][Angles][Bins];
double RandomsPerLine[Slices];
double TrueTotal;
double ScatterTotal;
double RandomsTotal;

const int ListTextBytes = 64;
static char ListText[ListTextBytes];   // EffectListText's answer

int EffectList(const char *option, const char *text, int *mask) {
    *mask = 0;
    const char *start = text;
    for (;;) {
        const char *end = strchr(start, ',');
        size_t length = end ? (size_t)(end - start) : strlen(start);
        int found = -1;
        for (int k = 0; k < EffectKinds; k++)
            if (strlen(EffectNames[k]) == length && strncmp(start, EffectNames[k], length) == 0) found = k;
        if (found < 0)
            return Refuse("--%s %s: name effects among attenuation, scatter, randoms, normalisation, separated by "
                          "commas", option, Printable(text));
        if (*mask & (1 << found)) return Refuse("--%s %s: %s is named twice", option, Printable(text), EffectNames[found]);
        *mask |= 1 << found;
        if (!end) return 1;
        start = end + 1;
    }
}

const char *EffectListText(int mask) {
    ListText[0] = 0;
    for (int k = 0; k < EffectKinds; k++)
        if (mask & (1 << k)) {
            if (ListText[0]) strcat(ListText, ",");
            strcat(ListText, EffectNames[k]);
        }
    if (!ListText[0]) strcpy(ListText, "none");
    return ListText;
}

void StartContamination() {
    TrueTotal = ScatterTotal = RandomsTotal = 0.0;
}

static double Efficiency(int s, int a, int r) { return EffectsNormalised ? LineEfficiency(s, a, r) : 1.0; }

void ContaminateSlice(int s) {
    float (*counts)[Bins] = SampleVolume[s];
    float (*scatter)[Bins] = ScatterCounts[s];
    double trues = 0.0, blurred = 0.0;
    if (ScatterFraction > 0.0) BlurAlongBins(counts, scatter);
    else memset(scatter, 0, sizeof ScatterCounts[s]);
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            double e = Efficiency(s, a, r);
            counts[a][r] = (float)(e * counts[a][r]);
            scatter[a][r] = (float)(e * scatter[a][r]);
            trues += counts[a][r];
            blurred += scatter[a][r];
        }
    // Scatter is ScatterFraction of trues plus scatter: trues x F / (1 - F).
    double scale = blurred > 0.0 ? trues * ScatterFraction / (1.0 - ScatterFraction) / blurred : 0.0;
    double scattered = 0.0;
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            scatter[a][r] = (float)(scale * scatter[a][r]);
            scattered += scatter[a][r];
        }
    double randoms = (trues + scattered) * RandomsFraction / (1.0 - RandomsFraction) / ((double)Angles * Bins);
    RandomsPerLine[s] = (float)randoms;
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) counts[a][r] = (float)((double)counts[a][r] + scatter[a][r] + RandomsPerLine[s]);
    TrueTotal += trues;
    ScatterTotal += scattered;
    RandomsTotal += RandomsPerLine[s] * Angles * Bins;
}

void ContaminateVolume() {
    StartContamination();
    for (int s = 0; s < Slices; s++) ContaminateSlice(s);
}

void CorrectSlice(int s, int mask, double scatterEstimate) {
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            double y = SampleVolume[s][a][r], divisor = 1.0;
            if (mask & EffectRandoms) y -= RandomsPerLine[s];
            if (mask & EffectScatter) y -= scatterEstimate * ScatterCounts[s][a][r];
            if (mask & EffectAttenuation) divisor *= AttenuationFactor[s][a][r];
            if (mask & EffectNormalisation) divisor *= LineEfficiency(s, a, r);
            SampleVolume[s][a][r] = (float)(y / divisor);
        }
}
