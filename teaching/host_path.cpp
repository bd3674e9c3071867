#include "teaching/host_path.h"

#include <string.h>

#include <string>

#ifdef _WIN32
#include <windows.h>

std::filesystem::path HostPath(const char *path) {
    int count = MultiByteToWideChar(CP_ACP, 0, path, -1, NULL, 0);
    std::wstring wide(count > 0 ? count : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], count);
    wide.resize(wide.size() - 1);   // the terminating zero
    return wide;
}

int HostPathText(const std::filesystem::path &path, char *text, int textBytes) {
    // No best fit: a character that the code page lacks must not open another file.
    BOOL lacking = FALSE;
    int count = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, text, textBytes, NULL, &lacking);
    return count > 0 && !lacking;
}

#else

std::filesystem::path HostPath(const char *path) {
    return path;
}

int HostPathText(const std::filesystem::path &path, char *text, int textBytes) {
    const std::string &bytes = path.native();
    if (bytes.size() >= (size_t)textBytes) return 0;
    memcpy(text, bytes.c_str(), bytes.size() + 1);
    return 1;
}

#endif
