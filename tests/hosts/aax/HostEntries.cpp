// The host's interface tables as the fake host declares them: entry numbers and argument types,
// written apart from the library's declarations. Entries that the host leaves unnamed (no part of
// the library calls them) are declared only where the library gives them a behaviour of its own.
// Each entry logs its arguments, keeps them as words and answers the configured value; property
// maps also keep what they are given, controllers the packets posted and the automation the value
// requests; instances, views and automation set up for a session answer from it.
#include "tests/hosts/aax/FakeHost.h"

#include <array>
#include <bit>
#include <charconv>
#include <map>
#include <type_traits>
#include <utility>

namespace fakeaax
{
namespace
{
constexpr std::size_t kTableSize = 32;
using Table = std::array<const void*, kTableSize>;

template <typename T>
requires std::is_arithmetic_v<T> std::string describe(const FakeHost&, T value)
{
    if constexpr (std::is_same_v<T, bool>)
        return value ? "true" : "false";
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

std::string describe(const FakeHost&, const char* text)
{
    return text != nullptr ? "\"" + std::string(text) + "\"" : "null";
}

std::string describe(const FakeHost& host, const ViewSize& size)
{
    return describe(host, size.height) + "x" + describe(host, size.width);
}

template <typename T> std::string describe(const FakeHost& host, T* pointer)
{
    return host.nameOf(pointer);
}

template <typename R> R answerAs(int64_t value)
{
    if constexpr (std::is_pointer_v<R>)
        return reinterpret_cast<R>(static_cast<intptr_t>(value));
    else
        return static_cast<R>(value);
}

template <typename T> uint64_t asWord(T value)
{
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<uintptr_t>(value);
    else if constexpr (std::is_same_v<T, double>)
        return std::bit_cast<uint64_t>(value);
    else if constexpr (std::is_same_v<T, float>)
        return std::bit_cast<uint32_t>(value);
    else if constexpr (std::is_arithmetic_v<T>)
        return static_cast<uint64_t>(value);
    else
        return reinterpret_cast<uintptr_t>(&value);
}

template <int Entry, typename R, typename... Args> R logged(HostObject* self, Args... args)
{
    self->host->record(*self, Entry, {describe(*self->host, args)...});
    self->host->keep(*self->group, {Entry, {asWord<Args>(args)...}});
    return answerAs<R>(self->host->entryAnswer());
}

// What the table holds where the host declares nothing: a call there is logged as a fault.
template <int Entry> int32_t undeclared(HostObject* self)
{
    self->host->record(*self, Entry, {"undeclared entry"});
    return kUnimplemented;
}

int32_t queryInterface(HostObject* self, const Guid& iid, void** out)
{
    return self->host->queryInterface(*self, iid, out);
}

uint32_t addRef(HostObject* self)
{
    return self->host->addRef(*self);
}

uint32_t release(HostObject* self)
{
    return self->host->release(*self);
}

int32_t createComponent(HostObject* self, const Guid& componentID, void* outer, const Guid& iid,
                        void** out)
{
    self->host->record(*self, 3,
                       {guidName(componentID), describe(*self->host, outer), guidName(iid)});
    return self->host->createComponent(componentID, iid, out);
}

// Property maps answer from what they hold; a property they lack gets the configured answer.
int32_t getProperty(HostObject* self, uint32_t id, int32_t* value)
{
    self->host->record(*self, 3, {describe(*self->host, id), describe(*self->host, value)});
    const auto& properties = self->group->properties;
    const auto found = properties.find(id);
    if (found == properties.end())
        return static_cast<int32_t>(self->host->entryAnswer());
    if (value != nullptr)
        *value = found->second;
    return 1;
}

int32_t addProperty(HostObject* self, uint32_t id, int32_t value)
{
    logged<4, int32_t>(self, id, value);
    self->group->properties[id] = value;
    return static_cast<int32_t>(self->host->entryAnswer());
}

// Controllers keep the bytes of every packet, as the host copies them into the field.
int32_t postPacket(HostObject* self, uint32_t field, const void* payload, uint32_t size)
{
    logged<12, int32_t>(self, field, payload, size);
    return static_cast<int32_t>(self->host->recordPacket(*self->group, field, payload, size));
}

// The automation keeps the value requests for the host to answer, or answers them at once.
int32_t postSetValueRequest(HostObject* self, const char* identifier, double value)
{
    const auto answer = logged<5, int32_t>(self, identifier, value);
    if (self->group->answerSetValue)
        self->group->answerSetValue(identifier, value);
    else
        self->host->recordSetValueRequest(identifier, value);
    return answer;
}

// An instance with settings answers the session's values; others only log.
template <int Entry, typename T, T InstanceSettings::*Field>
int32_t sessionValue(HostObject* self, T* value)
{
    const auto answer = logged<Entry, int32_t>(self, value);
    if (!self->group->settings || value == nullptr)
        return answer;
    *value = (*self->group->settings).*Field;
    return kSuccess;
}

// A view with a type and a native view answers them; others answer the configured value.
int32_t viewType(HostObject* self)
{
    const auto answer = logged<3, int32_t>(self);
    return self->group->hasView ? self->group->viewType : answer;
}

void* nativeView(HostObject* self)
{
    const auto answer = logged<4, void*>(self);
    return self->group->hasView ? self->group->nativeView : answer;
}

template <typename F> const void* address(F* function)
{
    return reinterpret_cast<const void*>(function);
}

template <int Entry, typename... Args> std::pair<int, const void*> entry()
{
    return {Entry, address(&logged<Entry, int32_t, Args...>)};
}

template <std::size_t... Entries> Table undeclaredTable(std::index_sequence<Entries...>)
{
    return {address(&undeclared<static_cast<int>(Entries)>)...};
}

Table makeTable(std::initializer_list<std::pair<int, const void*>> entries)
{
    Table table = undeclaredTable(std::make_index_sequence<kTableSize>());
    table[0] = address(&queryInterface);
    table[1] = address(&addRef);
    table[2] = address(&release);
    for (const auto& [number, function] : entries)
        table[static_cast<std::size_t>(number)] = function;
    return table;
}

using Object = HostObject*;
using Text = const char*;
using Pointer = void*;

const std::map<std::string_view, Table>& tables()
{
    // clang-format off
    static const std::map<std::string_view, Table> all = {
        {"factory", makeTable({{3, address(&createComponent)}})},
        {"collection", makeTable({
            entry<7, Text, Object>(), entry<8, Text>(), entry<9, Text>(), entry<10, uint32_t>(),
            entry<11, Object>()})},
        {"effect", makeTable({
            entry<3, Object>(), entry<4, Text>(), entry<5, uint32_t>(), entry<6, uint32_t, Text>(),
            entry<7, Pointer, uint32_t>(), entry<8, Object>(), entry<9, uint32_t, Text>(),
            entry<10, uint32_t, Text, Object>(), entry<11, uint32_t, uint32_t, Text, uint32_t>()})},
        {"component", makeTable({
            entry<3>(), entry<5, uint32_t>(), entry<6, uint32_t>(), entry<7, uint32_t>(),
            entry<8, uint32_t>(), entry<9, uint32_t>(), entry<10, uint32_t>(),
            entry<11, uint32_t, uint32_t, int32_t>(), entry<12, uint32_t, int32_t, Text>(),
            entry<13, uint32_t, uint32_t, int32_t>(), entry<15, uint32_t, int32_t, Text, uint32_t>(),
            entry<16, Pointer, Object, Pointer, Pointer, Pointer>(),
            entry<17, Pointer, Pointer, Object, Pointer, Pointer>()})},
        {"map", makeTable({
            {3, address(&getProperty)}, {4, address(&addProperty)}, entry<5, uint32_t>(),
            entry<6, uint32_t, const void*, uint32_t>(), entry<7, uint32_t, const void**, uint32_t*>()})},
        {"services", makeTable({entry<3, Text, int32_t, Text>(), entry<4, int32_t, Text>()})},
        {"controller", makeTable({
            entry<3, Pointer>(),
            {4, address(&sessionValue<4, float, &InstanceSettings::sampleRate>)},
            {5, address(&sessionValue<5, int32_t, &InstanceSettings::stemFormat>)},
            {6, address(&sessionValue<6, int32_t, &InstanceSettings::stemFormat>)},
            entry<7, int32_t*>(), entry<8, uint32_t, int32_t*>(), entry<9, int64_t*>(),
            entry<10, int32_t>(), entry<11, uint32_t*, int32_t*, int32_t>(),
            {12, address(&postPacket)}, entry<20, uint32_t, const void*, uint32_t>(),
            entry<22, int64_t*>()})},
        {"automation", makeTable({
            entry<3, Text>(), entry<4, Text>(), {5, address(&postSetValueRequest)}, entry<6, Text, double>(),
            entry<7, Text>(), entry<8, Text>(), entry<9, Text, bool*>()})},
        {"transport", makeTable({
            entry<3, double*>(), entry<4, int32_t*, int32_t*>(), entry<5, bool*>(), entry<6, int64_t*>(),
            entry<7, bool*, int64_t*, int64_t*>(), entry<8, int64_t*>(), entry<9, int64_t*, int64_t>(),
            entry<10, int32_t*, int32_t*, int64_t*, int64_t>(), entry<11, uint32_t*>(),
            entry<12, uint32_t*>(), entry<13, int64_t*>(), entry<14, int32_t*, int32_t*>(),
            entry<15, int32_t*, int64_t*>(), entry<16, int32_t*>()})},
        {"view", makeTable({
            {3, address(&viewType)}, {4, address(&nativeView)}, entry<5, uint32_t*>(),
            entry<6, const ViewSize&>(), entry<7, Text, uint32_t>(), entry<8, Text, uint32_t>(),
            entry<9, Text, uint32_t>()})},
    };
    // clang-format on
    return all;
}
} // namespace

const void* const* entryTable(std::string_view stem)
{
    static const Table unknown = makeTable({});
    const auto found = tables().find(stem);
    return (found != tables().end() ? found->second : unknown).data();
}
} // namespace fakeaax
