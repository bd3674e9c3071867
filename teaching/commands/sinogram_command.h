// quorvel_data sinogram: see its help text.
#pragma once

// argv[0] is "sinogram"; returns the tool's exit status, with ToolError set on failure.
int RunSinogramCommand(int argc, char **argv);
extern const char *const SinogramHelp;

// Builds the phantom named by --phantom at the size --scale asks for, refusing sizes
// beyond the field. Returns 0 with ToolError when the options are bad.
int PhantomFromOptions(int *phantom, double *scale);
