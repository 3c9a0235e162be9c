#pragma once

#include <functional>

namespace veridane::wrappers
{

/** The plug-in's own JUCE message thread, one per process for every interface. A host on Linux
    has no JUCE message loop, so the first instance (of any interface) starts a thread that
    initialises JUCE's GUI side and runs the dispatch loop on itself, and the last instance stops
    it again (the GUI side is shut down on that thread).

    Instances hold a MessageThread::User for their whole life; editors are created, embedded and
    deleted through runOnMessageThread. */
class MessageThread
{
public:
    /** Keeps the message thread running while it exists. Any thread. */
    class User
    {
    public:
        User();
        ~User();

        User(const User&) = delete;
        User& operator=(const User&) = delete;
    };

    /** Runs fn on the message thread and returns once it has run. Answers false, without running
        it, when no message thread is running. Anything fn throws stays on the message thread.
        Never from the audio thread: it blocks. */
    static bool runOnMessageThread(const std::function<void()>& fn);

    /** True while a message thread runs (at least one User exists). */
    static bool isRunning();

    MessageThread() = delete;
};

} // namespace veridane::wrappers
