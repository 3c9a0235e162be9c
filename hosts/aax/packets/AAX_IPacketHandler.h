// Fills a packet from a parameter when the dispatcher sends it.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"
#include "hosts/aax/component/HostInterfaces.h"

class AAX_CPacket;

class AAX_IPacketHandler
{
public:
    virtual ~AAX_IPacketHandler() = default;
    /** A new copy, owned by the caller. */
    virtual AAX_IPacketHandler* Clone() const = 0;
    virtual AAX_Result Call(AAX_CParamID identifier, AAX_CPacket& packet) const = 0;
};
