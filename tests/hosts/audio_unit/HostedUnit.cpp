// The two roads into a unit. The plug-in road calls the methods its block's Lookup hands out,
// each cast to its exact type; the Component Manager road calls the entry with a parameter block
// holding the instance and one word per argument.
#include "tests/hosts/audio_unit/HostedUnit.h"

#include "platform/frameworks/Frameworks.h"
#include "platform/frameworks/ParameterBlock.h"
#include "tests/hosts/common/Arguments.h"

const AudioComponentDescription kVeridaneDescription{MakeFourCharCode('a', 'u', 'm', 'f'),
                                                     MakeFourCharCode('P', 'b', 'V', 'd'),
                                                     MakeFourCharCode('P', 'b', 'r', 'k'), 0, 0};

Road parseRoad(const std::string& name)
{
    for (Road road : {Road::plugIn, Road::componentManager})
        if (name == roadName(road))
            return road;
    throw UsageError("unknown road '" + name + "' (plug-in, component-manager)");
}

const char* roadName(Road road)
{
    return road == Road::plugIn ? "plug-in" : "component-manager";
}

UnitOptions UnitOptions::take(Arguments& arguments)
{
    UnitOptions options;
    options.road = parseRoad(arguments.option("--road").value_or("plug-in"));
    options.withPlatform = !arguments.flag("--no-platform");
    return options;
}

std::string UnitOptions::describe() const
{
    return std::string(roadName(road)) + " road, platform " + (withPlatform ? "present" : "absent");
}

AudioStreamBasicDescription floatFormat(double sampleRate, UInt32 channels)
{
    AudioStreamBasicDescription format{};
    format.mSampleRate = sampleRate;
    format.mFormatID = kAudioFormatLinearPCM;
    format.mFormatFlags =
        kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
    format.mBytesPerPacket = format.mBytesPerFrame = sizeof(float);
    format.mFramesPerPacket = 1;
    format.mChannelsPerFrame = channels;
    format.mBitsPerChannel = 32;
    return format;
}

OSStatus configureFourChannels(HostedUnit& unit, double sampleRate, UInt32 maxFrames)
{
    const AudioStreamBasicDescription format = floatFormat(sampleRate, 4);
    for (AudioUnitScope scope : {kAudioUnitScope_Input, kAudioUnitScope_Output})
        if (const OSStatus status = unit.set(kAudioUnitProperty_StreamFormat, scope, 0, format);
            status != noErr)
            return status;
    return unit.set(kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, maxFrames);
}

namespace
{
//==================================================================================================
// The components registered in the frameworks stand-in, once per process. They reach the
// bundle loaded last, so a host that reloads the bundle keeps using them.

AudioComponentFactoryFunction gBundleFactory = nullptr;
AudioComponentPlugInInterface* gLastBlock = nullptr;
ComponentRoutine gBundleEntry = nullptr;

AudioComponentPlugInInterface* registeredFactory(const AudioComponentDescription* description)
{
    gLastBlock = gBundleFactory(description);
    return gLastBlock;
}

OSStatus registeredEntry(ComponentParameters* params, void* storage)
{
    return gBundleEntry(params, storage);
}

AudioComponent registeredAudioComponent()
{
    static const AudioComponent component =
        VeridaneRegisterAudioComponent(&kVeridaneDescription, registeredFactory);
    return component;
}

Component registeredComponent()
{
    static const Component component = []
    {
        const auto& d = kVeridaneDescription;
        const ComponentDescription description{d.componentType, d.componentSubType,
                                               d.componentManufacturer, 0, 0};
        return VeridaneRegisterComponent(&description, registeredEntry);
    }();
    return component;
}

LoadError openFailure(Road road, OSStatus status)
{
    return LoadError(std::string("opening on the ") + roadName(road) + " road answered " +
                     std::to_string(status));
}

//==================================================================================================
class PlugInBlockUnit final : public HostedUnit
{
public:
    PlugInBlockUnit(const BundleLibrary& bundle, bool withPlatform)
        : HostedUnit(Road::plugIn), registered(withPlatform)
    {
        OSStatus status;
        if (registered)
        {
            gBundleFactory = bundle.factory();
            gLastBlock = nullptr;
            status = AudioComponentInstanceNew(registeredAudioComponent(), &instance);
            block = gLastBlock;
        }
        else
        {
            block = bundle.factory()(&kVeridaneDescription);
            if (block == nullptr)
                throw LoadError("the factory answered no plug-in block");
            // No platform: a handle of the host's own that nothing looks up.
            instance = reinterpret_cast<AudioComponentInstance>(block);
            status = block->Open(block, instance);
        }
        if (status != noErr)
            throw openFailure(road(), status);
    }

    ~PlugInBlockUnit() override { close(); }

    OSStatus close() override
    {
        if (block == nullptr)
            return noErr;
        const OSStatus status =
            registered ? AudioComponentInstanceDispose(instance) : block->Close(block);
        block = nullptr;
        return status;
    }

    OSStatus initialize() override { return call(kAudioUnitInitializeSelect); }
    OSStatus uninitialize() override { return call(kAudioUnitUninitializeSelect); }
    OSStatus getPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             UInt32* size, Boolean* writable) override
    {
        return call(kAudioUnitGetPropertyInfoSelect, id, scope, element, size, writable);
    }
    OSStatus getProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                         void* data, UInt32* size) override
    {
        return call(kAudioUnitGetPropertySelect, id, scope, element, data, size);
    }
    OSStatus setProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                         const void* data, UInt32 size) override
    {
        return call(kAudioUnitSetPropertySelect, id, scope, element, data, size);
    }
    OSStatus getParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                          Float32* value) override
    {
        return call(kAudioUnitGetParameterSelect, id, scope, element, value);
    }
    OSStatus setParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                          Float32 value, UInt32 offset) override
    {
        return call(kAudioUnitSetParameterSelect, id, scope, element, value, offset);
    }
    OSStatus scheduleParameters(const AudioUnitParameterEvent* events, UInt32 count) override
    {
        return call(kAudioUnitScheduleParametersSelect, events, count);
    }
    OSStatus reset(AudioUnitScope scope, AudioUnitElement element) override
    {
        return call(kAudioUnitResetSelect, scope, element);
    }
    OSStatus render(AudioUnitRenderActionFlags* flags, const AudioTimeStamp* timeStamp, UInt32 bus,
                    UInt32 frames, AudioBufferList* data) override
    {
        return call(kAudioUnitRenderSelect, flags, timeStamp, bus, frames, data);
    }
    OSStatus midiEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset) override
    {
        return call(kMusicDeviceMIDIEventSelect, status, data1, data2, offset);
    }
    OSStatus sysEx(const UInt8* data, UInt32 length) override
    {
        return call(kMusicDeviceSysExSelect, data, length);
    }
    OSStatus componentCall(SInt16, UInt32) override { return badComponentSelector; }
    void* storage() const override { return nullptr; }

private:
    /** The selector's method, called with exactly the argument types given (a float stays a
        float). */
    template <typename... Args> OSStatus call(SInt16 selector, Args... args)
    {
        const AudioComponentMethod method = block->Lookup(selector);
        if (method == nullptr)
            return badComponentSelector;
        using Method = OSStatus (*)(void*, Args...);
        return reinterpret_cast<Method>(method)(block, args...);
    }

    const bool registered;
    AudioComponentPlugInInterface* block = nullptr;
};

//==================================================================================================
class ComponentManagerUnit final : public HostedUnit
{
public:
    explicit ComponentManagerUnit(const BundleLibrary& bundle) : HostedUnit(Road::componentManager)
    {
        gBundleEntry = bundle.entry();
        const OSErr status = OpenAComponent(registeredComponent(), &instance);
        if (status != noErr)
            throw openFailure(road(), status);
        unitStorage = GetComponentInstanceStorage(instance);
    }

    ~ComponentManagerUnit() override { close(); }

    OSStatus close() override
    {
        if (instance == nullptr)
            return noErr;
        const OSStatus status = CloseComponent(instance);
        instance = nullptr;
        return status;
    }

    OSStatus initialize() override { return call(kAudioUnitInitializeSelect); }
    OSStatus uninitialize() override { return call(kAudioUnitUninitializeSelect); }
    OSStatus getPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             UInt32* size, Boolean* writable) override
    {
        return call(kAudioUnitGetPropertyInfoSelect, id, scope, element, size, writable);
    }
    OSStatus getProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                         void* data, UInt32* size) override
    {
        return call(kAudioUnitGetPropertySelect, id, scope, element, data, size);
    }
    OSStatus setProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                         const void* data, UInt32 size) override
    {
        return call(kAudioUnitSetPropertySelect, id, scope, element, data, size);
    }
    OSStatus getParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                          Float32* value) override
    {
        return call(kAudioUnitGetParameterSelect, id, scope, element, value);
    }
    OSStatus setParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                          Float32 value, UInt32 offset) override
    {
        return call(kAudioUnitSetParameterSelect, id, scope, element, value, offset);
    }
    OSStatus scheduleParameters(const AudioUnitParameterEvent* events, UInt32 count) override
    {
        return call(kAudioUnitScheduleParametersSelect, events, count);
    }
    OSStatus reset(AudioUnitScope scope, AudioUnitElement element) override
    {
        return call(kAudioUnitResetSelect, scope, element);
    }
    OSStatus render(AudioUnitRenderActionFlags* flags, const AudioTimeStamp* timeStamp, UInt32 bus,
                    UInt32 frames, AudioBufferList* data) override
    {
        return call(kAudioUnitRenderSelect, flags, timeStamp, bus, frames, data);
    }
    OSStatus midiEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset) override
    {
        return call(kMusicDeviceMIDIEventSelect, status, data1, data2, offset);
    }
    OSStatus sysEx(const UInt8* data, UInt32 length) override
    {
        return call(kMusicDeviceSysExSelect, data, length);
    }
    OSStatus componentCall(SInt16 selector, UInt32 argument) override
    {
        return call(selector, argument);
    }
    void* storage() const override { return unitStorage; }

private:
    template <typename... Args> OSStatus call(SInt16 selector, Args... args)
    {
        veridane::frameworks::ParameterBlock block(selector, instance);
        (block.Append(args), ...);
        return gBundleEntry(&block.Header(), unitStorage);
    }

    void* unitStorage = nullptr;
};
} // namespace

std::unique_ptr<HostedUnit> HostedUnit::open(const BundleLibrary& bundle, Road road,
                                             bool withPlatform)
{
    if (road == Road::plugIn)
        return std::make_unique<PlugInBlockUnit>(bundle, withPlatform);
    if (!withPlatform)
        throw UsageError("the component-manager road needs the platform");
    return std::make_unique<ComponentManagerUnit>(bundle);
}
