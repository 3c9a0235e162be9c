#pragma once

#include "hosts/vst2/VstAbi.h"

#include <stdexcept>
#include <string>

/** Thrown when a library or the record it answers cannot be used; the message says why. */
struct LoadError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

/** A plug-in library opened with dlopen and its VST entry, looked up the way Linux hosts do:
    "VSTPluginMain" first, then "main". Closed again with dlclose. */
class PluginLibrary
{
public:
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();

    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    VstPluginMainProc entry() const { return entryPoint; }
    const std::string& entryName() const { return entrySymbol; }
    const std::string& path() const { return libraryPath; }

private:
    std::string libraryPath;
    void* handle = nullptr;
    VstPluginMainProc entryPoint = nullptr;
    std::string entrySymbol;
};
