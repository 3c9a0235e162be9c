// The table of registered components and open instances, and the calls that read it.
#include "platform/frameworks/ParameterBlock.h"
#include "platform/frameworks/Records.h"

#include <memory>
#include <mutex>
#include <set>
#include <vector>

namespace veridane::frameworks
{
namespace
{
struct Table
{
    std::mutex lock;
    std::vector<std::unique_ptr<ComponentRecord>> components;
    std::set<ComponentInstanceRecord*> instances;
};

Table& TheTable()
{
    // Never destroyed: instances a host leaves open at exit stay reachable.
    static auto* const table = new Table();
    return *table;
}

ComponentRecord* Register(const AudioComponentDescription* description,
                          AudioComponentFactoryFunction factory, ComponentRoutine entry)
{
    if (description == nullptr || (factory == nullptr && entry == nullptr))
        return nullptr;
    try
    {
        auto record = std::make_unique<ComponentRecord>();
        record->kind = RecordKind::component;
        record->description = *description;
        record->factory = factory;
        record->entry = entry;
        auto& table = TheTable();
        const std::lock_guard<std::mutex> guard(table.lock);
        table.components.push_back(std::move(record));
        return table.components.back().get();
    }
    catch (...)
    {
        return nullptr;
    }
}

ComponentRecord* FindRegisteredComponent(const void* handle)
{
    auto& table = TheTable();
    const std::lock_guard<std::mutex> guard(table.lock);
    for (const auto& component : table.components)
        if (component.get() == handle)
            return component.get();
    return nullptr;
}

/** A new instance of a component, entered in the table before the unit is opened, because the
    unit's open stores its storage through the handle. */
ComponentInstanceRecord* AddInstance(ComponentRecord& component)
{
    try
    {
        auto instance = std::make_unique<ComponentInstanceRecord>();
        instance->kind = RecordKind::instance;
        instance->component = &component;
        instance->plugIn = nullptr;
        instance->storage = nullptr;
        auto& table = TheTable();
        const std::lock_guard<std::mutex> guard(table.lock);
        table.instances.insert(instance.get());
        return instance.release();
    }
    catch (...)
    {
        return nullptr;
    }
}

void RemoveInstance(ComponentInstanceRecord* instance)
{
    auto& table = TheTable();
    {
        const std::lock_guard<std::mutex> guard(table.lock);
        table.instances.erase(instance);
    }
    delete instance;
}

/** An OSStatus as the 16-bit status of the Component Manager calls. */
OSErr ToOSErr(OSStatus status)
{
    return status == OSErr(status) ? OSErr(status) : OSErr(paramErr);
}

/** Calls the entry of an instance's component with one of the Component Manager's own
    selectors, which take no argument but the instance. */
OSStatus CallEntry(ComponentInstanceRecord& instance, SInt16 selector)
{
    ParameterBlock block(selector, &instance);
    return instance.component->entry(&block.Header(), instance.storage);
}
} // namespace

ComponentInstanceRecord* FindInstance(ComponentInstance instance)
{
    auto& table = TheTable();
    const std::lock_guard<std::mutex> guard(table.lock);
    return table.instances.count(instance) != 0 ? instance : nullptr;
}

ComponentRecord* FindComponent(const void* componentOrInstance)
{
    if (auto* component = FindRegisteredComponent(componentOrInstance))
        return component;
    auto* instance =
        FindInstance(static_cast<ComponentInstance>(const_cast<void*>(componentOrInstance)));
    return instance != nullptr ? instance->component : nullptr;
}

} // namespace veridane::frameworks

using namespace veridane::frameworks;

AudioComponent VeridaneRegisterAudioComponent(const AudioComponentDescription* description,
                                              AudioComponentFactoryFunction factory)
{
    return reinterpret_cast<AudioComponent>(Register(description, factory, nullptr));
}

Component VeridaneRegisterComponent(const ComponentDescription* description, ComponentRoutine entry)
{
    static_assert(sizeof(ComponentDescription) == sizeof(AudioComponentDescription));
    AudioComponentDescription same{};
    if (description != nullptr)
        same = {description->componentType, description->componentSubType,
                description->componentManufacturer, description->componentFlags,
                description->componentFlagsMask};
    return Register(description != nullptr ? &same : nullptr, nullptr, entry);
}

AudioComponent AudioComponentInstanceGetComponent(AudioComponentInstance instance)
{
    auto* record = FindInstance(instance);
    return record != nullptr ? reinterpret_cast<AudioComponent>(record->component) : nullptr;
}

OSStatus AudioComponentGetDescription(AudioComponent component,
                                      AudioComponentDescription* outDescription)
{
    auto* record = FindRegisteredComponent(component);
    if (record == nullptr || outDescription == nullptr)
        return paramErr;
    *outDescription = record->description;
    return noErr;
}

void* GetComponentInstanceStorage(ComponentInstance instance)
{
    auto& table = TheTable();
    const std::lock_guard<std::mutex> guard(table.lock);
    return table.instances.count(instance) != 0 ? instance->storage : nullptr;
}

void SetComponentInstanceStorage(ComponentInstance instance, void* storage)
{
    auto& table = TheTable();
    const std::lock_guard<std::mutex> guard(table.lock);
    if (table.instances.count(instance) != 0)
        instance->storage = storage;
}

OSErr GetComponentInfo(Component component, ComponentDescription* outDescription, Handle, Handle,
                       Handle)
{
    auto* record = FindComponent(component);
    if (record == nullptr || outDescription == nullptr)
        return paramErr;
    const auto& d = record->description;
    *outDescription = {d.componentType, d.componentSubType, d.componentManufacturer,
                       d.componentFlags, d.componentFlagsMask};
    return noErr;
}

OSStatus AudioComponentInstanceNew(AudioComponent component, AudioComponentInstance* outInstance)
{
    if (outInstance == nullptr)
        return paramErr;
    *outInstance = nullptr;
    auto* record = FindRegisteredComponent(component);
    if (record == nullptr || record->factory == nullptr)
        return paramErr;
    auto* instance = AddInstance(*record);
    if (instance == nullptr)
        return memFullErr;
    instance->plugIn = record->factory(&record->description);
    if (instance->plugIn == nullptr)
    {
        RemoveInstance(instance);
        return memFullErr;
    }
    // A block whose Open fails has released itself.
    const OSStatus status = instance->plugIn->Open(instance->plugIn, instance);
    if (status != noErr)
    {
        RemoveInstance(instance);
        return status;
    }
    *outInstance = instance;
    return noErr;
}

OSStatus AudioComponentInstanceDispose(AudioComponentInstance instance)
{
    auto* record = FindInstance(instance);
    if (record == nullptr || record->plugIn == nullptr)
        return badComponentInstance;
    const OSStatus status = record->plugIn->Close(record->plugIn);
    RemoveInstance(record);
    return status;
}

OSErr OpenAComponent(Component component, ComponentInstance* outInstance)
{
    if (outInstance == nullptr)
        return paramErr;
    *outInstance = nullptr;
    auto* record = FindRegisteredComponent(component);
    if (record == nullptr || record->entry == nullptr)
        return paramErr;
    auto* instance = AddInstance(*record);
    if (instance == nullptr)
        return memFullErr;
    const OSStatus status = CallEntry(*instance, kComponentOpenSelect);
    if (status != noErr)
    {
        RemoveInstance(instance);
        return ToOSErr(status);
    }
    *outInstance = instance;
    return noErr;
}

OSErr CloseComponent(ComponentInstance instance)
{
    auto* record = FindInstance(instance);
    if (record == nullptr || record->component->entry == nullptr)
        return paramErr;
    const OSStatus status = CallEntry(*record, kComponentCloseSelect);
    RemoveInstance(record);
    return ToOSErr(status);
}
