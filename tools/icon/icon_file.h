// The icon file Explorer shows for the program: every size of the icon as a 32-bit
// bitmap with alpha and a transparency mask, in the layout resource compilers read.
#pragma once

const int IconSizeCount = 5;
extern const int IconSizes[IconSizeCount];   // sides in pixels, smallest first

// Writes the icon file. Returns 1 when the whole file was written and closed.
int WriteIconFile(const char *path);
