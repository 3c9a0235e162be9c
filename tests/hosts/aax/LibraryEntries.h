// How the fake host reaches the library: its exports, found by their plain names, and the
// entries of the component objects it hands out, called by number.
#pragma once

#include "tests/hosts/aax/FakeAcf.h"

#include <cstdint>
#include <cstring>

namespace fakeaax
{
struct LibraryExports
{
    int32_t (*registerPlugin)(void* hostObject, void** outDefinition);
    int32_t (*registerComponent)(void* hostObject, uint32_t index, void** outComponent);
    int32_t (*getClassFactory)(void* hostObject, const Guid& classID, const Guid& iid,
                               void** outFactory);
    int32_t (*canUnloadNow)(void* hostObject);
    int32_t (*startup)(void* hostObject);
    int32_t (*shutdown)(void* hostObject);
    int32_t (*getSDKVersion)(uint64_t* outVersion);

    /** Looks each export up in a library handle (RTLD_DEFAULT for the running program); throws
        std::runtime_error naming the first one missing. */
    static LibraryExports find(void* library);
};

/** Entries 0 to 2 of a component object of the library. */
int32_t queryInterface(void* object, const Guid& iid, void** out);
uint32_t addRef(void* object);
uint32_t release(void* object);

/** Entry N of a component object of the library, called with the object first. */
template <int N, typename Signature> struct LibraryEntry;

template <int N, typename R, typename... Args> struct LibraryEntry<N, R(Args...)>
{
    static constexpr int number = N;

    static R call(void* object, Args... args)
    {
        using Function = R (*)(void*, Args...);
        // The object's first field points to its table; entry N is the N-th function there.
        const char* table = nullptr;
        std::memcpy(&table, object, sizeof table);
        Function function = nullptr;
        std::memcpy(&function, table + N * sizeof(Function), sizeof function);
        return function(object, args...);
    }
};

/** Entry 0 with the identifier by address, as the interface takes it; null included. */
inline int32_t queryInterface(void* object, const Guid* iid, void** out)
{
    return LibraryEntry<0, int32_t(const Guid*, void**)>::call(object, iid, out);
}
} // namespace fakeaax
