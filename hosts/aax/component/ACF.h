// The host's component model as the library sees it: 16-byte identifiers, result codes and the
// root interface. Host objects are reached only through the entry numbers of
// component/HostInterfaces.h; IACFUnknown as a C++ class is implemented by the library's own
// component objects.
#pragma once

#include <cstdint>
#include <cstring>

using ACFResult = int32_t;

/** A 16-byte interface or component identifier in its usual in-memory layout. */
struct ACFGuid
{
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

/** Field by field; the eight trailing bytes as two 32-bit words. */
inline bool operator==(const ACFGuid& a, const ACFGuid& b)
{
    uint32_t wordsA[2];
    uint32_t wordsB[2];
    std::memcpy(wordsA, a.data4, sizeof wordsA);
    std::memcpy(wordsB, b.data4, sizeof wordsB);
    return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
           wordsA[0] == wordsB[0] && wordsA[1] == wordsB[1];
}

/** Whether an identifier the host passed, which may be null, is this one. */
inline bool isGuid(const ACFGuid* iid, const ACFGuid& known)
{
    return iid != nullptr && *iid == known;
}

inline constexpr ACFGuid IID_IACFUnknown{
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

/** The root interface: entries 0, 1 and 2 of every table in the host's component model. */
class IACFUnknown
{
public:
    /** On success (0) the out pointer holds a new reference. The identifier is taken by address,
        so that a null one from a host can be told and refused. */
    virtual ACFResult QueryInterface(const ACFGuid* iid, void** out) = 0;
    /** Answers the new reference count. */
    virtual uint32_t AddRef() = 0;
    /** Answers the new reference count. */
    virtual uint32_t Release() = 0;

protected:
    // Objects are destroyed by their last Release, never through this interface.
    ~IACFUnknown() = default;
};
