// The phantom options that sinogram, compare, mlem and tradeoff share.
#pragma once

// Builds the phantom named by --phantom at the size --scale asks for, refusing sizes
// beyond the field. Returns 0 with ToolError when the options are bad.
int PhantomFromOptions(int *phantom, double *scale);
