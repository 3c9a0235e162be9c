// A fake AAX host: the host object with its component factory, the components the library
// creates through it (collection, descriptors, property maps, services) and the objects of a
// plug-in instance (controller, automation, transport, view container). Every object counts the
// references the library holds and every call the library makes is logged as
// "<object>.<entry>(<arguments>)", so tests read what reached the host entry by entry.
#pragma once

#include "tests/hosts/aax/FakeAcf.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
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

/** The interfaces of one component; QueryInterface on any of them answers for all. */
struct HostGroup
{
    std::vector<std::pair<Guid, HostObject*>> facets;
    std::map<uint32_t, int32_t> properties;
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
    /** What a GUI's SetViewContainer receives: "containerN", which gives "viewN". */
    void* newViewObject();

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
    int64_t recordPacket(uint32_t field, const void* payload, uint32_t size);
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
