#include "tests/hosts/audio_unit/BundleLibrary.h"

#include <dlfcn.h>

BundleLibrary::BundleLibrary(const std::string& path) : libraryPath(path)
{
    // RTLD_LOCAL: the bundle's symbols must not leak into what later libraries see.
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* why = dlerror();
        throw LoadError("cannot load " + path + ": " + (why != nullptr ? why : "unknown error"));
    }
    factoryFunction =
        reinterpret_cast<AudioComponentFactoryFunction>(dlsym(handle, "VeridaneAUFactory"));
    entryFunction = reinterpret_cast<ComponentRoutine>(dlsym(handle, "VeridaneAUEntry"));
    if (factoryFunction == nullptr || entryFunction == nullptr)
    {
        dlclose(handle);
        throw LoadError(path + " does not export VeridaneAUFactory and VeridaneAUEntry");
    }
}

BundleLibrary::~BundleLibrary()
{
    dlclose(handle);
}
