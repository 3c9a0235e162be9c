#pragma once

#include "tests/hosts/aax/AaxBundle.h"
#include "tests/hosts/aax/HostChunk.h"

#include <optional>
#include <string>
#include <vector>

/** One plug-in instance as an AAX host runs it: its effect parameters made by the registered
    creation function and held by QueryInterface, initialised on an instance object of the host
    (whose controller answers the session and gives the instance itself for the effect
    parameters), its private data reset, packets copied into their port, and the process
    procedure called on a context built from the description. Uninitialised and released at the
    end. What goes wrong is collected in problems. */
class HostedInstance
{
public:
    /** Queued: value requests wait for answerRequests, as from a host's event loop.
        Synchronous: the host answers each inside the request. */
    enum class Automation
    {
        queued,
        synchronous,
    };

    HostedInstance(const AaxBundle& bundle, double sampleRate,
                   Automation automation = Automation::queued);
    ~HostedInstance();

    HostedInstance(const HostedInstance&) = delete;
    HostedInstance& operator=(const HostedInstance&) = delete;

    /** The effect parameters as the host holds them. */
    void* object() const { return effect; }
    /** What Initialize received: the host's controller object. */
    void* hostObject() const { return instance; }
    const AaxBundle& bundle() const { return loaded; }
    fakeaax::FakeHost& host() const { return loaded.host(); }

    /** The host's automation setting a parameter: the update that answers a request. */
    int32_t update(const char* identifier, double value);
    /** Answers the value requests the host queued; answers how many. */
    size_t answerRequests();
    /** Asks for coefficients and copies each packet into its field's port; answers the packets
        as "field: bytes". */
    std::vector<std::string> generateCoefficients();
    /** One call of the process procedure on a context of the host's buffers. */
    void process(float* const* inputs, float* const* outputs, int32_t length);

    double normalizedValue(const char* identifier);

    struct Chunk
    {
        uint32_t id;
        fakeaax::HostChunk record;
    };
    /** Every chunk the instance lists, saved as a host saves a project. */
    std::vector<Chunk> saveChunks();
    int32_t restore(Chunk& chunk);
    /** Sets the processor's state through the 'juce' chunk with only the elements given, as a
        host restoring a project does, and answers the value requests that follow; answers
        SetChunk's result. */
    int32_t restoreState(const std::optional<std::string>& gain,
                         const std::optional<std::string>& direction);
    /** The text of the processor's state as a fresh 'juce' chunk holds it. */
    std::string stateText();
    /** CompareActiveChunk's verdict. */
    bool compare(Chunk& chunk);

    std::vector<std::string> problems;

private:
    void check(int32_t result, const std::string& what);

    const AaxBundle& loaded;
    void* instance = nullptr;
    void* effect = nullptr;
    std::vector<uint64_t> port;
    std::vector<uint64_t> privateData;
};

/** A chunk's four-character identifier ('elck'). */
std::string chunkName(uint32_t id);
