#pragma once

#include "hosts/vst2/VstAbi.h"

#include <atomic>
#include <cstdint>

/** What the host tells the plug-in through its callback, and what it heard back (automation and
    gestures, which may arrive from the plug-in's own threads). */
struct HostContext
{
    double sampleRate = 48000.0;
    int32_t blockSize = 512;
    bool verbose = false;

    std::atomic<int> automateCalls{0};
    std::atomic<int> beginEditCalls{0};
    std::atomic<int> endEditCalls{0};
};

/** Makes the context that the callback answers from while an effect's entry runs (the record
    does not exist yet, so it cannot carry the context). */
void setPendingHostContext(HostContext* context);

/** The host callback handed to the entry. Finds its context through AEffect::user, or the pending
    one while the entry runs, and answers what a plain offline host would. */
intptr_t hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                      float opt);

/** The host's version, as VST 2.4 hosts report it. */
constexpr intptr_t kHostVstVersion = 2400;
