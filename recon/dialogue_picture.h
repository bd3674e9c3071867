// The picture the dialogue leaves at "Change Reconstruction Slice ?", made without asking:
// for the data tool, which draws it into a picture in memory.
#pragma once

// With the volume loaded and FilterTaps read, draws what the dialogue draws from the
// opened picture window to the final image for slice row n by method ('1' simple
// backprojection, '2' filtered): the overview, the projection gallery with the row's
// markers, the slice's sinogram, the filter's plot, the angle gallery and the final
// image, each by the program's own code in the program's order. n must name a slice.
void DrawDialoguePicture(int n, char method);
