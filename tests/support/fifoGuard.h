#ifndef BROX_FIFO_GUARD_H
#define BROX_FIFO_GUARD_H

#include <chrono>
#include <functional>
#include <future>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

// Runs a call that may open the FIFO at `fifo` and says whether it came back
// without waiting there for a writer. A call that waits is let go by opening
// and closing the FIFO's writing end, so that the test fails instead of
// hanging.
inline bool returnsWithoutWaitingOn(const char* fifo, const std::function<void()>& call)
{
    std::future<void> done = std::async(std::launch::async, call);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready)
        return true;
#ifndef _WIN32  // Windows has no FIFOs to wait on
    for (int attempt = 0; attempt < 500; ++attempt) {
        const int writingEnd = open(fifo, O_WRONLY | O_NONBLOCK);
        if (writingEnd >= 0) {
            close(writingEnd);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
#endif
    done.wait();
    return false;
}

#endif
