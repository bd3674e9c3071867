// Independent pieces of work run at once, one thread each, on the machine's processors.
#pragma once

const int WorkersMax = 4;   // threads at once; each holds its own MLEM state (some 14 MB)

// The machine's processors, 1 to WorkersMax.
int ProcessorCount();

// Runs work(0) to work(count - 1) at once and returns when all have ended; count is 1 to
// WorkersMax. A piece whose thread cannot start runs on the calling thread instead.
void RunWorkers(int count, void (*work)(int piece));
