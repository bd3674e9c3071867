// The tools' texts name the program's geometry by tokens, filled in from its one
// definition (recon/geometry.h), so that no text can state another number:
//   @SLICES@ @ANGLES@ @BINS@ @LAST_SLICE@   the volume, and the last file slice
//   @CENTRE@ @ANGLE_STEP@                   the rotation centre in bins, the angle step
//   @SIDE@                                  the image's side in pixels
//   @PICTURE@ @FINAL_PLACE@ @SCALE@         "1200 x 800", where the final image lies in
//                                           the picture, and its pixels per sample
//   @FILTER_KINDS@ @FILTER_LINES@           the filter kinds' names, as a sentence and
//                                           one line each with its response
#pragma once

const int GeometryTextBytes = 8192;   // the longest text, filled in, with room to spare

// Copies text into out with each token replaced; what does not fit is cut.
void FillGeometry(const char *text, char out[GeometryTextBytes]);
