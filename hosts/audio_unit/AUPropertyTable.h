// The properties the base layer answers itself, one row each: which of the four property calls it
// answers, and the scope, size, writability and element rules those calls apply before they do
// the property's own work. The dispatch reads its rules from here and nowhere else; whatever a
// row does not answer goes to the unit's virtual operation of the same kind.
#pragma once

#include "platform/AudioUnitTypes.h"

#include <span>

/** The last render's sample time, the characters 'lrst'. */
inline constexpr AudioUnitPropertyID kAUBaseProperty_LastRenderSampleTime =
    MakeFourCharCode('l', 'r', 's', 't');

enum class AUScopeRule : UInt8
{
    any,
    globalOnly,
    globalOrInput,
    inputOrOutput,
};

enum class AUWritableRule : UInt8
{
    no,
    yes,
    /** IsStreamFormatWritable (scope, element). */
    streamFormat,
    /** BusCountWritable (scope). */
    busCount,
    /** What the element's channel layout says. */
    channelLayout,
};

enum class AUSizeRule : UInt8
{
    none,
    exactly,
    atLeast,
};

/** Which calls a row answers. */
enum AUAnswers : UInt8
{
    kAnswersInfo = 1,
    kAnswersGet = 2,
    kAnswersSet = 4,
    kAnswersRemove = 8,
};

struct AUPropertyRow
{
    AudioUnitPropertyID id;
    const char* name;
    UInt8 answers;

    // Get-info: the scope rule, the size (0 when the property works it out), who says whether
    // it is writable, and whether the element must exist.
    AUScopeRule infoScope;
    UInt32 infoSize;
    AUWritableRule writable;
    bool infoElementCheck;

    // Set: the size rule, the scope rule and the element check, in that order unless
    // placeBeforeSize.
    AUSizeRule setSizeRule;
    UInt32 setSize;
    AUScopeRule setScope;
    bool setElementCheck;
    bool placeBeforeSize;
};

/** Every row, in ascending id order. */
std::span<const AUPropertyRow> AUBasePropertyTable();
/** The row of an id, or null when the base layer does not answer it. */
const AUPropertyRow* FindAUBaseProperty(AudioUnitPropertyID id);

/** Whether the scope passes the rule. */
bool IsScopeAllowed(AUScopeRule rule, AudioUnitScope scope);

/** Properties whose value holds an object the caller takes over (a parameter's info may too,
    when it carries a name): a caller's buffer too small for one is refused, never given half a
    pointer. */
bool IsObjectValuedProperty(AudioUnitPropertyID id);
