#include "teaching/worker_threads.h"

#include <system_error>
#include <thread>

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
    std::thread thread[WorkersMax];
    int started[WorkersMax];
    for (int i = 0; i < count; i++) {
        started[i] = 1;
        try {
            thread[i] = std::thread(work, i);
        } catch (const std::system_error &) {
            started[i] = 0;
        }
    }
    for (int i = 0; i < count; i++)
        if (!started[i]) work(i);
    for (int i = 0; i < count; i++)
        if (started[i]) thread[i].join();
}
