// Every second angle layer at half size, ten slots to a row, all against GalleryMax.
#include "recon/angle_gallery.h"

#include "app/window_side.h"
#include "recon/gap_filling.h"
#include "recon/working_arrays.h"

const int GallerySlots = 64;      // layers 0, 2, ..., 126
const int SlotsPerRow = 10;
const int SlotPitch = 130;        // pixels from one slot's corner to the next
const int GalleryTop = 200;       // y of the first row of slots
const int GalleryStep = 2;        // every second layer, every second pixel

void ShowAngleGallery() {
    // Slots that fall off the picture are still plotted: the primitive clips them.
    for (int t = 0; t < GallerySlots; t++) {
        int layer = GalleryStep * t;
        int x0 = (t % SlotsPerRow) * SlotPitch;
        int y0 = GalleryTop + (t / SlotsPerRow) * SlotPitch;
        for (int q = 0; q < ImageSide; q += GalleryStep)
            for (int p = 0; p < ImageSide; p += GalleryStep)
                PlotGray(x0 + p / GalleryStep, y0 + q / GalleryStep, AngleStack[layer][p][q], GalleryMax);
    }
}
