// Turns parameter updates into packets for the real-time algorithm: handlers registered per
// parameter fill the packets of their fields, and every dirty packet is posted to the host when
// it asks for coefficients.
#pragma once

#include "hosts/aax/packets/AAX_CMutex.h"
#include "hosts/aax/packets/AAX_CPacket.h"
#include "hosts/aax/packets/AAX_IPacketHandler.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

class AAX_IController;
class AAX_IEffectParameters;

/** Registration, marking and dispatch may come from different host threads: they run under the
    dispatcher's lock. A handler may call back into the dispatcher on the dispatching thread. */
class AAX_CPacketDispatcher
{
public:
    AAX_CPacketDispatcher() = default;
    ~AAX_CPacketDispatcher();

    AAX_CPacketDispatcher(const AAX_CPacketDispatcher&) = delete;
    AAX_CPacketDispatcher& operator=(const AAX_CPacketDispatcher&) = delete;

    /** Where packets go and where parameters are found; either may be null. Takes no lock: not
        to run alongside the other operations. */
    void Initialize(AAX_IController* controller, AAX_IEffectParameters* effectParameters);

    /** Fills the field's packet (one per field, shared by every identifier registered on it)
        with a copy of the handler whenever the identifier is marked dirty; the packet is dirty
        after registration. A negative field gets no packet. 0. */
    AAX_Result RegisterPacket(AAX_CParamID identifier, int32_t fieldIndex,
                              const AAX_IPacketHandler& handler);
    /** Marks every packet registered for the identifier. 0. */
    AAX_Result SetDirty(AAX_CParamID identifier, bool dirty);
    /** Fills and posts each dirty packet once, in order of identifiers, with the size its
        handler gave it. Answers the first failing post's code (that packet goes out again next
        time), or -20004 without a controller (nothing posted, nothing cleared), else 0. A
        failing handler leaves its packet clean and unposted. Allocates nothing. */
    AAX_Result Dispatch();

    /** The standard handler: the parameter's value as a 4-byte bool (0 or 1), float or int32,
        or an 8-byte double, in the first of those types the parameter answers. -20004 when the
        parameter is missing or answers none. */
    AAX_Result GenerateSingleValuePacket(AAX_CParamID identifier, AAX_CPacket& packet);

private:
    struct Entry
    {
        AAX_CPacket* packet; // null for a negative field
        std::unique_ptr<AAX_IPacketHandler> handler;
    };

    std::map<int32_t, std::unique_ptr<AAX_CPacket>> mPackets;
    std::multimap<std::string, Entry, std::less<>> mHandlers;
    AAX_IController* mController = nullptr;
    AAX_IEffectParameters* mEffectParameters = nullptr;
    AAX_CMutex mLock;
};
