// The present preset of a unit. Host calls set and read it under the unit's mutex, but a unit
// class may also change it from whichever thread changed its program, without that mutex. So it
// is one record, replaced whole: a reader counts itself in while it copies the record, and a
// replaced record, with its retain on the name, is freed once no reader is in.
#pragma once

#include "hosts/audio_unit/AURetirement.h"

#include "platform/AudioUnitTypes.h"

#include <atomic>

class AUPresentPreset
{
public:
    /** Retains the name. */
    explicit AUPresentPreset(const AUPreset& initial);
    ~AUPresentPreset();

    /** A copy whose name (when not null) the caller now holds a retain on. */
    AUPreset CopyRetained() const;
    /** A copy whose name is borrowed: valid only until the preset changes. */
    AUPreset Borrowed() const;
    /** The preset becomes current, its name retained. Setting the current one again changes
        and allocates nothing. */
    void Set(const AUPreset& preset);

    AUPresentPreset(const AUPresentPreset&) = delete;
    AUPresentPreset& operator=(const AUPresentPreset&) = delete;

private:
    struct Record : AURetirable
    {
        explicit Record(const AUPreset& preset);
        ~Record() override;
        const AUPreset preset;
    };

    std::atomic<Record*> mCurrent;
    mutable AURetirement mReaders;
};
