// Derived classes (the framework's wrapper) are compiled against this declaration order: a
// moved or inserted virtual operation silently calls the wrong function. Reads the slot from the
// Itanium C++ ABI's member-function pointer (vtable offset + 1), the ABI of every Linux target.
#include "hosts/vst2/AudioEffectX.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
struct MemberPointerBits
{
    uintptr_t ptr;
    ptrdiff_t adjustment;
};

template <typename MemberFunction> ptrdiff_t slotOf(MemberFunction function)
{
    static_assert(sizeof(MemberFunction) == sizeof(MemberPointerBits));
    MemberPointerBits bits;
    std::memcpy(&bits, &function, sizeof(bits));
    if ((bits.ptr & 1) == 0)
        return -1; // not virtual
    return static_cast<ptrdiff_t>((bits.ptr - 1) / sizeof(void*));
}

struct Slot
{
    const char* name;
    ptrdiff_t actual;
    ptrdiff_t expected;
};

// clang-format off
#define SLOT(Class, name, slot) {#Class "::" #name, slotOf(&Class::name), slot}

// Slots 0 and 1 are the two destructors.
const Slot kSlots[] = {
    SLOT(AudioEffect, dispatcher, 2), SLOT(AudioEffect, open, 3), SLOT(AudioEffect, close, 4),
    SLOT(AudioEffect, suspend, 5), SLOT(AudioEffect, resume, 6),
    SLOT(AudioEffect, setSampleRate, 7), SLOT(AudioEffect, setBlockSize, 8),
    SLOT(AudioEffect, processReplacing, 9), SLOT(AudioEffect, processDoubleReplacing, 10),
    SLOT(AudioEffect, setParameter, 11), SLOT(AudioEffect, getParameter, 12),
    SLOT(AudioEffect, setParameterAutomated, 13), SLOT(AudioEffect, getProgram, 14),
    SLOT(AudioEffect, setProgram, 15), SLOT(AudioEffect, setProgramName, 16),
    SLOT(AudioEffect, getProgramName, 17), SLOT(AudioEffect, getParameterLabel, 18),
    SLOT(AudioEffect, getParameterDisplay, 19), SLOT(AudioEffect, getParameterName, 20),
    SLOT(AudioEffect, getChunk, 21), SLOT(AudioEffect, setChunk, 22),
    SLOT(AudioEffect, setUniqueID, 23), SLOT(AudioEffect, setNumInputs, 24),
    SLOT(AudioEffect, setNumOutputs, 25), SLOT(AudioEffect, canProcessReplacing, 26),
    SLOT(AudioEffect, canDoubleReplacing, 27), SLOT(AudioEffect, programsAreChunks, 28),
    SLOT(AudioEffect, setInitialDelay, 29), SLOT(AudioEffect, getEditor, 30),
    SLOT(AudioEffect, getAeffect, 31), SLOT(AudioEffect, getSampleRate, 32),
    SLOT(AudioEffect, getBlockSize, 33), SLOT(AudioEffect, getMasterVersion, 34),
    SLOT(AudioEffect, getCurrentUniqueId, 35), SLOT(AudioEffect, masterIdle, 36),
    SLOT(AudioEffect, dB2string, 37), SLOT(AudioEffect, Hz2string, 38),
    SLOT(AudioEffect, ms2string, 39), SLOT(AudioEffect, float2string, 40),
    SLOT(AudioEffect, int2string, 41), SLOT(AudioEffect, process, 42), SLOT(AudioEffect, getVu, 43),
    SLOT(AudioEffect, hasVu, 44), SLOT(AudioEffect, hasClip, 45), SLOT(AudioEffect, canMono, 46),
    SLOT(AudioEffect, setRealtimeQualities, 47), SLOT(AudioEffect, setOfflineQualities, 48),
    SLOT(AudioEffect, isInputConnected, 49), SLOT(AudioEffect, isOutputConnected, 50),
    SLOT(AudioEffectX, dispatcher, 2), SLOT(AudioEffectX, resume, 6),
    SLOT(AudioEffectX, canParameterBeAutomated, 51), SLOT(AudioEffectX, string2parameter, 52),
    SLOT(AudioEffectX, getParameterProperties, 53), SLOT(AudioEffectX, beginEdit, 54),
    SLOT(AudioEffectX, endEdit, 55), SLOT(AudioEffectX, getProgramNameIndexed, 56),
    SLOT(AudioEffectX, beginSetProgram, 57), SLOT(AudioEffectX, endSetProgram, 58),
    SLOT(AudioEffectX, beginLoadBank, 59), SLOT(AudioEffectX, beginLoadProgram, 60),
    SLOT(AudioEffectX, ioChanged, 61), SLOT(AudioEffectX, updateSampleRate, 62),
    SLOT(AudioEffectX, updateBlockSize, 63), SLOT(AudioEffectX, getInputLatency, 64),
    SLOT(AudioEffectX, getOutputLatency, 65), SLOT(AudioEffectX, getInputProperties, 66),
    SLOT(AudioEffectX, getOutputProperties, 67), SLOT(AudioEffectX, setSpeakerArrangement, 68),
    SLOT(AudioEffectX, getSpeakerArrangement, 69), SLOT(AudioEffectX, setBypass, 70),
    SLOT(AudioEffectX, setPanLaw, 71), SLOT(AudioEffectX, setProcessPrecision, 72),
    SLOT(AudioEffectX, getNumMidiInputChannels, 73),
    SLOT(AudioEffectX, getNumMidiOutputChannels, 74), SLOT(AudioEffectX, getTimeInfo, 75),
    SLOT(AudioEffectX, getCurrentProcessLevel, 76), SLOT(AudioEffectX, getAutomationState, 77),
    SLOT(AudioEffectX, processEvents, 78), SLOT(AudioEffectX, startProcess, 79),
    SLOT(AudioEffectX, stopProcess, 80), SLOT(AudioEffectX, processVariableIo, 81),
    SLOT(AudioEffectX, setTotalSampleToProcess, 82), SLOT(AudioEffectX, getHostVendorString, 83),
    SLOT(AudioEffectX, getHostProductString, 84), SLOT(AudioEffectX, getHostVendorVersion, 85),
    SLOT(AudioEffectX, hostVendorSpecific, 86), SLOT(AudioEffectX, canHostDo, 87),
    SLOT(AudioEffectX, getHostLanguage, 88), SLOT(AudioEffectX, isSynth, 89),
    SLOT(AudioEffectX, noTail, 90), SLOT(AudioEffectX, getGetTailSize, 91),
    SLOT(AudioEffectX, getDirectory, 92), SLOT(AudioEffectX, getEffectName, 93),
    SLOT(AudioEffectX, getVendorString, 94), SLOT(AudioEffectX, getProductString, 95),
    SLOT(AudioEffectX, getVendorVersion, 96), SLOT(AudioEffectX, vendorSpecific, 97),
    SLOT(AudioEffectX, canDo, 98), SLOT(AudioEffectX, getVstVersion, 99),
    SLOT(AudioEffectX, getPlugCategory, 100), SLOT(AudioEffectX, getMidiProgramName, 101),
    SLOT(AudioEffectX, getCurrentMidiProgram, 102), SLOT(AudioEffectX, getMidiProgramCategory, 103),
    SLOT(AudioEffectX, hasMidiProgramsChanged, 104), SLOT(AudioEffectX, getMidiKeyName, 105),
    SLOT(AudioEffectX, updateDisplay, 106), SLOT(AudioEffectX, sizeWindow, 107),
    SLOT(AudioEffectX, openFileSelector, 108), SLOT(AudioEffectX, closeFileSelector, 109),
    SLOT(AudioEffectX, getNextShellPlugin, 110), SLOT(AudioEffectX, allocateArrangement, 111),
    SLOT(AudioEffectX, deallocateArrangement, 112), SLOT(AudioEffectX, copySpeaker, 113),
    SLOT(AudioEffectX, matchArrangement, 114), SLOT(AudioEffectX, offlineRead, 115),
    SLOT(AudioEffectX, offlineWrite, 116), SLOT(AudioEffectX, offlineStart, 117),
    SLOT(AudioEffectX, offlineGetCurrentPass, 118),
    SLOT(AudioEffectX, offlineGetCurrentMetaPass, 119), SLOT(AudioEffectX, offlineNotify, 120),
    SLOT(AudioEffectX, offlinePrepare, 121), SLOT(AudioEffectX, offlineRun, 122),
    SLOT(AudioEffectX, offlineGetNumPasses, 123), SLOT(AudioEffectX, offlineGetNumMetaPasses, 124),
    SLOT(AudioEffectX, wantEvents, 125), SLOT(AudioEffectX, tempoAt, 126),
    SLOT(AudioEffectX, getNumAutomatableParameters, 127),
    SLOT(AudioEffectX, getParameterQuantization, 128), SLOT(AudioEffectX, getNumCategories, 129),
    SLOT(AudioEffectX, copyProgram, 130), SLOT(AudioEffectX, needIdle, 131),
    SLOT(AudioEffectX, getPreviousPlug, 132), SLOT(AudioEffectX, getNextPlug, 133),
    SLOT(AudioEffectX, inputConnected, 134), SLOT(AudioEffectX, outputConnected, 135),
    SLOT(AudioEffectX, willProcessReplacing, 136), SLOT(AudioEffectX, wantAsyncOperation, 137),
    SLOT(AudioEffectX, hasExternalBuffer, 138), SLOT(AudioEffectX, reportCurrentPosition, 139),
    SLOT(AudioEffectX, reportDestinationBuffer, 140), SLOT(AudioEffectX, setOutputSamplerate, 141),
    SLOT(AudioEffectX, getInputSpeakerArrangement, 142),
    SLOT(AudioEffectX, getOutputSpeakerArrangement, 143), SLOT(AudioEffectX, openWindow, 144),
    SLOT(AudioEffectX, closeWindow, 145), SLOT(AudioEffectX, setBlockSizeAndSampleRate, 146),
    SLOT(AudioEffectX, getErrorText, 147), SLOT(AudioEffectX, getIcon, 148),
    SLOT(AudioEffectX, setViewPosition, 149), SLOT(AudioEffectX, fxIdle, 150),
    SLOT(AudioEffectX, keysRequired, 151), SLOT(AudioEffectX, getChunkFile, 152),
};
// clang-format on

#undef SLOT
} // namespace

TEST(VirtualOrder, EveryOperationKeepsItsSlot)
{
    for (const auto& slot : kSlots)
    {
        SCOPED_TRACE(slot.name);
        EXPECT_EQ(slot.actual, slot.expected);
    }
}
