// The host's interfaces, one table each: identifiers and numbered entries. Entries 0 to 2 of
// every table are the root interface's; version-2 tables continue after version 1, and entries
// without a name keep their number. This file is the only place these numbers are written.
#pragma once

#include "hosts/aax/component/ACF.h"

#include <cstddef>

class AAX_IString;

/** The view size the host receives: the height first, then the width. */
struct AAX_ViewSize
{
    float height;
    float width;
};

/** A parameter identifier: NUL-terminated text. */
using AAX_CParamID = const char*;
/** A four-character code as a 32-bit value, the first character in the high byte ('elck'). */
using AAX_CTypeID = uint32_t;
/** A function of the plug-in handed to the host (creation functions, processing procedures). */
using AAX_ProcPtr = void*;

/** Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", the form in which hosts publish them. */
consteval ACFGuid acfGuid(const char (&text)[39])
{
    auto hex = [&](std::size_t first, std::size_t digits)
    {
        uint32_t value = 0;
        for (std::size_t i = first; i < first + digits; ++i)
        {
            const char c = text[i];
            const uint32_t nibble = c >= '0' && c <= '9'   ? static_cast<uint32_t>(c - '0')
                                    : c >= 'A' && c <= 'F' ? static_cast<uint32_t>(c - 'A' + 10)
                                    : c >= 'a' && c <= 'f' ? static_cast<uint32_t>(c - 'a' + 10)
                                                           : throw "not a hexadecimal digit";
            value = value << 4 | nibble;
        }
        return value;
    };
    if (text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-' ||
        text[37] != '}')
        throw "not an identifier";
    ACFGuid guid{
        hex(1, 8), static_cast<uint16_t>(hex(10, 4)), static_cast<uint16_t>(hex(15, 4)), {}};
    constexpr std::size_t byteStarts[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (std::size_t i = 0; i < 8; ++i)
        guid.data4[i] = static_cast<uint8_t>(hex(byteStarts[i], 2));
    return guid;
}

/** One numbered entry of a host interface, called with the interface pointer first, as the
    host's table expects. */
template <int Entry, typename Signature> struct HostEntry;

template <int Entry, typename R, typename... Args> struct HostEntry<Entry, R(Args...)>
{
    static constexpr int number = Entry;

    static R call(IACFUnknown* object, Args... args)
    {
        using Function = R (*)(IACFUnknown*, Args...);
        // The object's first field points to its table; read both without assuming C++ types.
        const char* table = nullptr;
        std::memcpy(&table, static_cast<const void*>(object), sizeof table);
        Function function = nullptr;
        std::memcpy(&function, table + Entry * sizeof(Function), sizeof function);
        return function(object, args...);
    }
};

namespace ACFHost
{
namespace Unknown
{
using QueryInterface = HostEntry<0, ACFResult(const ACFGuid* iid, void** out)>;
using AddRef = HostEntry<1, uint32_t()>;
using Release = HostEntry<2, uint32_t()>;
} // namespace Unknown

/** Asked of the host object; creates the host's components. */
namespace ComponentFactory
{
inline constexpr ACFGuid kIID = acfGuid("{382B6A96-7FD0-11D6-BCFE-00306542A024}");
/** The created interface arrives with one reference. */
using CreateComponent = HostEntry<3, ACFResult(const ACFGuid& componentID, IACFUnknown* outer,
                                               const ACFGuid& iid, void** out)>;
} // namespace ComponentFactory

/** Asked of the collection at the end of registration and handed to the host. */
inline constexpr ACFGuid kPluginDefinitionIID = acfGuid("{00EEF015-7FD0-11D6-8485-00306542A024}");

namespace Collection
{
inline constexpr ACFGuid kComponentID = acfGuid("{89882C2D-77BC-42EF-707B-7981B7BD0CCA}");
inline constexpr ACFGuid kV1 = acfGuid("{96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA}");
using AddEffect = HostEntry<7, ACFResult(const char* effectID, IACFUnknown* descriptor)>;
using SetManufacturerName = HostEntry<8, ACFResult(const char* name)>;
using AddPackageName = HostEntry<9, ACFResult(const char* name)>;
using SetPackageVersion = HostEntry<10, ACFResult(uint32_t version)>;
using SetProperties = HostEntry<11, ACFResult(IACFUnknown* properties)>;
} // namespace Collection

namespace EffectDescriptor
{
inline constexpr ACFGuid kComponentID = acfGuid("{89872C2D-75BC-423F-401B-F9A1BAAD0CCA}");
inline constexpr ACFGuid kV1 = acfGuid("{96D42C2D-EBBC-41EF-D1CB-499442E40FDA}");
inline constexpr ACFGuid kV2 = acfGuid("{41ECCC52-416B-4072-84BD-40B05210A74C}");
using AddComponent = HostEntry<3, ACFResult(IACFUnknown* component)>;
using AddName = HostEntry<4, ACFResult(const char* name)>;
using AddCategory = HostEntry<5, ACFResult(uint32_t category)>;
using AddCategoryBypassParameter =
    HostEntry<6, ACFResult(uint32_t category, AAX_CParamID parameter)>;
using AddProcPtr = HostEntry<7, ACFResult(AAX_ProcPtr function, uint32_t procedureID)>;
using SetProperties = HostEntry<8, ACFResult(IACFUnknown* properties)>;
using AddResourceInfo = HostEntry<9, ACFResult(uint32_t resourceType, const char* info)>;
using AddMeterDescription =
    HostEntry<10, ACFResult(uint32_t meterID, const char* name, IACFUnknown* properties)>;
using AddControlMIDINode = HostEntry<11, ACFResult(uint32_t nodeID, uint32_t nodeType,
                                                   const char* name, uint32_t channelMask)>;
} // namespace EffectDescriptor

namespace ComponentDescriptor
{
inline constexpr ACFGuid kComponentID = acfGuid("{94872C3D-95BC-413D-D0DB-D9B12AAD0CCA}");
inline constexpr ACFGuid kV1 = acfGuid("{96E42C2D-E2BC-51EF-61C7-48994AEB0CDA}");
inline constexpr ACFGuid kV2 = acfGuid("{1895259E-AAA9-4F0F-A985-149837B76F89}");
using Clear = HostEntry<3, ACFResult()>;
using Entry4 = HostEntry<4, ACFResult(int32_t, int32_t)>;
using AddAudioIn = HostEntry<5, ACFResult(uint32_t field)>;
using AddAudioOut = HostEntry<6, ACFResult(uint32_t field)>;
using AddAudioBufferLength = HostEntry<7, ACFResult(uint32_t field)>;
using AddSampleRate = HostEntry<8, ACFResult(uint32_t field)>;
using AddClock = HostEntry<9, ACFResult(uint32_t field)>;
using AddSideChainIn = HostEntry<10, ACFResult(uint32_t field)>;
using AddDataInPort = HostEntry<11, ACFResult(uint32_t field, uint32_t packetSize, int32_t third)>;
using AddAuxOutputStem =
    HostEntry<12, ACFResult(uint32_t field, int32_t stemFormat, const char* name)>;
using AddPrivateData = HostEntry<13, ACFResult(uint32_t field, uint32_t size, int32_t options)>;
using Entry14 = HostEntry<14, ACFResult(int32_t, int32_t)>;
using AddMIDINode = HostEntry<15, ACFResult(uint32_t field, int32_t nodeType, const char* name,
                                            uint32_t channelMask)>;
using AddProcessProc_Native =
    HostEntry<16, ACFResult(AAX_ProcPtr process, IACFUnknown* properties, void*, void*, void*)>;
using AddProcessProc_TI =
    HostEntry<17, ACFResult(void*, void*, IACFUnknown* properties, void*, void*)>;
using Entry18 = HostEntry<18, ACFResult(int32_t, void*, uint32_t)>;
using Entry19 = HostEntry<19, ACFResult(int32_t, int32_t)>;
} // namespace ComponentDescriptor

namespace PropertyMap
{
inline constexpr ACFGuid kComponentID = acfGuid("{A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA}");
inline constexpr ACFGuid kV1 = acfGuid("{96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE}");
inline constexpr ACFGuid kV2 = acfGuid("{7177DF80-7C9C-11E2-B92A-0800200C9A66}");
/** Answers a host boolean: only its low byte counts. */
using GetProperty = HostEntry<3, int32_t(uint32_t id, int32_t* value)>;
using AddProperty = HostEntry<4, ACFResult(uint32_t id, int32_t value)>;
using RemoveProperty = HostEntry<5, ACFResult(uint32_t id)>;
using AddPropertyWithIDArray =
    HostEntry<6, ACFResult(uint32_t id, const void* array, uint32_t count)>;
/** Answers a host boolean, as GetProperty. */
using GetPropertyWithIDArray =
    HostEntry<7, int32_t(uint32_t id, const void** array, uint32_t* count)>;
} // namespace PropertyMap

namespace HostServices
{
inline constexpr ACFGuid kComponentID = acfGuid("{88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA}");
inline constexpr ACFGuid kV1 = acfGuid("{96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA}");
using HandleAssertFailure =
    HostEntry<3, ACFResult(const char* file, int32_t line, const char* note)>;
using Trace = HostEntry<4, ACFResult(int32_t priority, const char* message)>;
} // namespace HostServices

namespace Controller
{
inline constexpr ACFGuid kV1 = acfGuid("{9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E}");
inline constexpr ACFGuid kV2 = acfGuid("{4C59AA0E-D7C0-4205-8B6C-32468D42D202}");
using GetEffectID = HostEntry<3, ACFResult(AAX_IString* effectID)>;
using GetSampleRate = HostEntry<4, ACFResult(float* sampleRate)>;
using GetInputStemFormat = HostEntry<5, ACFResult(int32_t* stemFormat)>;
using GetOutputStemFormat = HostEntry<6, ACFResult(int32_t* stemFormat)>;
using GetSignalLatency = HostEntry<7, ACFResult(int32_t* samples)>;
using GetCycleCount = HostEntry<8, ACFResult(uint32_t propertyID, int32_t* count)>;
using GetTODLocation = HostEntry<9, ACFResult(int64_t* location)>;
using SetSignalLatency = HostEntry<10, ACFResult(int32_t samples)>;
using SetCycleCount = HostEntry<11, ACFResult(uint32_t* ids, int32_t* values, int32_t count)>;
using PostPacket = HostEntry<12, ACFResult(uint32_t field, const void* payload, uint32_t size)>;
using Entry13 = HostEntry<13, ACFResult(uint32_t, void*)>;
using Entry14 = HostEntry<14, ACFResult(uint32_t, void*)>;
using Entry15 = HostEntry<15, ACFResult(uint32_t)>;
using Entry16 = HostEntry<16, ACFResult(uint32_t, void*)>;
using Entry17 = HostEntry<17, ACFResult(uint32_t)>;
using Entry18 = HostEntry<18, ACFResult(void*)>;
using Entry19 = HostEntry<19, ACFResult(void*, void*)>;
using SendNotification =
    HostEntry<20, ACFResult(uint32_t notificationType, const void* data, uint32_t size)>;
using Entry21 = HostEntry<21, ACFResult(void*)>;
using Entry22 = HostEntry<22, ACFResult(int64_t*)>;
using Entry23 = HostEntry<23, ACFResult(void*)>;
} // namespace Controller

namespace Automation
{
inline constexpr ACFGuid kV1 = acfGuid("{9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E}");
using RegisterParameter = HostEntry<3, ACFResult(AAX_CParamID)>;
using UnregisterParameter = HostEntry<4, ACFResult(AAX_CParamID)>;
using PostSetValueRequest = HostEntry<5, ACFResult(AAX_CParamID, double normalizedValue)>;
using PostCurrentValue = HostEntry<6, ACFResult(AAX_CParamID, double normalizedValue)>;
using PostTouchRequest = HostEntry<7, ACFResult(AAX_CParamID)>;
using PostReleaseRequest = HostEntry<8, ACFResult(AAX_CParamID)>;
using GetTouchState = HostEntry<9, ACFResult(AAX_CParamID, bool* touched)>;
} // namespace Automation

namespace Transport
{
inline constexpr ACFGuid kV1 = acfGuid("{5CEE4EF4-6337-4359-B63B-FE58DC36543A}");
inline constexpr ACFGuid kV2 = acfGuid("{203CBD9F-982C-4FE6-A827-07480257AEC3}");
using GetCurrentTempo = HostEntry<3, ACFResult(double* beatsPerMinute)>;
using GetCurrentMeter = HostEntry<4, ACFResult(int32_t* numerator, int32_t* denominator)>;
using IsTransportPlaying = HostEntry<5, ACFResult(bool* playing)>;
using GetCurrentTickPosition = HostEntry<6, ACFResult(int64_t* ticks)>;
using GetCurrentLoopPosition =
    HostEntry<7, ACFResult(bool* looping, int64_t* startTicks, int64_t* endTicks)>;
using GetCurrentNativeSampleLocation = HostEntry<8, ACFResult(int64_t* samples)>;
using GetCustomTickPosition = HostEntry<9, ACFResult(int64_t* ticks, int64_t samples)>;
using GetBarBeatPosition =
    HostEntry<10, ACFResult(int32_t* bars, int32_t* beats, int64_t* ticks, int64_t samples)>;
using GetTicksPerQuarter = HostEntry<11, ACFResult(uint32_t* ticks)>;
using GetCurrentTicksPerBeat = HostEntry<12, ACFResult(uint32_t* ticks)>;
using GetTimelineSelectionStartPosition = HostEntry<13, ACFResult(int64_t* samples)>;
using GetTimeCodeInfo = HostEntry<14, ACFResult(int32_t* frameRate, int32_t* offset)>;
using GetFeetFramesInfo = HostEntry<15, ACFResult(int32_t* rate, int64_t* offset)>;
using IsMetronomeEnabled = HostEntry<16, ACFResult(int32_t* enabled)>;
} // namespace Transport

namespace ViewContainer
{
inline constexpr ACFGuid kV1 = acfGuid("{22DA0BBC-D550-4D5E-8CC6-734483B8837F}");
using GetType = HostEntry<3, int32_t()>;
using GetPtr = HostEntry<4, void*()>;
using GetModifiers = HostEntry<5, ACFResult(uint32_t* modifiers)>;
using SetViewSize = HostEntry<6, ACFResult(const AAX_ViewSize& size)>;
using HandleParameterMouseDown = HostEntry<7, ACFResult(AAX_CParamID, uint32_t modifiers)>;
using HandleParameterMouseDrag = HostEntry<8, ACFResult(AAX_CParamID, uint32_t modifiers)>;
using HandleParameterMouseUp = HostEntry<9, ACFResult(AAX_CParamID, uint32_t modifiers)>;
} // namespace ViewContainer
} // namespace ACFHost
