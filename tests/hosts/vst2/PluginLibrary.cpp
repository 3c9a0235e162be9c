#include "tests/hosts/vst2/PluginLibrary.h"

#include <dlfcn.h>

PluginLibrary::PluginLibrary(const std::string& path) : libraryPath(path)
{
    // RTLD_LOCAL: the plug-in's symbols must not leak into what later libraries see.
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* why = dlerror();
        throw LoadError("cannot load " + path + ": " + (why != nullptr ? why : "unknown error"));
    }

    for (const char* name : {"VSTPluginMain", "main"})
    {
        if (void* symbol = dlsym(handle, name))
        {
            entryPoint = reinterpret_cast<VstPluginMainProc>(symbol);
            entrySymbol = name;
            return;
        }
    }
    dlclose(handle);
    throw LoadError(path + " exports neither VSTPluginMain nor main");
}

PluginLibrary::~PluginLibrary()
{
    dlclose(handle);
}
