// The data tool run in the test's own process, as its main runs it.
#pragma once
#include <string>
#include <vector>

#include "teaching/commands/data_tool.h"
#include "teaching/tool_error.h"

// The command line's words after the program's name; the exit status, ToolError set.
inline int RunTool(std::vector<std::string> words) {
    words.insert(words.begin(), "quorvel_data");
    std::vector<char *> argv;
    for (std::string &w : words) argv.push_back(&w[0]);
    ToolError[0] = 0;
    return RunDataTool((int)argv.size(), argv.data());
}
