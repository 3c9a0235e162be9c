// A packet handler that calls one member function of a worker it does not own.
#pragma once

#include "hosts/aax/packets/AAX_IPacketHandler.h"

template <typename Worker> class AAX_CPacketHandler : public AAX_IPacketHandler
{
public:
    using PacketCallback = AAX_Result (Worker::*)(AAX_CPacket& packet);
    using IdentifierCallback = AAX_Result (Worker::*)(AAX_CParamID identifier, AAX_CPacket& packet);

    AAX_CPacketHandler(Worker* worker, PacketCallback callback)
        : mWorker(worker), mPacketCallback(callback)
    {
    }
    AAX_CPacketHandler(Worker* worker, IdentifierCallback callback)
        : mWorker(worker), mIdentifierCallback(callback)
    {
    }

    AAX_IPacketHandler* Clone() const override { return new AAX_CPacketHandler(*this); }

    /** The identifier callback if set, else the packet callback; -20004 without either, or
        without a worker. */
    AAX_Result Call(AAX_CParamID identifier, AAX_CPacket& packet) const override
    {
        if (mWorker != nullptr && mIdentifierCallback != nullptr)
            return (mWorker->*mIdentifierCallback)(identifier, packet);
        if (mWorker != nullptr && mPacketCallback != nullptr)
            return (mWorker->*mPacketCallback)(packet);
        return AAX_ERROR_NULL_OBJECT;
    }

private:
    Worker* mWorker;
    PacketCallback mPacketCallback = nullptr;
    IdentifierCallback mIdentifierCallback = nullptr;
};
