#pragma once

#include "tests/hosts/audio_unit/BundleLibrary.h"

#include <memory>
#include <string>

/** How the host reaches the unit: the plug-in block the factory returns, or the Component
    Manager entry with parameter blocks. */
enum class Road
{
    plugIn,
    componentManager,
};

Road parseRoad(const std::string& name);
const char* roadName(Road road);

class Arguments;

/** How a command opens its unit: "--road ROAD" (default plug-in) and "--no-platform". */
struct UnitOptions
{
    Road road = Road::plugIn;
    bool withPlatform = true;

    static UnitOptions take(Arguments& arguments);
    /** "plug-in road, platform present". */
    std::string describe() const;
};

/** One open instance of the bundle's unit, reached only through its plug-in block's methods or
    its Component Manager entry, as a host reaches it. Closed by close() or the destructor. */
class HostedUnit
{
public:
    /** Opens an instance. With the platform the component is registered in the frameworks
        stand-in and opened there, so the unit finds its description and can be connected to;
        without it the host calls the factory and Open itself (plug-in road only). Throws
        LoadError when the instance cannot be opened. */
    static std::unique_ptr<HostedUnit> open(const BundleLibrary& bundle, Road road,
                                            bool withPlatform);
    virtual ~HostedUnit() = default;

    /** Answers what the close answered; a second close answers 0. */
    virtual OSStatus close() = 0;

    virtual OSStatus initialize() = 0;
    virtual OSStatus uninitialize() = 0;
    virtual OSStatus getPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope,
                                     AudioUnitElement element, UInt32* size, Boolean* writable) = 0;
    virtual OSStatus getProperty(AudioUnitPropertyID id, AudioUnitScope scope,
                                 AudioUnitElement element, void* data, UInt32* size) = 0;
    virtual OSStatus setProperty(AudioUnitPropertyID id, AudioUnitScope scope,
                                 AudioUnitElement element, const void* data, UInt32 size) = 0;
    virtual OSStatus getParameter(AudioUnitParameterID id, AudioUnitScope scope,
                                  AudioUnitElement element, Float32* value) = 0;
    virtual OSStatus setParameter(AudioUnitParameterID id, AudioUnitScope scope,
                                  AudioUnitElement element, Float32 value, UInt32 offset) = 0;
    virtual OSStatus scheduleParameters(const AudioUnitParameterEvent* events, UInt32 count) = 0;
    virtual OSStatus reset(AudioUnitScope scope, AudioUnitElement element) = 0;
    virtual OSStatus render(AudioUnitRenderActionFlags* flags, const AudioTimeStamp* timeStamp,
                            UInt32 bus, UInt32 frames, AudioBufferList* data) = 0;
    virtual OSStatus midiEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset) = 0;
    virtual OSStatus sysEx(const UInt8* data, UInt32 length) = 0;

    /** The Component Manager's own selectors (version, can-do) with at most one argument;
        badComponentSelector on the plug-in road, which has none. */
    virtual OSStatus componentCall(SInt16 selector, UInt32 argument) = 0;
    /** What the fast functions are called with: the instance's storage; null on the plug-in
        road. */
    virtual void* storage() const = 0;

    AudioUnit handle() const { return instance; }
    Road road() const { return unitRoad; }

    template <typename T>
    OSStatus get(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, T& value)
    {
        UInt32 size = sizeof value;
        return getProperty(id, scope, element, &value, &size);
    }
    template <typename T>
    OSStatus set(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                 const T& value)
    {
        return setProperty(id, scope, element, &value, sizeof value);
    }

    HostedUnit(const HostedUnit&) = delete;
    HostedUnit& operator=(const HostedUnit&) = delete;

protected:
    explicit HostedUnit(Road road) : unitRoad(road) {}

    AudioUnit instance = nullptr;

private:
    Road unitRoad;
};

/** The description under which the host registers the unit: what the bundle's property list
    says on the platform. */
extern const AudioComponentDescription kVeridaneDescription;

/** 32-bit float, non-interleaved, at the rate. */
AudioStreamBasicDescription floatFormat(double sampleRate, UInt32 channels);
/** Four channels in and out at the rate, and the largest block the host renders; answers the
    first failure. */
OSStatus configureFourChannels(HostedUnit& unit, double sampleRate, UInt32 maxFrames);
