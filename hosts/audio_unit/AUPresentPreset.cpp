#include "hosts/audio_unit/AUPresentPreset.h"

AUPresentPreset::Record::Record(const AUPreset& inPreset) : preset(inPreset)
{
    if (preset.presetName != nullptr)
        CFRetain(preset.presetName);
}

AUPresentPreset::Record::~Record()
{
    if (preset.presetName != nullptr)
        CFRelease(preset.presetName);
}

AUPresentPreset::AUPresentPreset(const AUPreset& initial) : mCurrent(new Record(initial)) {}

AUPresentPreset::~AUPresentPreset()
{
    delete mCurrent.load();
}

AUPreset AUPresentPreset::CopyRetained() const
{
    const AURetirement::Reading reading(mReaders);
    const AUPreset preset = mCurrent.load()->preset;
    if (preset.presetName != nullptr)
        CFRetain(preset.presetName);
    return preset;
}

AUPreset AUPresentPreset::Borrowed() const
{
    const AURetirement::Reading reading(mReaders);
    return mCurrent.load()->preset;
}

void AUPresentPreset::Set(const AUPreset& preset)
{
    const AUPreset current = Borrowed();
    if (current.presetNumber == preset.presetNumber && current.presetName == preset.presetName)
        return;
    mReaders.Retire(mCurrent.exchange(new Record(preset)));
    mReaders.FreeRetired();
}
