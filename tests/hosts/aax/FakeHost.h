// A fake AAX host: the host object with its component factory, the components the library
// creates through it (collection, descriptors, property maps, services) and the objects of a
// plug-in instance (controller, automation, transport, view container). Every object counts the
// references the library holds and every call the library makes is logged as
// "<object>.<entry>(<arguments>)", so tests read what reached the host entry by entry.
#pragma once

#include "tests/hosts/aax/FakeAcf.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace fakeaax
{
class FakeHost;
struct HostGroup;

/** One interface of a host component, as the library holds it. */
struct HostObject
{
    const void* const* table; // first field: the entries the library calls
    FakeHost* host;
    HostGroup* group;
    std::string name;
    int64_t held = 0; // references the library holds now
    int addRefs = 0;
    int releases = 0;
};

/** A call the library made, its arguments as words: integers, pointers (texts by address) and
    the bits of floating-point values. */
struct KeptCall
{
    int entry;
    std::vector<uint64_t> arguments;
};

/** What a plug-in instance's controller answers about the session. */
struct InstanceSettings
{
    float sampleRate;
    int32_t stemFormat; // input and output
};

/** A packet posted to a controller: its field and bytes. */
struct Packet
{
    uint32_t field;
    std::vector<uint8_t> bytes;
};

/** The interfaces of one component; QueryInterface on any of them answers for all. */
struct HostGroup
{
    std::vector<std::pair<Guid, HostObject*>> facets;
    std::map<uint32_t, int32_t> properties;
    /** Every call from entry 3 on, in order. */
    std::vector<KeptCall> kept;
    /** Packets posted to its controller and not yet taken. */
    std::vector<Packet> packets;
    /** Set on instances that answer the session's values; otherwise entries just log. */
    std::optional<InstanceSettings> settings;
    /** The plug-in's effect parameters, given for their interface once linked. */
    void* effectParameters = nullptr;
    /** Answers value requests at once instead of queueing them, when set. */
    std::function<void(const char* identifier, double value)> answerSetValue;
    /** A view container's type and native view, once set. */
    bool hasView = false;
    int32_t viewType = 0;
    void* nativeView = nullptr;
};

/** The entry table of the objects named after this stem ("collection", "effect"...; see
    HostEntries.cpp); objects of other names have entries 0 to 2 only. */
const void* const* entryTable(std::string_view stem);

class FakeHost
{
public:
    enum class Answer
    {
        Give,
        Refuse,
        SucceedWithNull,
    };

    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    /** What registration and start-up receive: "host", which gives "factory". */
    void* hostObject();
    /** What a plug-in instance's Initialize receives: "instanceN", which gives "controllerN"
        (and ".v2"), "automationN" and "transportN" (and ".v2"). */
    void* newInstanceObject();
    /** The same, answering the session's values: the sample rate and the stem formats. */
    void* newInstanceObject(const InstanceSettings& settings);
    /** What a GUI's SetViewContainer receives: "containerN", which gives "viewN". */
    void* newViewObject();
    /** The same, whose view answers this type and native view. */
    void* newViewObject(int32_t type, void* nativeView);

    /** Makes the instance answer the effect-parameters interface with the plug-in's own object
        (taking a reference on it), as a host's controller does for the plug-in's window. */
    void linkEffectParameters(void* instanceObject, void* effectParameters);
    /** Makes the instance's automation answer each value request at once, inside the request,
        instead of queueing it; an empty function queues again. */
    void answerSetValueRequestsAt(void* instanceObject,
                                  std::function<void(const char*, double)> answer);
    /** The group of an object the host made; throws std::out_of_range for another address. */
    const HostGroup& groupOf(const void* object) const;
    /** The packets the instance's controller received since the last take. */
    std::vector<Packet> takePackets(void* instanceObject);

    /** How QueryInterface and the factory answer for an interface (by its name, see
        FakeAcf.h); every interface is given until said otherwise. */
    void answer(std::string_view interfaceName, Answer answer);
    /** What every entry from 3 on answers, unless its object answers from its own state. */
    void answerEntries(int64_t value) { mEntryAnswer = value; }
    int64_t entryAnswer() const { return mEntryAnswer; }

    /** Every call in order, entries 0 to 2 included. */
    std::vector<std::string> log() const;
    /** The calls from entry 3 on. */
    std::vector<std::string> calls() const;
    void clearLog();
    /** "name held N" for each object whose references the library has not given back. */
    std::vector<std::string> unbalanced() const;
    /** Names an address, so that the log shows it when the library passes it on. */
    void nameAddress(const void* address, std::string name);

    /** Every packet posted to a controller, in order: "field: bytes in hex" ("3: 01 00 00 00"). */
    std::vector<std::string> postedPackets() const;
    /** What the next posts answer, one value each; after them the configured answer. */
    void answerPosts(std::vector<int64_t> answers);
    /** The value requests posted to the automation since the last take, as the host would
        answer them: identifier and normalized value. */
    std::vector<std::pair<std::string, double>> takeSetValueRequests();

    // For the entries.
    void record(const HostObject& object, int entry, const std::vector<std::string>& arguments);
    std::string nameOf(const void* address) const;
    int32_t queryInterface(HostObject& object, const Guid& iid, void** out);
    uint32_t addRef(HostObject& object);
    uint32_t release(HostObject& object);
    int32_t createComponent(const Guid& componentID, const Guid& iid, void** out);
    /** Keeps the packet; answers the next of answerPosts, else the configured answer. */
    int64_t recordPacket(HostGroup& group, uint32_t field, const void* payload, uint32_t size);
    void keep(HostGroup& group, KeptCall call);
    void recordSetValueRequest(const char* identifier, double value);

private:
    struct Facet
    {
        const char* interfaceName;
        std::string stem;
        std::string suffix;
    };
    /** Names are stem, the group's number under its counter (none for an empty counter) and
        suffix: "effect1.v2". */
    HostGroup& makeGroup(const std::string& counter, const std::vector<Facet>& facets);
    Answer answerFor(const Guid& iid) const;

    mutable std::recursive_mutex mLock;
    std::vector<std::unique_ptr<HostObject>> mObjects;
    std::vector<std::unique_ptr<HostGroup>> mGroups;
    std::map<std::string, int> mCounters;
    std::map<Guid, Answer> mAnswers;
    std::map<const void*, std::string> mAddressNames;
    std::vector<std::pair<int, std::string>> mLog;
    std::vector<std::string> mPackets;
    std::vector<int64_t> mPostAnswers;
    std::vector<std::pair<std::string, double>> mSetValueRequests;
    int64_t mEntryAnswer = 0;
    HostObject* mHostObject = nullptr;
};
} // namespace fakeaax
