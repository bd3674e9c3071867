// The console's text as the user sees it: held lines, oldest first, current line last.
#pragma once
#include <string>
#include <vector>

#include "console/text_ring.h"

inline std::vector<std::string> RingLinesInOrder() {
    std::vector<std::string> lines;
    for (int i = 0; i < LineCount; i++) lines.push_back(TextRing[(OldestIndex + i) % RingLines]);
    return lines;
}

// The same lines joined by '\n'.
inline std::string RingText() {
    std::string text;
    for (int i = 0; i < LineCount; i++) {
        if (i > 0) text += '\n';
        text += TextRing[(OldestIndex + i) % RingLines];
    }
    return text;
}
