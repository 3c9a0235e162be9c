#include "tests/hosts/aax/AaxBundle.h"

#include "tests/hosts/common/ExitCodes.h"

#include <algorithm>
#include <dlfcn.h>

using namespace fakeaax;

namespace
{
/** The call's arguments as an object of the host, a pointer or a number. */
const HostGroup& groupAt(const FakeHost& host, uint64_t word)
{
    return host.groupOf(reinterpret_cast<const void*>(uintptr_t(word)));
}

void* pointerAt(uint64_t word)
{
    return reinterpret_cast<void*>(uintptr_t(word));
}

/** The first kept call of the entry, or null. */
const KeptCall* firstCall(const HostGroup& group, int entry)
{
    const auto found = std::find_if(group.kept.begin(), group.kept.end(),
                                    [entry](const KeptCall& call) { return call.entry == entry; });
    return found != group.kept.end() ? &*found : nullptr;
}
} // namespace

int EffectDescription::contextSize() const
{
    const int fields[] = {audioIn, audioOut, bufferLength, port, privateData};
    if (std::any_of(std::begin(fields), std::end(fields), [](int field) { return field < 0; }))
        return 0;
    return std::max({audioIn, audioOut, bufferLength, port, midiNode, privateData}) + 1;
}

AaxBundle::AaxBundle(FakeHost& host, const std::string& path) : fakeHost(host), libraryPath(path)
{
    // RTLD_LOCAL: the plug-in's symbols must not leak into what later libraries see.
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* why = dlerror();
        throw LoadError("cannot load " + path + ": " + (why != nullptr ? why : "unknown error"));
    }
    try
    {
        entries = LibraryExports::find(handle);
        entries.startup(host.hostObject());
        host.clearLog();
        const int32_t registered = entries.registerPlugin(host.hostObject(), &definition);
        registration = host.calls();
        if (registered != kSuccess || definition == nullptr)
            throw LoadError("ACFRegisterPlugin answered " + std::to_string(registered));
        readDescription();
    }
    catch (...)
    {
        if (definition != nullptr)
            fakeaax::release(definition);
        if (entries.shutdown != nullptr)
            entries.shutdown(host.hostObject());
        dlclose(handle);
        throw;
    }
}

AaxBundle::~AaxBundle()
{
    fakeaax::release(definition);
    entries.shutdown(fakeHost.hostObject());
    dlclose(handle);
}

void AaxBundle::readDescription()
{
    const auto& collection = fakeHost.groupOf(definition);
    const KeptCall* const added = firstCall(collection, 7);
    if (added == nullptr)
        throw LoadError("the registration added no effect");
    const auto& effect = groupAt(fakeHost, added->arguments.at(1));
    for (const auto& call : effect.kept)
    {
        if (call.entry == 7 && call.arguments.at(1) == 0)
            description.createEffectParameters = pointerAt(call.arguments[0]);
        if (call.entry == 7 && call.arguments.at(1) == 1)
            description.createGui = pointerAt(call.arguments[0]);
    }
    const KeptCall* const component = firstCall(effect, 3);
    if (component == nullptr)
        throw LoadError("the effect has no component");
    for (const auto& call : groupAt(fakeHost, component->arguments.at(0)).kept)
    {
        const auto field = [&call] { return int(call.arguments.at(0)); };
        switch (call.entry)
        {
        case 5:
            description.audioIn = field();
            break;
        case 6:
            description.audioOut = field();
            break;
        case 7:
            description.bufferLength = field();
            break;
        case 11:
            description.port = field();
            description.portSize = uint32_t(call.arguments.at(1));
            break;
        case 13:
            description.privateData = field();
            description.privateDataSize = uint32_t(call.arguments.at(1));
            break;
        case 15:
            description.midiNode = field();
            break;
        case 16:
            description.process = pointerAt(call.arguments.at(0));
            description.properties = groupAt(fakeHost, call.arguments.at(1)).properties;
            break;
        default:
            break;
        }
    }
    if (description.createEffectParameters == nullptr || description.process == nullptr ||
        description.contextSize() == 0)
        throw LoadError("the registration describes no effect the host can run");
}
