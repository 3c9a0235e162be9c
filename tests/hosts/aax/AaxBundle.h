#pragma once

#include "tests/hosts/aax/FakeHost.h"
#include "tests/hosts/aax/LibraryEntries.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

/** The effect a bundle described, as the host keeps it from the calls of the registration. */
struct EffectDescription
{
    void* createEffectParameters = nullptr; // procedure 0
    void* createGui = nullptr;              // procedure 1
    void* process = nullptr;
    /** Context fields by what they carry; -1 when not described. */
    int audioIn = -1;
    int audioOut = -1;
    int bufferLength = -1;
    int port = -1;
    int midiNode = -1;
    int privateData = -1;
    uint32_t portSize = 0;
    uint32_t privateDataSize = 0;
    std::map<uint32_t, int32_t> properties;

    /** The number of context fields, or 0 when a field the host must fill is missing. */
    int contextSize() const;
};

/** A bundle loaded as an AAX host loads it: dlopen, start-up with the host's object and the
    registration of its effect; shut down and unloaded again at the end. */
class AaxBundle
{
public:
    /** Throws LoadError when the bundle cannot be loaded, lacks an export, or its registration
        fails or describes no effect the host can run. */
    AaxBundle(fakeaax::FakeHost& host, const std::string& path);
    /** Releases the host's definition, shuts the bundle down and unloads it. */
    ~AaxBundle();

    AaxBundle(const AaxBundle&) = delete;
    AaxBundle& operator=(const AaxBundle&) = delete;

    const fakeaax::LibraryExports& exports() const { return entries; }
    const EffectDescription& effect() const { return description; }
    /** The host calls the registration made, from entry 3 on. */
    const std::vector<std::string>& registrationCalls() const { return registration; }
    const std::string& path() const { return libraryPath; }
    fakeaax::FakeHost& host() const { return fakeHost; }

private:
    void readDescription();

    fakeaax::FakeHost& fakeHost;
    std::string libraryPath;
    void* handle = nullptr;
    fakeaax::LibraryExports entries{};
    void* definition = nullptr;
    std::vector<std::string> registration;
    EffectDescription description;
};
