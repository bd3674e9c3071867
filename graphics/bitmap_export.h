// Saving the picture as an uncompressed 24-bit bottom-up BMP file.
#pragma once

// Returns true once the whole file is written; false after reporting why not.
bool ExportBitmap(const char *path);
