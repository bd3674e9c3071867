#pragma once

extern const char *const TradeoffHelp;
int RunTradeoffCommand(int argc, char **argv);
