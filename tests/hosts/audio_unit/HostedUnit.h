#pragma once

#include "platform/AudioUnitTypes.h"
#include "platform/frameworks/ParameterBlock.h"
#include "tests/hosts/common/ExitCodes.h"

#include <memory>
#include <string>

class Arguments;

/** The bundle opened with dlopen and its two Audio Unit entry points; closed with dlclose. */
class BundleLibrary
{
public:
    explicit BundleLibrary(const std::string& path);
    ~BundleLibrary();
    BundleLibrary(const BundleLibrary&) = delete;
    BundleLibrary& operator=(const BundleLibrary&) = delete;

    void* handle;
    AudioComponentFactoryFunction factory;
    ComponentRoutine entry;
};

/** How the host reaches the unit: the plug-in block the factory returns, or the Component
    Manager entry with parameter blocks; with the platform frameworks stand-in or without it. */
struct UnitOptions
{
    bool componentManager = false;
    bool withPlatform = true;

    /** "--road plug-in|component-manager" (default plug-in) and "--no-platform". */
    static UnitOptions take(Arguments& arguments);
    static bool parseRoad(const std::string& name);
    const char* roadName() const { return componentManager ? "component-manager" : "plug-in"; }
};

/** One open instance of the bundle's unit, reached only as a host reaches it: through the
    methods its block's Lookup hands out, or through its entry with a parameter block. With the
    platform the component is registered in the frameworks stand-in and opened there, so the unit
    finds its description and can be connected to; without it the host calls the factory and
    Open itself (plug-in road only). */
class HostedUnit
{
public:
    /** Throws LoadError when the instance cannot be opened. */
    HostedUnit(const BundleLibrary& bundle, const UnitOptions& options);
    ~HostedUnit() { close(); }
    HostedUnit(const HostedUnit&) = delete;
    HostedUnit& operator=(const HostedUnit&) = delete;

    /** Answers what the close answered; a second close answers 0. */
    OSStatus close();

    /** Calls a selector with exactly the argument types given (a float stays a float). */
    template <typename... Args> OSStatus call(SInt16 selector, Args... args)
    {
        if (!options.componentManager)
        {
            const AudioComponentMethod method = block->Lookup(selector);
            if (method == nullptr)
                return badComponentSelector;
            return reinterpret_cast<OSStatus (*)(void*, Args...)>(method)(block, args...);
        }
        veridane::frameworks::ParameterBlock parameters(selector, instance);
        (parameters.Append(args), ...);
        return entry(&parameters.Header(), storage);
    }

    OSStatus initialize() { return call(kAudioUnitInitializeSelect); }
    OSStatus uninitialize() { return call(kAudioUnitUninitializeSelect); }
    OSStatus setParameter(AudioUnitParameterID id, Float32 value)
    {
        return call(kAudioUnitSetParameterSelect, id, UInt32(kAudioUnitScope_Global), UInt32(0),
                    value, UInt32(0));
    }
    OSStatus getParameter(AudioUnitParameterID id, Float32& value)
    {
        return call(kAudioUnitGetParameterSelect, id, UInt32(kAudioUnitScope_Global), UInt32(0),
                    &value);
    }
    OSStatus sysEx(const UInt8* data, UInt32 length)
    {
        return call(kMusicDeviceSysExSelect, data, length);
    }

    template <typename T>
    OSStatus get(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, T& value)
    {
        UInt32 size = sizeof value;
        return call(kAudioUnitGetPropertySelect, id, scope, element, static_cast<void*>(&value),
                    &size);
    }
    template <typename T>
    OSStatus set(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                 const T& value)
    {
        return call(kAudioUnitSetPropertySelect, id, scope, element,
                    static_cast<const void*>(&value), UInt32(sizeof value));
    }
    /** A fast function of a Component Manager instance (fast-dispatch property). */
    template <typename Function> OSStatus fastFunction(AudioUnitElement selector, Function& out)
    {
        return get(kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, selector, out);
    }

    /** What the fast functions are called with: the instance's storage. */
    void* storage = nullptr;

private:
    UnitOptions options;
    ComponentRoutine entry;
    AudioComponentPlugInInterface* block = nullptr;
    AudioUnit instance = nullptr;
};

/** 32-bit float, non-interleaved, at the rate. */
AudioStreamBasicDescription floatFormat(double sampleRate, UInt32 channels);
/** Four channels in and out at the rate, and the largest block the host renders; answers the
    first failure. */
OSStatus configureFourChannels(HostedUnit& unit, double sampleRate, UInt32 maxFrames);
