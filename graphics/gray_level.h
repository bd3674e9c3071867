// The grey level of a sample: value x 255 / max in double precision, truncated, 0..255.
#pragma once

int GrayLevel(float value, float max);
