// The host's chunk record: a header in the host's byte order, followed by the data area.
#pragma once

#include "hosts/aax/component/HostInterfaces.h"

#include <cstdint>

/** The host allocates the header and `fSize` bytes of data after it; the data is reached
    through Data, never as a member, so a record is valid whatever its data size. */
struct AAX_SPlugInChunk
{
    int32_t fSize; // bytes in the data area
    int32_t fVersion;
    AAX_CTypeID fManufacturerID;
    AAX_CTypeID fProductID;
    AAX_CTypeID fPlugInID;
    AAX_CTypeID fChunkID;
    char fName[32]; // zero-padded, at most 31 characters

    uint8_t* Data() { return reinterpret_cast<uint8_t*>(this) + sizeof(AAX_SPlugInChunk); }
    const uint8_t* Data() const
    {
        return reinterpret_cast<const uint8_t*>(this) + sizeof(AAX_SPlugInChunk);
    }
};

static_assert(sizeof(AAX_SPlugInChunk) == 56, "the data area starts at byte 56");
