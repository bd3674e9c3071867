#include "teaching/worker_threads.h"

#include <pthread.h>

#include <thread>

// The C library lays out a thread's own variables inside its stack, and MLEM's alone fill
// more than a default stack; Windows keeps them apart, on the heap.
const size_t WorkerStackBytes = (size_t)64 << 20;

static void (*Work)(int piece);   // the pieces' work while RunWorkers runs
static int Piece[WorkersMax];     // [thread] the piece it runs

static void *RunPiece(void *piece) {
    Work(*(int *)piece);
    return nullptr;
}

int ProcessorCount() {
    unsigned count = std::thread::hardware_concurrency();
    return count < 1 ? 1 : count > (unsigned)WorkersMax ? WorkersMax : (int)count;
}

void RunWorkers(int count, void (*work)(int piece)) {
    if (count > WorkersMax) count = WorkersMax;
    if (count <= 1) {
        if (count == 1) work(0);
        return;
    }
    pthread_t thread[WorkersMax];
    int started[WorkersMax];
    pthread_attr_t attributes;
    int sized = pthread_attr_init(&attributes) == 0;
#ifndef _WIN32
    if (sized) pthread_attr_setstacksize(&attributes, WorkerStackBytes);
#endif
    Work = work;
    for (int i = 0; i < count; i++) {
        Piece[i] = i;
        started[i] = pthread_create(&thread[i], sized ? &attributes : nullptr, RunPiece, &Piece[i]) == 0;
    }
    for (int i = 0; i < count; i++)
        if (!started[i]) work(i);
    for (int i = 0; i < count; i++)
        if (started[i]) pthread_join(thread[i], nullptr);
    if (sized) pthread_attr_destroy(&attributes);
}
