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
    return queryInterface(object, &iid, out);
}

uint32_t addRef(void* object)
{
    return LibraryEntry<1, uint32_t()>::call(object);
}

uint32_t release(void* object)
{
    return LibraryEntry<2, uint32_t()>::call(object);
}
} // namespace fakeaax
