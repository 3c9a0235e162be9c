#pragma once

#include "platform/AudioUnitTypes.h"

#include <stdexcept>
#include <string>

/** Thrown when the bundle or a unit in it cannot be used; the message says why. */
struct LoadError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

/** The bundle opened with dlopen and its two Audio Unit entry points; closed with dlclose. */
class BundleLibrary
{
public:
    explicit BundleLibrary(const std::string& path);
    ~BundleLibrary();

    BundleLibrary(const BundleLibrary&) = delete;
    BundleLibrary& operator=(const BundleLibrary&) = delete;

    AudioComponentFactoryFunction factory() const { return factoryFunction; }
    ComponentRoutine entry() const { return entryFunction; }
    const std::string& path() const { return libraryPath; }

private:
    std::string libraryPath;
    void* handle = nullptr;
    AudioComponentFactoryFunction factoryFunction = nullptr;
    ComponentRoutine entryFunction = nullptr;
};
