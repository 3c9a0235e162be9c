#include "tests/hosts/aax/FakeHost.h"

#include "tests/hosts/aax/LibraryEntries.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <tuple>
#include <utility>

namespace fakeaax
{
namespace
{
struct ComponentRecipe
{
    const char* componentName;
    const char* counter;
    std::vector<std::tuple<const char*, const char*, const char*>> facets;
};

// What the component factory makes: the first interface is the one asked for at creation.
const std::vector<ComponentRecipe>& recipes()
{
    static const std::vector<ComponentRecipe> all = {
        {"Collection",
         "collection",
         {{"CollectionV1", "collection", ""}, {"PluginDefinition", "definition", ""}}},
        {"EffectDescriptor",
         "effect",
         {{"EffectDescriptorV1", "effect", ""}, {"EffectDescriptorV2", "effect", ".v2"}}},
        {"ComponentDescriptor",
         "component",
         {{"ComponentDescriptorV1", "component", ""},
          {"ComponentDescriptorV2", "component", ".v2"}}},
        {"PropertyMap", "map", {{"PropertyMapV1", "map", ""}, {"PropertyMapV2", "map", ".v2"}}},
        {"HostServices", "services", {{"HostServicesV1", "services", ""}}},
    };
    return all;
}
} // namespace

FakeHost::FakeHost()
{
    auto& group = makeGroup("", {{"ACFUnknown", "host", ""}, {"ComponentFactory", "factory", ""}});
    mHostObject = group.facets.front().second;
}

FakeHost::~FakeHost() = default;

void* FakeHost::hostObject()
{
    return mHostObject;
}

void* FakeHost::newInstanceObject()
{
    return makeGroup("instance", {{"ACFUnknown", "instance", ""},
                                  {"ControllerV1", "controller", ""},
                                  {"ControllerV2", "controller", ".v2"},
                                  {"AutomationV1", "automation", ""},
                                  {"TransportV1", "transport", ""},
                                  {"TransportV2", "transport", ".v2"}})
        .facets.front()
        .second;
}

void* FakeHost::newInstanceObject(const InstanceSettings& settings)
{
    void* const object = newInstanceObject();
    std::lock_guard lock(mLock);
    static_cast<HostObject*>(object)->group->settings = settings;
    return object;
}

void* FakeHost::newViewObject(int32_t type, void* nativeView)
{
    void* const object = newViewObject();
    std::lock_guard lock(mLock);
    auto& group = *static_cast<HostObject*>(object)->group;
    group.hasView = true;
    group.viewType = type;
    group.nativeView = nativeView;
    return object;
}

void FakeHost::linkEffectParameters(void* instanceObject, void* effectParameters)
{
    std::lock_guard lock(mLock);
    static_cast<HostObject*>(instanceObject)->group->effectParameters = effectParameters;
}

void FakeHost::answerSetValueRequestsAt(void* instanceObject,
                                        std::function<void(const char*, double)> answer)
{
    std::lock_guard lock(mLock);
    static_cast<HostObject*>(instanceObject)->group->answerSetValue = std::move(answer);
}

const HostGroup& FakeHost::groupOf(const void* object) const
{
    std::lock_guard lock(mLock);
    for (const auto& known : mObjects)
        if (known.get() == object)
            return *known->group;
    throw std::out_of_range("not an object of this host");
}

std::vector<Packet> FakeHost::takePackets(void* instanceObject)
{
    std::lock_guard lock(mLock);
    return std::exchange(static_cast<HostObject*>(instanceObject)->group->packets, {});
}

void FakeHost::keep(HostGroup& group, KeptCall call)
{
    std::lock_guard lock(mLock);
    group.kept.push_back(std::move(call));
}

void* FakeHost::newViewObject()
{
    return makeGroup("container",
                     {{"ACFUnknown", "container", ""}, {"ViewContainerV1", "view", ""}})
        .facets.front()
        .second;
}

void FakeHost::answer(std::string_view interfaceName, Answer answer)
{
    std::lock_guard lock(mLock);
    mAnswers[guid(interfaceName)] = answer;
}

std::vector<std::string> FakeHost::log() const
{
    std::lock_guard lock(mLock);
    std::vector<std::string> lines;
    for (const auto& [entry, line] : mLog)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> FakeHost::calls() const
{
    std::lock_guard lock(mLock);
    std::vector<std::string> lines;
    for (const auto& [entry, line] : mLog)
        if (entry >= 3)
            lines.push_back(line);
    return lines;
}

void FakeHost::clearLog()
{
    std::lock_guard lock(mLock);
    mLog.clear();
}

std::vector<std::string> FakeHost::unbalanced() const
{
    std::lock_guard lock(mLock);
    std::vector<std::string> names;
    for (const auto& object : mObjects)
        if (object->held != 0)
            names.push_back(object->name + " held " + std::to_string(object->held));
    return names;
}

void FakeHost::nameAddress(const void* address, std::string name)
{
    std::lock_guard lock(mLock);
    mAddressNames[address] = std::move(name);
}

void FakeHost::record(const HostObject& object, int entry,
                      const std::vector<std::string>& arguments)
{
    std::string line = object.name + "." + std::to_string(entry) + "(";
    for (std::size_t i = 0; i < arguments.size(); ++i)
        line += (i == 0 ? "" : ", ") + arguments[i];
    std::lock_guard lock(mLock);
    mLog.emplace_back(entry, line + ")");
}

std::vector<std::string> FakeHost::postedPackets() const
{
    std::lock_guard lock(mLock);
    return mPackets;
}

std::vector<std::pair<std::string, double>> FakeHost::takeSetValueRequests()
{
    std::lock_guard lock(mLock);
    return std::exchange(mSetValueRequests, {});
}

void FakeHost::answerPosts(std::vector<int64_t> answers)
{
    std::lock_guard lock(mLock);
    mPostAnswers = std::move(answers);
}

int64_t FakeHost::recordPacket(HostGroup& group, uint32_t field, const void* payload, uint32_t size)
{
    std::string line = std::to_string(field) + ":";
    const auto* const bytes = static_cast<const unsigned char*>(payload);
    for (uint32_t i = 0; bytes != nullptr && i < size; ++i)
    {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
        line += hex;
    }
    std::lock_guard lock(mLock);
    mPackets.push_back(std::move(line));
    group.packets.push_back({field, bytes != nullptr ? std::vector<uint8_t>(bytes, bytes + size)
                                                     : std::vector<uint8_t>{}});
    if (mPostAnswers.empty())
        return mEntryAnswer;
    const int64_t answer = mPostAnswers.front();
    mPostAnswers.erase(mPostAnswers.begin());
    return answer;
}

void FakeHost::recordSetValueRequest(const char* identifier, double value)
{
    std::lock_guard lock(mLock);
    mSetValueRequests.emplace_back(identifier != nullptr ? identifier : "", value);
}

std::string FakeHost::nameOf(const void* address) const
{
    if (address == nullptr)
        return "null";
    std::lock_guard lock(mLock);
    for (const auto& object : mObjects)
        if (object.get() == address)
            return object->name;
    const auto named = mAddressNames.find(address);
    return named != mAddressNames.end() ? named->second : "?";
}

int32_t FakeHost::queryInterface(HostObject& object, const Guid& iid, void** out)
{
    record(object, 0, {guidName(iid)});
    // The plug-in's own object, with a reference of its own counting.
    if (void* const linked = object.group->effectParameters;
        linked != nullptr && out != nullptr && iid == guid("EffectParametersV1"))
    {
        fakeaax::addRef(linked);
        *out = linked;
        return kSuccess;
    }
    std::lock_guard lock(mLock);
    if (out == nullptr)
        return kNullObject;
    *out = nullptr;
    const auto& facets = object.group->facets;
    auto facet = std::find_if(facets.begin(), facets.end(),
                              [&](const auto& candidate) { return candidate.first == iid; });
    if (iid == guid("ACFUnknown"))
        facet = facets.begin();
    const Answer given = answerFor(iid);
    if (given == Answer::Refuse || facet == facets.end())
        return kNoInterface;
    if (given == Answer::Give)
    {
        *out = facet->second;
        ++facet->second->held;
    }
    return kSuccess;
}

uint32_t FakeHost::addRef(HostObject& object)
{
    record(object, 1, {});
    std::lock_guard lock(mLock);
    ++object.addRefs;
    return static_cast<uint32_t>(++object.held);
}

uint32_t FakeHost::release(HostObject& object)
{
    record(object, 2, {});
    std::lock_guard lock(mLock);
    ++object.releases;
    return static_cast<uint32_t>(--object.held);
}

int32_t FakeHost::createComponent(const Guid& componentID, const Guid& iid, void** out)
{
    std::lock_guard lock(mLock);
    if (out == nullptr)
        return kNullObject;
    *out = nullptr;
    for (const auto& recipe : recipes())
    {
        if (guid(recipe.componentName) != componentID)
            continue;
        if (guid(std::get<0>(recipe.facets.front())) != iid || answerFor(iid) == Answer::Refuse)
            return kNoInterface;
        if (answerFor(iid) == Answer::SucceedWithNull)
            return kSuccess;
        std::vector<Facet> facets;
        for (const auto& [interfaceName, stem, suffix] : recipe.facets)
            facets.push_back({interfaceName, stem, suffix});
        auto* const created = makeGroup(recipe.counter, facets).facets.front().second;
        created->held = 1;
        *out = created;
        return kSuccess;
    }
    return kNoInterface;
}

HostGroup& FakeHost::makeGroup(const std::string& counter, const std::vector<Facet>& facets)
{
    std::lock_guard lock(mLock);
    const std::string number = counter.empty() ? "" : std::to_string(++mCounters[counter]);
    auto& group = *mGroups.emplace_back(std::make_unique<HostGroup>());
    for (const auto& facet : facets)
    {
        auto object = std::make_unique<HostObject>(
            HostObject{entryTable(facet.stem), this, &group, facet.stem + number + facet.suffix});
        group.facets.emplace_back(guid(facet.interfaceName), object.get());
        mObjects.push_back(std::move(object));
    }
    return group;
}

FakeHost::Answer FakeHost::answerFor(const Guid& iid) const
{
    const auto found = mAnswers.find(iid);
    return found != mAnswers.end() ? found->second : Answer::Give;
}
} // namespace fakeaax
