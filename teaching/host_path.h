// Paths as the file system takes them. On Windows a path given on the command line is
// text of the ANSI code page (932 under a Japanese locale), and fopen takes it so; the
// runtime's std::filesystem reads a narrow string byte by byte instead, and writes one
// back in UTF-8.
#pragma once
#include <filesystem>

// The path as the file system takes it: on Windows the ANSI code page's text in wide
// characters, elsewhere the bytes as they are.
std::filesystem::path HostPath(const char *path);

// The path as fopen takes it, into text. Returns 0 when it needs more than textBytes or
// has a character that the ANSI code page lacks.
int HostPathText(const std::filesystem::path &path, char *text, int textBytes);
