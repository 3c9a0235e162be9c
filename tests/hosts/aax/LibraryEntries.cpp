#include "tests/hosts/aax/LibraryEntries.h"

#include <cstring>
#include <dlfcn.h>
#include <stdexcept>
#include <string>

namespace fakeaax
{
namespace
{
template <typename Function> void lookUp(void* library, const char* name, Function& function)
{
    void* const symbol = dlsym(library, name);
    if (symbol == nullptr)
        throw std::runtime_error(std::string("the library does not export ") + name);
    function = reinterpret_cast<Function>(symbol);
}

// The object's first field points to its table; entry n is the n-th function there, called
// with the object first.
template <typename Function> Function entryOf(void* object, std::size_t entry)
{
    const char* table = nullptr;
    std::memcpy(&table, object, sizeof table);
    Function function = nullptr;
    std::memcpy(&function, table + entry * sizeof(Function), sizeof function);
    return function;
}
} // namespace

LibraryExports LibraryExports::find(void* library)
{
    LibraryExports exports{};
    lookUp(library, "ACFRegisterPlugin", exports.registerPlugin);
    lookUp(library, "ACFRegisterComponent", exports.registerComponent);
    lookUp(library, "ACFGetClassFactory", exports.getClassFactory);
    lookUp(library, "ACFCanUnloadNow", exports.canUnloadNow);
    lookUp(library, "ACFStartup", exports.startup);
    lookUp(library, "ACFShutdown", exports.shutdown);
    lookUp(library, "ACFGetSDKVersion", exports.getSDKVersion);
    return exports;
}

int32_t queryInterface(void* object, const Guid& iid, void** out)
{
    return entryOf<int32_t (*)(void*, const Guid&, void**)>(object, 0)(object, iid, out);
}

uint32_t addRef(void* object)
{
    return entryOf<uint32_t (*)(void*)>(object, 1)(object);
}

uint32_t release(void* object)
{
    return entryOf<uint32_t (*)(void*)>(object, 2)(object);
}
} // namespace fakeaax
