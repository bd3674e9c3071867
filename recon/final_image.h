// The reconstructed slice at twice its size, Q upward.
#pragma once

void ShowReconstruction();
