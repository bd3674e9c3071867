// quorvel_data run in the test's process, as a teacher types it.
#pragma once
#include <string>
#include <vector>

#include "teaching/commands/data_tool.h"
#include "teaching/tool_error.h"

// Runs "quorvel_data WORDS..."; returns its exit status, with ToolError cleared first.
inline int RunTool(std::vector<std::string> words) {
    words.insert(words.begin(), "quorvel_data");
    std::vector<char *> argv;
    for (std::string &w : words) argv.push_back(&w[0]);
    ToolError[0] = 0;
    return RunDataTool((int)argv.size(), argv.data());
}
