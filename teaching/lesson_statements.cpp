#include "teaching/lesson_statements.h"

#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

const char *const FigureColumnNames[FigureColumns] = {"correlation", "nrmse",      "cr_hot_r9",     "cr_hot_r6",
                                                      "cr_hot_r4",   "cr_cold_r8", "noise_percent", "uniformity"};
int LessonRowCount;
int LessonRowLesson[LessonRowsMax];
long LessonRowDose[LessonRowsMax];
char LessonRowMethod[LessonRowsMax][MethodKeyBytes];
double LessonFigures[LessonRowsMax][FigureColumns];
int LessonBounds[LessonRowsMax][FigureColumns];

const long EveryDose = -1;   // the comparison is made at each dose of the run

// left's figure against right's times factor, at dose (the attenuation lesson has one);
// no right row: against factor itself.
struct Comparison {
    const char *label;
    int lesson;
    long dose;
    const char *left, *figure;
    char relation;   // '<' or '>'
    const char *right;
    double factor;
};

#define D LessonDose
#define A LessonAttenuation
#define T LessonTradeoff
#define C LessonCorrections
static const Comparison Comparisons[] = {
    // Simple backprojection blurs, whatever the dose.
    {"D1", D, EveryDose, "simple", "correlation", '<', "ramp", 1}, {"D1", D, EveryDose, "simple", "correlation", '<', "shepp_logan", 1},
    {"D1", D, EveryDose, "simple", "correlation", '<', "hann", 1}, {"D1", D, EveryDose, "simple", "correlation", '<', "hann_half", 1},
    {"D1", D, EveryDose, "simple", "correlation", '<', "mlem", 1},
    {"D1", D, EveryDose, "simple", "cr_hot_r9", '<', "ramp", 1}, {"D1", D, EveryDose, "simple", "cr_hot_r9", '<', "shepp_logan", 1},
    {"D1", D, EveryDose, "simple", "cr_hot_r9", '<', "hann", 1}, {"D1", D, EveryDose, "simple", "cr_hot_r9", '<', "hann_half", 1},
    {"D1", D, EveryDose, "simple", "cr_hot_r9", '<', "mlem", 1},
    {"D2", D, EveryDose, "simple", "noise_percent", '<', "ramp", 1}, {"D2", D, EveryDose, "simple", "noise_percent", '<', "shepp_logan", 1},
    {"D2", D, EveryDose, "simple", "noise_percent", '<', "hann", 1}, {"D2", D, EveryDose, "simple", "noise_percent", '<', "hann_half", 1},
    {"D2", D, EveryDose, "simple", "noise_percent", '<', "mlem", 1},
    {"D3", D, 100, "ramp", "correlation", '>', "simple", 1}, {"D3", D, 100, "ramp", "correlation", '<', "simple", 1.5},
    {"D4", D, 100, "ramp", "nrmse", '<', "simple", 0.6},
    {"D6", D, 10000, "shepp_logan", "correlation", '>', "ramp", 1}, {"D6", D, 10000, "hann", "correlation", '>', "ramp", 1},
    {"D6", D, 10000, "hann_half", "correlation", '>', "ramp", 1}, {"D6", D, 10000, "ramp", "cr_cold_r8", '>', "hann", 1},
    {"D6", D, 10000, "ramp", "cr_cold_r8", '>', "hann_half", 1},
    {"D7", D, EveryDose, "ramp", "noise_percent", '>', "shepp_logan", 1},
    {"D7", D, EveryDose, "shepp_logan", "noise_percent", '>', "hann", 1},
    {"D7", D, EveryDose, "hann", "noise_percent", '>', "hann_half", 1},
    {"D8", D, 100, "ramp", "correlation", '<', "shepp_logan", 1}, {"D8", D, 100, "shepp_logan", "correlation", '<', "hann", 1},
    {"D8", D, 100, "hann", "correlation", '<', "hann_half", 1}, {"D8", D, 1000, "ramp", "correlation", '<', "shepp_logan", 1},
    {"D8", D, 1000, "shepp_logan", "correlation", '<', "hann", 1}, {"D8", D, 1000, "hann", "correlation", '<', "hann_half", 1},
    {"D9", D, 10000, "hann_half", "correlation", '<', "hann", 1}, {"D9", D, 10000, "hann_half", "cr_hot_r4", '<', "hann", 1},
    {"D9", D, 10000, "hann_half", "cr_hot_r9", '>', "hann", 1},
    {"D10", D, EveryDose, "ramp", "cr_cold_r8", '<', nullptr, 0.5}, {"D10", D, EveryDose, "shepp_logan", "cr_cold_r8", '<', nullptr, 0.5},
    {"D10", D, EveryDose, "hann", "cr_cold_r8", '<', nullptr, 0.5}, {"D10", D, EveryDose, "hann_half", "cr_cold_r8", '<', nullptr, 0.5},
    {"D10", D, EveryDose, "simple", "cr_cold_r8", '<', nullptr, 0.5}, {"D10", D, EveryDose, "mlem", "cr_cold_r8", '<', nullptr, 0.5},
    {"M1", D, EveryDose, "mlem", "correlation", '>', "ramp", 1},
    {"M2", D, EveryDose, "mlem", "nrmse", '<', "ramp", 1},
    {"M3", D, 100, "mlem", "cr_hot_r9", '>', "hann_half", 1}, {"M3", D, 100, "mlem", "cr_hot_r6", '>', "hann_half", 1},
    {"M3", D, 100, "mlem", "cr_hot_r4", '>', "hann_half", 1},
    {"M4", D, 100, "mlem", "noise_percent", '>', "ramp", 1},
    {"M5", D, EveryDose, "mlem", "cr_cold_r8", '<', "hann_half", 1},
    {"A1", A, 0, "attenuated/hann_half", "uniformity", '<', "none/hann_half", 1},
    {"A2", A, 0, "attenuated/ramp", "correlation", '<', "none/ramp", 1},
    {"A2", A, 0, "attenuated/hann_half", "correlation", '<', "none/hann_half", 1},
    {"A3", A, 0, "attenuated/mlem", "correlation", '<', "none/mlem", 1},
    {"A4", A, 0, "corrected/hann_half", "uniformity", '>', "attenuated/hann_half", 1},
    {"A5", A, 0, "corrected/hann_half", "noise_percent", '>', "none/hann_half", 1},
    {"A6", A, 0, "corrected/ramp", "nrmse", '>', "attenuated/ramp", 1},
    {"A7", A, 0, "corrected/mlem_model", "correlation", '>', "attenuated/mlem", 2},
    {"A8", A, 0, "corrected/mlem_model", "cr_hot_r9", '>', "corrected/hann_half", 1},
    {"A8", A, 0, "corrected/mlem_model", "cr_hot_r6", '>', "corrected/hann_half", 1},
    {"A8", A, 0, "corrected/mlem_model", "cr_hot_r4", '>', "corrected/hann_half", 1},
    {"A9", A, 0, "corrected/mlem_model", "noise_percent", '>', "corrected/hann_half", 1},
    {"A10", A, 0, "corrected/mlem_model", "correlation", '>', "corrected/ramp", 1},
    // The trade-off: figures of the mean image over the realisations, at one dose.
    {"T1", T, 0, "mlem/10", "cr_hot_r9", '>', "mlem/5", 1}, {"T1", T, 0, "mlem/20", "cr_hot_r9", '>', "mlem/10", 1},
    {"T1", T, 0, "mlem/40", "cr_hot_r9", '>', "mlem/20", 1}, {"T1", T, 0, "mlem/10", "noise_percent", '>', "mlem/5", 1},
    {"T1", T, 0, "mlem/20", "noise_percent", '>', "mlem/10", 1}, {"T1", T, 0, "mlem/40", "noise_percent", '>', "mlem/20", 1},
    {"T2", T, 0, "osem_4/5", "cr_hot_r9", '>', "mlem/20", 0.97}, {"T2", T, 0, "osem_4/5", "cr_hot_r9", '<', "mlem/20", 1.03},
    {"T2", T, 0, "osem_4/10", "cr_hot_r9", '>', "mlem/40", 0.97}, {"T2", T, 0, "osem_4/10", "cr_hot_r9", '<', "mlem/40", 1.03},
    {"T2", T, 0, "osem_8/5", "cr_hot_r9", '>', "mlem/40", 0.97}, {"T2", T, 0, "osem_8/5", "cr_hot_r9", '<', "mlem/40", 1.03},
    {"T3", T, 0, "mlem_smoothed/5", "noise_percent", '<', "mlem/5", 1},
    {"T3", T, 0, "mlem_smoothed/10", "noise_percent", '<', "mlem/10", 1},
    {"T3", T, 0, "mlem_smoothed/20", "noise_percent", '<', "mlem/20", 1},
    {"T3", T, 0, "mlem_smoothed/40", "noise_percent", '<', "mlem/40", 1},
    {"T3", T, 0, "mlem_smoothed/20", "cr_hot_r4", '<', "mlem/20", 1},
    {"T4", T, 0, "mlem/20", "cr_hot_r9", '>', "fbp/hann", 1}, {"T4", T, 0, "mlem/20", "noise_percent", '<', "fbp/hann", 1},
    {"T5", T, 0, "osem_8/40", "cr_hot_r9", '<', "osem_8/20", 1.02},
    {"T5", T, 0, "osem_8/40", "noise_percent", '>', "osem_8/20", 1.2},
    {"T6", T, 0, "mlem/40", "nrmse", '<', "mlem/5", 1}, {"T6", T, 0, "osem_8/40", "nrmse", '>', "osem_8/5", 1},
    // The corrections, at the attenuation lesson's dose.
    {"C1", C, 0, "scatter/hann_half_corrected", "correlation", '>', "scatter/hann_half", 1},
    {"C1", C, 0, "scatter/hann_half_corrected", "cr_hot_r9", '>', "scatter/hann_half", 1},
    {"C1", C, 0, "scatter/hann_half_corrected", "cr_hot_r6", '>', "scatter/hann_half", 1},
    {"C1", C, 0, "scatter/hann_half_corrected", "cr_hot_r4", '>', "scatter/hann_half", 1},
    {"C2", C, 0, "scatter/ramp_corrected", "correlation", '<', "scatter/ramp", 1.03},
    {"C2", C, 0, "scatter/ramp_corrected", "correlation", '>', "scatter/ramp", 0.97},
    {"C3", C, 0, "scatter/mlem_effects", "correlation", '>', "scatter/mlem", 1},
    {"C3", C, 0, "scatter/mlem_effects", "cr_hot_r9", '>', "scatter/mlem", 1},
    {"C4", C, 0, "randoms/hann_half_corrected", "correlation", '<', "randoms/hann_half", 1.02},
    {"C4", C, 0, "randoms/hann_half_corrected", "correlation", '>', "randoms/hann_half", 0.98},
    {"C5", C, 0, "randoms/mlem_effects", "cr_hot_r9", '>', "randoms/mlem", 1},
    {"C5", C, 0, "randoms/mlem_effects", "correlation", '<', "randoms/mlem", 1},
    {"C6", C, 0, "normalisation/ramp_corrected", "correlation", '>', "normalisation/ramp", 1.5},
    {"C6", C, 0, "normalisation/hann_half_corrected", "correlation", '>', "normalisation/hann_half", 1.1},
    {"C7", C, 0, "normalisation/mlem_effects", "correlation", '>', "normalisation/mlem", 1.15},
    {"C8", C, 0, "all/hann_half_corrected", "correlation", '>', "all/hann_half", 2},
    {"C8", C, 0, "all/mlem_effects", "correlation", '>', "all/mlem", 2},
    {"C9", C, 0, "all/mlem_effects", "correlation", '>', "all/hann_half_corrected", 1},
    {"C9", C, 0, "all/mlem_effects", "cr_hot_r9", '>', "all/hann_half_corrected", 1},
    {"C10", C, 0, "scatter_under/hann_half_corrected", "correlation", '>', "scatter/hann_half", 1},
    {"C10", C, 0, "scatter_under/hann_half_corrected", "correlation", '<', "scatter/hann_half_corrected", 1},
    {"C11", C, 0, "scatter_over/hann_half_corrected", "cr_hot_r9", '>', "scatter/hann_half_corrected", 1},
    {"C11", C, 0, "scatter_over/hann_half_corrected", "uniformity", '<', nullptr, 1},
    {"C12", C, 0, "moved_map/hann_half_corrected", "correlation", '<', "all/hann_half_corrected", 1.02},
    {"C12", C, 0, "moved_map/hann_half_corrected", "correlation", '>', "all/hann_half_corrected", 0.98},
    {"C12", C, 0, "moved_map/hann_half_corrected", "cr_hot_r9", '<', "all/hann_half_corrected", 1},
};
#undef D
#undef A
#undef T
#undef C
const int ComparisonCount = sizeof Comparisons / sizeof Comparisons[0];

// A method's figure at one dose against its own at another, times factor.
struct AcrossDoses {
    const char *label, *method, *figure;
    long dose;
    char relation;
    long otherDose;
    double factor;
};
static const AcrossDoses Across[] = {
    {"D1", "simple", "correlation", 10000, '<', 100, 1.05},
    {"D1", "simple", "correlation", 10000, '>', 100, 0.95},
    {"D5", "ramp", "correlation", 100, '<', 1000, 1},
    {"D5", "ramp", "correlation", 1000, '<', 10000, 1},
};
const int AcrossCount = sizeof Across / sizeof Across[0];

const char *const StatementLabels[] = {"D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8", "D9", "D10", "M1", "M2", "M3",
                                       "M4", "M5", "A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9", "A10",
                                       "T1", "T2", "T3", "T4", "T5", "T6", "C1", "C2", "C3", "C4", "C5", "C6",
                                       "C7", "C8", "C9", "C10", "C11", "C12"};
const int StatementCount = sizeof StatementLabels / sizeof StatementLabels[0];

const char *const StatementWords[][2] = {
    {"Simple backprojection blurs, whatever the dose: its correlation and largest hot sphere's recovery are below every other method's.",
     "単純逆投影は線量によらずぼやける: 相関と最大のホット球の回復率が他のどの方法より低い。"},
    {"Simple backprojection's noise is the lowest of every row.", "単純逆投影のノイズはどの行でも最も低い。"},
    {"At a max count of 100 the ramp's correlation is above simple backprojection's but less than 1.5 times it.",
     "最大カウント 100 ではランプの相関は単純逆投影より高いが、その 1.5 倍未満。"},
    {"At a max count of 100 the ramp's RMS error is less than 0.6 times simple backprojection's.",
     "最大カウント 100 ではランプの RMS 誤差は単純逆投影の 0.6 倍未満。"},
    {"The ramp's correlation climbs with the dose.", "ランプの相関は線量とともに上がる。"},
    {"At 10000 each windowed filter's correlation is above the ramp's; the ramp keeps the cold sphere's contrast best.",
     "10000 でも窓付きフィルタの相関はランプより高い。コールド球のコントラストはランプが最もよく保つ。"},
    {"From the ramp through Shepp-Logan and Hann to the half-cut Hann the noise falls at every dose.",
     "ランプ、Shepp-Logan、Hann、半分で打ち切った Hann の順に、どの線量でもノイズが下がる。"},
    {"At max counts of 100 and 1000 the correlation rises the same way.", "最大カウント 100 と 1000 では相関が同じ順に上がる。"},
    {"At the highest dose the half-cut Hann loses correlation and the smallest sphere, but keeps more of the largest.",
     "最高線量では半分打ち切りの Hann は相関と最小の球を失うが、最大の球はより多く保つ。"},
    {"The cold sphere reads low for every method: its recovery is below 0.5 everywhere.",
     "コールド球はどの方法でも低く読める: 回復率はどこでも 0.5 未満。"},
    {"MLEM's correlation is above the ramp's at every dose.", "MLEM の相関はどの線量でもランプより高い。"},
    {"MLEM's RMS error is below the ramp's at every dose.", "MLEM の RMS 誤差はどの線量でもランプより低い。"},
    {"At a max count of 100 MLEM keeps each hot sphere's contrast better than the half-cut Hann.",
     "最大カウント 100 では MLEM は各ホット球のコントラストを半分打ち切りの Hann よりよく保つ。"},
    {"At a max count of 100 MLEM's noise is above even the ramp's.", "最大カウント 100 では MLEM のノイズはランプよりも高い。"},
    {"MLEM fills the cold sphere slowly: its cold recovery is below the half-cut Hann's at every dose.",
     "MLEM はコールド球をゆっくり埋める: どの線量でも回復率が半分打ち切りの Hann より低い。"},
    {"Without correction the middle of the head sinks: the half-cut Hann's uniformity falls below its own without "
     "attenuation (the ramp's grain leaves too much black to measure it).",
     "補正しないと頭部の中央が沈む: 半分打ち切り Hann の均一性が減弱なしより低い（ランプは粒状の黒が多く測れない）。"},
    {"The uncorrected picture is wrong, not just dim: its correlation is below that without attenuation.",
     "補正なしの画像は暗いだけでなく誤っている: 相関が減弱なしより低い。"},
    {"MLEM cannot mend what its model leaves out: on uncorrected counts its correlation falls.",
     "MLEM はモデルにないものを直せない: 補正なしのカウントでは相関が下がる。"},
    {"The correction brings the middle back: the corrected half-cut Hann's uniformity is above the uncorrected one.",
     "補正で中央が戻る: 補正後の半分打ち切り Hann の均一性は補正なしより高い。"},
    {"And the noise grows: the corrected half-cut Hann's noise is above its noise without attenuation.",
     "そしてノイズが増える: 補正後の半分打ち切り Hann のノイズは減弱なしより高い。"},
    {"With the ramp the corrected noise takes over: its RMS error is above the uncorrected ramp's.",
     "ランプでは補正後のノイズが勝る: RMS 誤差が補正なしのランプより高い。"},
    {"MLEM with the attenuation in its model mends what it could not: its correlation is more than twice its own on "
     "the uncorrected counts.",
     "減弱をモデルに入れた MLEM は直せなかったものを直す: 相関が補正なしのカウントでの自分の 2 倍を超える。"},
    {"It keeps more of each hot sphere's contrast than the corrected half-cut Hann.",
     "補正後の半分打ち切り Hann より各ホット球のコントラストを多く保つ。"},
    {"But after 20 iterations it is not the quieter: its noise is above the corrected half-cut Hann's.",
     "しかし 20 回の反復後は静かではない: ノイズが補正後の半分打ち切り Hann より高い。"},
    {"It does not drown as the corrected ramp does: its correlation is above the corrected ramp's.",
     "補正後のランプのようには埋もれない: 相関が補正後のランプより高い。"},
    {"MLEM's contrast and its noise rise together with the iterations: from 5 to 10, 20 and 40 the largest hot "
     "sphere's recovery climbs, and so does the ensemble noise.",
     "MLEM のコントラストとノイズは反復とともに一緒に上がる: 5、10、20、40 回と最大のホット球の回復率が上がり、"
     "アンサンブル ノイズも上がる。"},
    {"OSEM with S subsets reaches MLEM's contrast in 1/S of the passes: 4 subsets after 5 and 10 passes, and 8 subsets "
     "after 5, are within 3 % of MLEM after 20, 40 and 40 iterations.",
     "S サブセットの OSEM は 1/S の反復で MLEM のコントラストに達する: 4 サブセットの 5 回と 10 回、8 サブセットの 5 回は、"
     "MLEM の 20 回、40 回、40 回と 3 % 以内で一致する。"},
    {"Smoothing afterwards lowers the noise at every iteration, and costs the smallest sphere's contrast.",
     "後平滑化はどの反復でもノイズを下げ、最小の球のコントラストを失う。"},
    {"After 20 iterations MLEM has more contrast than the Hann filter at less noise: its curve passes above the "
     "filters' points.",
     "20 回反復後の MLEM は Hann フィルタより少ないノイズで高いコントラストを持つ: 曲線がフィルタの点の上を通る。"},
    {"Run on, OSEM's contrast stops at the truth while its noise keeps growing: from 20 to 40 passes of 8 subsets the "
     "contrast gains under 2 % and the noise more than a fifth.",
     "反復を続けると OSEM のコントラストは真値で止まり、ノイズは増え続ける: 8 サブセットで 20 回から 40 回へ、"
     "コントラストの伸びは 2 % 未満、ノイズは 2 割以上増える。"},
    {"The bias of the mean image falls as MLEM recovers the contrast (40 iterations against 5), but OSEM run long "
     "brings it back: 8 subsets after 40 passes have more bias than after 5.",
     "平均画像のバイアスは MLEM がコントラストを回復するにつれて下がる（5 回より 40 回）が、長く回した OSEM では戻る: "
     "8 サブセットの 40 回は 5 回よりバイアスが大きい。"},
    {"Scatter is a veil: subtracting it raises the half-cut Hann's correlation and each hot sphere's contrast.",
     "散乱はベールのようなもの: 差し引くと半分打ち切り Hann の相関と各ホット球のコントラストが上がる。"},
    {"The ramp's noise hides the veil: the scatter correction changes its correlation by under 3 %.",
     "ランプではノイズがベールを隠す: 散乱補正による相関の変化は 3 % 未満。"},
    {"MLEM with the scatter in its model comes closer than MLEM that ignores it: a higher correlation and a hotter "
     "largest sphere.",
     "散乱をモデルに入れた MLEM は無視した MLEM より真に近い: 相関が高く、最大の球のコントラストも高い。"},
    {"Randoms are a flat floor, which the picture's 30 % cut mostly hides: subtracting them changes the half-cut "
     "Hann's correlation by under 2 %.",
     "偶発同時計数は平らな床で、画像の 30 % カットがほぼ隠す: 差し引いても半分打ち切り Hann の相関の変化は 2 % 未満。"},
    {"With the randoms in its model MLEM keeps more of the largest sphere's contrast, yet after 20 iterations its "
     "correlation is below that of MLEM that ignores them: a model is not a free gain.",
     "偶発をモデルに入れた MLEM は最大の球のコントラストをより保つが、20 回反復後の相関は無視した MLEM より低い: "
     "モデルはただで得られる利得ではない。"},
    {"Unequal detectors streak the picture: the normalisation raises the ramp's correlation by more than half and the "
     "half-cut Hann's by more than a tenth.",
     "検出器感度のばらつきは画像に筋を入れる: 正規化でランプの相関は 5 割以上、半分打ち切り Hann は 1 割以上上がる。"},
    {"MLEM with the efficiencies in its model is more than 15 % better correlated than MLEM that ignores them.",
     "効率をモデルに入れた MLEM の相関は、無視した MLEM より 15 % 以上高い。"},
    {"Everything at once: every correction more than doubles the half-cut Hann's correlation, and every effect in "
     "MLEM's model more than doubles MLEM's.",
     "すべてを同時に: すべての補正で半分打ち切り Hann の相関は 2 倍を超え、すべての効果をモデルに入れると MLEM の相関も 2 倍を超える。"},
    {"With every effect in its model MLEM comes closer to the truth than the fully corrected half-cut Hann: a higher "
     "correlation and a hotter largest sphere.",
     "すべての効果をモデルに入れた MLEM は完全に補正した半分打ち切り Hann より真に近い: 相関が高く、最大の球も高い。"},
    {"Subtracting half the scatter leaves part of the veil: the correlation lies between the uncorrected and the "
     "rightly corrected ones.",
     "散乱を半分だけ差し引くとベールの一部が残る: 相関は補正なしと正しい補正の間にある。"},
    {"Subtracting 1.5 times the scatter takes true counts away: the largest sphere reads hotter than with the right "
     "correction, and the brain's middle sinks below its edge (uniformity under 1).",
     "散乱を 1.5 倍差し引くと真のカウントまで取り去る: 最大の球は正しい補正より高く読め、脳の中央は縁より沈む（均一性が 1 未満）。"},
    {"A map 4 pixels (5 mm) off moves the corrected half-cut Hann's correlation by under 2 %, but the largest sphere "
     "loses contrast: a misplaced map errs locally.",
     "4 ピクセル（5 mm）ずれたマップでは補正後の半分打ち切り Hann の相関の変化は 2 % 未満だが、最大の球のコントラストは下がる: "
     "ずれたマップの誤りは局所的。"},
};
static_assert(sizeof StatementWords / sizeof StatementWords[0] == sizeof StatementLabels / sizeof StatementLabels[0],
              "one statement's words for each label");

void ClearLessonTable() { LessonRowCount = 0; }

int AddLessonRow(int lesson, long dose, const char *method, const double figures[FigureColumns],
                 const int bounds[FigureColumns]) {
    if (LessonRowCount >= LessonRowsMax || lesson < 0 || lesson >= LessonCount) return 0;
    int n = LessonRowCount++;
    LessonRowLesson[n] = lesson;
    LessonRowDose[n] = dose;
    snprintf(LessonRowMethod[n], MethodKeyBytes, "%s", method);
    for (int c = 0; c < FigureColumns; c++) LessonFigures[n][c] = figures[c], LessonBounds[n][c] = bounds ? bounds[c] : 0;
    return 1;
}

static int FindRow(int lesson, long dose, const char *method) {
    for (int n = 0; n < LessonRowCount; n++)
        if (LessonRowLesson[n] == lesson && (lesson != LessonDose || LessonRowDose[n] == dose) &&
            strcmp(LessonRowMethod[n], method) == 0)
            return n;
    return -1;
}

static int FigureColumn(const char *name) {
    for (int c = 0; c < FigureColumns; c++)
        if (strcmp(FigureColumnNames[c], name) == 0) return c;
    return -1;
}

// a relation b, each figure exact or a bound. A figure that cannot be had proves nothing,
// and a bound proves only on its own side: "<=" that a figure is below, ">=" above.
static int Holds(double a, int aBound, char relation, double b, int bBound) {
    if (isnan(a) || isnan(b)) return 0;
    int below = relation == '<';
    if ((aBound > 0 && below) || (aBound < 0 && !below) || (bBound < 0 && below) || (bBound > 0 && !below)) return 0;
    return below ? a < b : a > b;
}

// The figures each comparison compared, for the page; null when not asked for.
static char *Compared;
static int ComparedBytes;

static void Append(const char *format, ...) __attribute__((format(printf, 1, 2)));
static void Append(const char *format, ...) {
    size_t used = strlen(Compared);
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(Compared + used, ComparedBytes - used, format, arguments);
    va_end(arguments);
}
// A figure as the page shows it: "-" when it cannot be had, a bound with its mark.
static void AppendFigure(const char *name, double value, int bound) {
    if (isnan(value)) Append("%s -", name);
    else Append("%s %s%.4g", name, bound > 0 ? ">=" : bound < 0 ? "<=" : "", value);
}
// "100: correlation, simple 0.215 < ramp 0.267"; no right: against the factor alone.
static void AppendComparison(long dose, const char *figure, const char *left, double a, int aBound, char relation,
                             double factor, const char *right, double b, int bBound) {
    if (!Compared) return;
    Append("%s", Compared[0] ? "; " : "");
    if (dose >= 0) Append("%ld: ", dose);
    Append("%s, ", figure);
    AppendFigure(left, a, aBound);
    Append(" %c ", relation);
    if (!right) {
        Append("%g", b);
        return;
    }
    if (factor != 1) Append("%g x ", factor);
    AppendFigure(right, b, bBound);
}

// One comparison at one dose: StatementHolds, StatementFails or StatementLeftOut.
static int Compare(const Comparison &k, long dose, char *reason, int reasonBytes) {
    int left = FindRow(k.lesson, dose, k.left), right = k.right ? FindRow(k.lesson, dose, k.right) : -2;
    int column = FigureColumn(k.figure);
    if (left < 0 || right == -1 || column < 0) {
        snprintf(reason, reasonBytes, "this run made no %s at %ld", left < 0 ? k.left : k.right, dose);
        return StatementLeftOut;
    }
    double a = LessonFigures[left][column];
    double b = k.right ? LessonFigures[right][column] * k.factor : k.factor;
    int holds = Holds(a, LessonBounds[left][column], k.relation, b, k.right ? LessonBounds[right][column] : 0);
    AppendComparison(k.lesson == LessonDose ? dose : -1, k.figure, k.left, a, LessonBounds[left][column], k.relation,
                     k.right ? k.factor : 1, k.right, k.right ? LessonFigures[right][column] : k.factor,
                     k.right ? LessonBounds[right][column] : 0);
    if (!holds) {
        char scaled[32] = "";
        if (k.right && k.factor != 1) snprintf(scaled, sizeof scaled, "%g x ", k.factor);
        snprintf(reason, reasonBytes, "%s %s = %.4g is not %c %s%s%s", k.left, k.figure, a, k.relation, scaled,
                 k.right ? k.right : "", k.right ? "'s" : "");
        if (!k.right) snprintf(reason + strlen(reason), reasonBytes - strlen(reason), "%g", k.factor);
    }
    return holds ? StatementHolds : StatementFails;
}

// The dose lesson's doses, each once, in the order first measured.
static int RunDoses(long doses[LessonRowsMax]) {
    int count = 0;
    for (int n = 0; n < LessonRowCount; n++) {
        if (LessonRowLesson[n] != LessonDose) continue;
        int seen = 0;
        for (int d = 0; d < count; d++) seen |= doses[d] == LessonRowDose[n];
        if (!seen) doses[count++] = LessonRowDose[n];
    }
    return count;
}

int CheckStatement(int s, char reason[ReasonTextBytes], char *compared, int comparedBytes) {
    Compared = comparedBytes > 0 ? compared : nullptr;
    ComparedBytes = comparedBytes;
    if (Compared) Compared[0] = '\0';
    static long doses[LessonRowsMax];
    int doseCount = RunDoses(doses);
    int lessonRows[LessonCount] = {0};
    for (int n = 0; n < LessonRowCount; n++) lessonRows[LessonRowLesson[n]]++;
    static const char *const LessonNames[LessonCount] = {"dose", "attenuation", "trade-off", "corrections"};
    reason[0] = '\0';
    int result = StatementHolds;
    char why[ReasonTextBytes - 32];
    for (int i = 0; i < ComparisonCount; i++) {
        const Comparison &k = Comparisons[i];
        if (strcmp(k.label, StatementLabels[s]) != 0) continue;
        long at[LessonRowsMax];
        int count = 0;
        if (k.lesson != LessonDose) {
            if (lessonRows[k.lesson] == 0) {
                snprintf(reason, ReasonTextBytes, "this run made no %s lesson", LessonNames[k.lesson]);
                return StatementLeftOut;
            }
            at[count++] = 0;
        } else if (k.dose == EveryDose) {
            for (int d = 0; d < doseCount; d++) at[count++] = doses[d];
        } else {
            for (int d = 0; d < doseCount; d++)
                if (doses[d] == k.dose) at[count++] = k.dose;
            if (count == 0) {
                snprintf(reason, ReasonTextBytes, "this run made no dose of %ld", k.dose);
                return StatementLeftOut;
            }
        }
        for (int d = 0; d < count; d++) {
            int r = Compare(k, at[d], why, sizeof why);
            if (r == StatementLeftOut) {
                snprintf(reason, ReasonTextBytes, "%s", why);
                return StatementLeftOut;
            }
            if (r == StatementFails && result == StatementHolds) {
                result = StatementFails;
                if (k.lesson == LessonDose) snprintf(reason, ReasonTextBytes, "at %ld: %s", at[d], why);
                else snprintf(reason, ReasonTextBytes, "%s", why);
            }
        }
    }
    for (int i = 0; i < AcrossCount; i++) {
        const AcrossDoses &k = Across[i];
        if (strcmp(k.label, StatementLabels[s]) != 0) continue;
        int left = FindRow(LessonDose, k.dose, k.method), right = FindRow(LessonDose, k.otherDose, k.method);
        int column = FigureColumn(k.figure);
        if (left < 0 || right < 0 || column < 0) {
            snprintf(reason, ReasonTextBytes, "this run made no %s at %ld", k.method, left < 0 ? k.dose : k.otherDose);
            return StatementLeftOut;
        }
        double a = LessonFigures[left][column], b = LessonFigures[right][column] * k.factor;
        int holds = Holds(a, LessonBounds[left][column], k.relation, b, LessonBounds[right][column]);
        char leftName[MethodKeyBytes + 32], rightName[MethodKeyBytes + 32];
        snprintf(leftName, sizeof leftName, "%s at %ld", k.method, k.dose);
        snprintf(rightName, sizeof rightName, "%s at %ld", k.method, k.otherDose);
        AppendComparison(-1, k.figure, leftName, a, LessonBounds[left][column], k.relation, k.factor, rightName,
                         LessonFigures[right][column], LessonBounds[right][column]);
        if (!holds && result == StatementHolds) {
            result = StatementFails;
            snprintf(reason, ReasonTextBytes, "%s %s at %ld = %.4g is not %c %g x its %.4g at %ld", k.method, k.figure,
                     k.dose, a, k.relation, k.factor, LessonFigures[right][column], k.otherDose);
        }
    }
    return result;
}
