#include "tests/hosts/audio_unit/HostedUnit.h"

#include "platform/frameworks/Frameworks.h"
#include "tests/hosts/common/Arguments.h"

#include <dlfcn.h>

namespace
{
/** What the bundle's property list says on the platform. */
constexpr ComponentDescription kVeridaneDescription{MakeFourCharCode('a', 'u', 'm', 'f'),
                                                    MakeFourCharCode('P', 'b', 'V', 'd'),
                                                    MakeFourCharCode('P', 'b', 'r', 'k'), 0, 0};

// The components registered in the frameworks stand-in, once per process. They reach the bundle
// loaded last, so a host that reloads the bundle keeps using them.
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
} // namespace

BundleLibrary::BundleLibrary(const std::string& path)
    // RTLD_LOCAL: the bundle's symbols must not leak into what later libraries see.
    : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
{
    if (handle == nullptr)
        throw LoadError("cannot load " + path + ": " + dlerror());
    factory = reinterpret_cast<AudioComponentFactoryFunction>(dlsym(handle, "VeridaneAUFactory"));
    entry = reinterpret_cast<ComponentRoutine>(dlsym(handle, "VeridaneAUEntry"));
    if (factory == nullptr || entry == nullptr)
    {
        dlclose(handle);
        throw LoadError(path + " does not export VeridaneAUFactory and VeridaneAUEntry");
    }
}

BundleLibrary::~BundleLibrary()
{
    dlclose(handle);
}

UnitOptions UnitOptions::take(Arguments& arguments)
{
    UnitOptions options;
    options.componentManager = parseRoad(arguments.option("--road").value_or("plug-in"));
    options.withPlatform = !arguments.flag("--no-platform");
    if (options.componentManager && !options.withPlatform)
        throw UsageError("the component-manager road needs the platform");
    return options;
}

bool UnitOptions::parseRoad(const std::string& name)
{
    if (name != "plug-in" && name != "component-manager")
        throw UsageError("unknown road '" + name + "' (plug-in, component-manager)");
    return name == "component-manager";
}

HostedUnit::HostedUnit(const BundleLibrary& bundle, const UnitOptions& unitOptions)
    : options(unitOptions), entry(bundle.entry)
{
    OSStatus status;
    if (options.componentManager)
    {
        static const Component component =
            VeridaneRegisterComponent(&kVeridaneDescription, registeredEntry);
        gBundleEntry = bundle.entry;
        status = OpenAComponent(component, &instance);
        storage = GetComponentInstanceStorage(instance);
    }
    else if (options.withPlatform)
    {
        static const AudioComponent component = VeridaneRegisterAudioComponent(
            reinterpret_cast<const AudioComponentDescription*>(&kVeridaneDescription),
            registeredFactory);
        gBundleFactory = bundle.factory;
        status = AudioComponentInstanceNew(component, &instance);
        block = gLastBlock;
    }
    else
    {
        block = bundle.factory(nullptr);
        if (block == nullptr)
            throw LoadError("the factory answered no plug-in block");
        // No platform: a handle of the host's own that nothing looks up.
        instance = reinterpret_cast<AudioUnit>(block);
        status = block->Open(block, instance);
    }
    if (status != noErr)
        throw LoadError(std::string("opening on the ") + options.roadName() + " road answered " +
                        std::to_string(status));
}

OSStatus HostedUnit::close()
{
    if (instance == nullptr)
        return noErr;
    const OSStatus status = options.componentManager ? CloseComponent(instance)
                            : options.withPlatform   ? AudioComponentInstanceDispose(instance)
                                                     : block->Close(block);
    instance = nullptr;
    return status;
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
