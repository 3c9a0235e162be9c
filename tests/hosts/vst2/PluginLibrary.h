#pragma once

#include "hosts/vst2/VstAbi.h"
#include "tests/hosts/common/HostMain.h"

#include <string>

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
