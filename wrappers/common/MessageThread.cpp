#include "wrappers/common/MessageThread.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <mutex>

namespace veridane::wrappers
{
namespace
{
/** Initialises JUCE's GUI side on itself, runs the dispatch loop until told to stop, then shuts
    the GUI side down again on the same thread, where its objects were made. */
class DispatchThread : public juce::Thread
{
public:
    DispatchThread() : juce::Thread("Veridane message thread") {}

    void run() override
    {
        juce::initialiseJuce_GUI();
        juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
        ready.signal();
        juce::MessageManager::getInstance()->runDispatchLoop();
        // The message queue goes with the GUI side: wait until the stopping thread is out of it.
        stopperLeft.wait();
        juce::shutdownJuce_GUI();
    }

    /** Returns once the message manager exists and belongs to this thread; at once when the
        thread could not be started (editors then fail to open, audio is unaffected). */
    void startAndWait()
    {
        if (startThread())
            ready.wait();
    }

    void stopAndWait()
    {
        // The loop is stopped from the message thread itself: JUCE's stopDispatchLoop still
        // touches the message manager after posting its quit message, which another thread
        // could by then have seen handled and the manager deleted.
        if (auto* messageManager = juce::MessageManager::getInstanceWithoutCreating())
            messageManager->callFunctionOnMessageThread(
                [](void*) -> void*
                {
                    juce::MessageManager::getInstance()->stopDispatchLoop();
                    return nullptr;
                },
                nullptr);
        stopperLeft.signal();
        waitForThreadToExit(-1);
    }

private:
    juce::WaitableEvent ready;
    juce::WaitableEvent stopperLeft;
};

struct SharedState
{
    std::mutex lock;
    int numUsers = 0;
    std::unique_ptr<DispatchThread> thread;

    // Only a process that exits with instances still open gets here with a thread. Joining it
    // could wait forever (exit may even run on that thread), so it is left to the exit.
    ~SharedState() { (void)thread.release(); }
};

SharedState& shared()
{
    static SharedState state;
    return state;
}
} // namespace

MessageThread::User::User()
{
    auto& state = shared();
    const std::lock_guard<std::mutex> hold(state.lock);
    if (state.numUsers == 0)
    {
        state.thread = std::make_unique<DispatchThread>();
        state.thread->startAndWait();
    }
    ++state.numUsers;
}

MessageThread::User::~User()
{
    auto& state = shared();
    const std::lock_guard<std::mutex> hold(state.lock);
    if (--state.numUsers == 0)
    {
        state.thread->stopAndWait();
        state.thread.reset();
    }
}

bool MessageThread::isRunning()
{
    auto& state = shared();
    const std::lock_guard<std::mutex> hold(state.lock);
    return state.numUsers > 0;
}

bool MessageThread::runOnMessageThread(const std::function<void()>& fn)
{
    // The caller holds a User, so the thread cannot stop while this runs.
    auto* const messageManager = juce::MessageManager::getInstanceWithoutCreating();
    if (messageManager == nullptr || !isRunning())
        return false;

    auto call = [](void* userData) -> void*
    {
        try
        {
            (*static_cast<const std::function<void()>*>(userData))();
        }
        catch (...)
        {
            // An exception must neither end the dispatch loop nor reach the host.
        }
        return userData;
    };
    return messageManager->callFunctionOnMessageThread(
               call, const_cast<std::function<void()>*>(&fn)) != nullptr;
}

} // namespace veridane::wrappers
