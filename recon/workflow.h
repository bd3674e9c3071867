// The dialogue that leads the user from a sinogram file to a reconstructed slice.
#pragma once

[[noreturn]] void RunWorkflow();
