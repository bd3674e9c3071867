// Content and expected pictures of the angle gallery and the final image, shared by
// the host test on the stand-in picture and the test on the real one.
#pragma once
#include <stdint.h>

#include "app/window_side.h"
#include "graphics/gray_level.h"
#include "recon/gap_filling.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"

typedef uint32_t (*PixelReader)(int x, int y);  // 0x00BBGGRR of a picture pixel

const uint32_t Background = 0x00123456u;  // painted first; no grey equals it
const int GallerySlotCount = 64;

inline uint32_t GrayColor(int level) { return (uint32_t)level * 0x010101u; }

// Asymmetric in P and Q, different in every layer; odd pixels, never shown, differ.
inline float GalleryValue(int p, int q, int a) {
    int v = (a * 3 + p / 2 + 2 * (q / 2)) % 256;
    return (float)(p % 2 || q % 2 ? 255 - v : v);
}

inline void FillGalleryStack() {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            for (int a = 0; a < Angles; a++) AngleStack[a][p][q] = GalleryValue(p, q, a);
}

inline int SlotLeft(int t) { return (t % 10) * 130; }
inline int SlotTop(int t) { return 200 + (t / 10) * 130; }

// Slots from 50 on lie below the picture, those from 40 on show 80 rows, and the
// tenth column shows 30 columns.
inline long VisibleSlotPixels(int t) {
    if (t >= 50) return 0;
    long rows = t >= 40 ? 80 : 128;
    long columns = t % 10 == 9 ? 30 : 128;
    return rows * columns;
}

// Pixels of slot t inside the picture and within [left, right) x [top, bottom).
inline long SlotPixelsInside(int t, int left, int top, int right, int bottom) {
    long count = 0;
    for (int y = SlotTop(t); y < SlotTop(t) + 128; y++)
        for (int x = SlotLeft(t); x < SlotLeft(t) + 128; x++)
            count += x >= left && x < right && y >= top && y < bottom && x < PictureWidth &&
                     y < PictureHeight;
    return count;
}

struct SlotCheck { long visible, wrong; };

// Slot t shows layer 2t, P to the right and Q down, every second pixel.
inline SlotCheck CheckSlot(int t, PixelReader read) {
    SlotCheck check = {0, 0};
    for (int q = 0; q < ImageSide; q += 2)
        for (int p = 0; p < ImageSide; p += 2) {
            int x = SlotLeft(t) + p / 2, y = SlotTop(t) + q / 2;
            if (x >= PictureWidth || y >= PictureHeight) continue;
            check.visible++;
            check.wrong += read(x, y) != GrayColor(GrayLevel(AngleStack[2 * t][p][q], GalleryMax));
        }
    return check;
}

// Slots that show a wrong pixel or a wrong number of pixels; *visible gets the total.
inline int SlotsNotAsExpected(PixelReader read, long *visible) {
    int bad = 0;
    *visible = 0;
    for (int t = 0; t < GallerySlotCount; t++) {
        SlotCheck check = CheckSlot(t, read);
        bad += check.wrong != 0 || check.visible != VisibleSlotPixels(t);
        *visible += check.visible;
    }
    return bad;
}

const float FinalWhite = 245.0f;  // DisplayMax of the final image's content
const int FinalCornerGray = 104;  // 100 x 255 / 245 = 104.08

// Asymmetric, with negatives; [0][255] is white and [255][0] a known grey.
inline void FillFinalImage() {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) ReconImage[p][q] = (float)((p + 3 * q) % 256) - 10.0f;
    ReconImage[0][255] = FinalWhite;
    ReconImage[255][0] = 100.0f;
    DisplayMax = FinalWhite;
}

// Pixels of the final image's place that do not show their sample's block.
inline long CheckFinalImage(PixelReader read) {
    long wrong = 0;
    const int side = FinalImageScale * ImageSide;   // pixels across and down
    for (int y = FinalImageTop; y < FinalImageTop + side; y++)
        for (int x = FinalImageLeft; x < FinalImageLeft + side; x++) {
            int p = (x - FinalImageLeft) / FinalImageScale, q = ImageSide - 1 - (y - FinalImageTop) / FinalImageScale;
            float value = ReconImage[p][q];
            wrong += read(x, y) != GrayColor(GrayLevel(value, DisplayMax));
        }
    return wrong;
}

// Pixels that the gallery and the final image drawn over it cover together.
inline long PixelsOfBothViews() {
    const int side = FinalImageScale * ImageSide;
    long drawn = (long)side * side;
    for (int t = 0; t < GallerySlotCount; t++)
        drawn += VisibleSlotPixels(t) - SlotPixelsInside(t, FinalImageLeft, FinalImageTop, FinalImageLeft + side,
                                                         FinalImageTop + side);
    return drawn;
}
