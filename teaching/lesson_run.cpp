#include "teaching/lesson_run.h"

#include <stdio.h>
#include <string.h>

long LessonRow;
long LessonIterations;
char LessonSource[LessonLanguages][SourceTextBytes];
int LessonDoseCount;
long LessonDoses[LessonDosesMax];
uint64_t LessonSeeds[LessonDosesMax];
int LessonMethodCount;
char LessonMethodKeys[LessonMethodsMax][MethodKeyBytes];
char LessonMethodTitles[LessonMethodsMax][LessonLanguages][TitleBytes];

const char *const AttenuationCaseKeys[AttenuationCases] = {"none", "attenuated", "corrected"};
const char *const AttenuationCaseTitles[AttenuationCases][LessonLanguages] = {
    {"no attenuation", "減弱なし"},
    {"attenuated, uncorrected", "減弱あり、補正なし"},
    {"attenuated, corrected", "減弱あり、補正あり"},
};
const char *const AttenuationMethodKeys[AttenuationMethods] = {"ramp", "hann_half", "mlem"};

const char *AttenuationRowMethod(int c, int m) {
    static char method[MethodKeyBytes];
    int modelled = c == 2 && strcmp(AttenuationMethodKeys[m], "mlem") == 0;
    snprintf(method, sizeof method, "%s/%s", AttenuationCaseKeys[c], modelled ? "mlem_model" : AttenuationMethodKeys[m]);
    return method;
}

// The methods of today's lesson; a filter of another kind or cutoff is titled by the command.
static const char *const KnownTitles[][1 + LessonLanguages] = {
    {"simple", "simple backprojection", "単純逆投影"},
    {"ramp", "ramp", "ランプ"},
    {"shepp_logan", "Shepp-Logan", "Shepp-Logan"},
    {"hann", "Hann", "Hann"},
    {"hann_half", "Hann, cutoff 0.5", "Hann（カットオフ 0.5）"},
    {"mlem_model", "MLEM, attenuation in its model", "MLEM（減弱をモデルに含む）"},
};

const char *KnownMethodTitle(const char *key, int language) {
    for (const auto &known : KnownTitles)
        if (strcmp(known[0], key) == 0) return known[1 + language];
    return nullptr;
}

const char *LessonMethodTitle(const char *key, int language) {
    for (int m = 0; m < LessonMethodCount; m++)
        if (strcmp(LessonMethodKeys[m], key) == 0) return LessonMethodTitles[m][language];
    const char *known = KnownMethodTitle(key, language);
    return known ? known : key;
}

void LessonPictureName(int n, char *name, int bytes) {
    if (LessonRowLesson[n] == LessonDose) {
        snprintf(name, bytes, "dose-%ld-%s", LessonRowDose[n], LessonRowMethod[n]);
        return;
    }
    snprintf(name, bytes, "attenuation-%s", LessonRowMethod[n]);
    for (char *c = name; *c; c++)
        if (*c == '/') *c = '-';
}
