// Plug-in libraries that answer the host badly, one behaviour per build (HOSTILE_ANSWER): the host
// must refuse them with a clear message instead of crashing.
#include "hosts/vst2/VstAbi.h"

#define HOSTILE_NULL_RECORD 1
#define HOSTILE_WRONG_MAGIC 2
#define HOSTILE_NO_DISPATCHER 3

namespace
{
intptr_t crashingDispatcher(AEffect*, int32_t, int32_t, intptr_t, void*, float)
{
    __builtin_trap(); // a host that calls into a refused record dies here
}

AEffect makeRecord()
{
    AEffect record{};
    record.magic = kEffectMagic;
    record.dispatcher = crashingDispatcher;
    record.numInputs = 4;
    record.numOutputs = 4;
#if HOSTILE_ANSWER == HOSTILE_WRONG_MAGIC
    record.magic = vstFourCharCode('N', 'o', 'p', 'e');
#elif HOSTILE_ANSWER == HOSTILE_NO_DISPATCHER
    record.dispatcher = nullptr;
#endif
    return record;
}

AEffect record = makeRecord();
} // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback)
{
#if HOSTILE_ANSWER == HOSTILE_NULL_RECORD
    return nullptr;
#else
    return &record;
#endif
}
