#include "app/LoadingThread.h"

namespace Zorva {

LoadingThread::~LoadingThread()
{
    Wait();
}

void LoadingThread::Start(std::function<void()> work)
{
    if (started) {
        return;
    }
    running = true;
    started = true;
    thread = std::thread([this, work = std::move(work)] {
        work();
        done = true;
    });
}

void LoadingThread::Wait()
{
    if (thread.joinable()) {
        thread.join();
    }
}

void LoadingThread::MarkHandled()
{
    handled = true;
    running = false;
}

} // namespace Zorva
