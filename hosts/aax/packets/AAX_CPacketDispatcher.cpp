#include "hosts/aax/packets/AAX_CPacketDispatcher.h"

#include "hosts/aax/effect/AAX_IEffectParameters.h"
#include "hosts/aax/parameters/AAX_IParameter.h"
#include "hosts/aax/proxies/AAX_IController.h"

#include <cstring>
#include <string_view>

AAX_CPacketDispatcher::~AAX_CPacketDispatcher()
{
    ScopedMutexLock lock(mLock);
    mHandlers.clear();
    mPackets.clear();
}

void AAX_CPacketDispatcher::Initialize(AAX_IController* controller,
                                       AAX_IEffectParameters* effectParameters)
{
    mController = controller;
    mEffectParameters = effectParameters;
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket(AAX_CParamID identifier, int32_t fieldIndex,
                                                 const AAX_IPacketHandler& handler)
{
    ScopedMutexLock lock(mLock);
    AAX_CPacket* packet = nullptr;
    if (fieldIndex >= 0)
    {
        auto& slot = mPackets[fieldIndex];
        if (slot == nullptr)
            slot = std::make_unique<AAX_CPacket>(fieldIndex);
        packet = slot.get();
        // A field registered again (an effect initialised anew) carries its new parameter's
        // value with the next dispatch, not the stale one the algorithm holds.
        packet->SetDirty(true);
    }
    mHandlers.emplace(identifier != nullptr ? identifier : "",
                      Entry{packet, std::unique_ptr<AAX_IPacketHandler>(handler.Clone())});
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::SetDirty(AAX_CParamID identifier, bool dirty)
{
    if (identifier == nullptr)
        return AAX_SUCCESS;
    ScopedMutexLock lock(mLock);
    const auto [first, last] = mHandlers.equal_range(std::string_view(identifier));
    for (auto entry = first; entry != last; ++entry)
        if (entry->second.packet != nullptr)
            entry->second.packet->SetDirty(dirty);
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::Dispatch()
{
    ScopedMutexLock lock(mLock);
    if (mController == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    AAX_Result result = AAX_SUCCESS;
    for (auto& [identifier, entry] : mHandlers)
    {
        AAX_CPacket* const packet = entry.packet;
        if (packet == nullptr || !packet->IsDirty())
            continue;
        if (entry.handler->Call(identifier.c_str(), *packet) == AAX_SUCCESS)
        {
            const AAX_Result posted = mController->PostPacket(
                static_cast<uint32_t>(packet->GetID()), packet->GetData(), packet->GetDataSize());
            if (posted != AAX_SUCCESS && result == AAX_SUCCESS)
                result = posted;
            packet->mPostFailed = posted != AAX_SUCCESS;
        }
        // Clean whatever the handler answered, so the other entries of a shared packet skip it.
        packet->SetDirty(false);
    }
    // A packet the host refused goes out again with the next dispatch.
    for (auto& [field, packet] : mPackets)
    {
        if (packet->mPostFailed)
            packet->SetDirty(true);
        packet->mPostFailed = false;
    }
    return result;
}

AAX_Result AAX_CPacketDispatcher::GenerateSingleValuePacket(AAX_CParamID identifier,
                                                            AAX_CPacket& packet)
{
    AAX_IParameter* parameter = nullptr;
    if (mEffectParameters == nullptr ||
        mEffectParameters->GetParameter(identifier, &parameter) != AAX_SUCCESS ||
        parameter == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    // The packet carries the value in the host's byte order.
    auto put = [&packet](const auto& value)
    {
        std::memcpy(packet.ResizeData(sizeof value), &value, sizeof value);
        return AAX_SUCCESS;
    };
    bool flag = false;
    float single = 0.0f;
    int32_t integer = 0;
    double wide = 0.0;
    if (parameter->GetValueAsBool(&flag))
        return put(static_cast<int32_t>(flag ? 1 : 0));
    if (parameter->GetValueAsFloat(&single))
        return put(single);
    if (parameter->GetValueAsInt32(&integer))
        return put(integer);
    if (parameter->GetValueAsDouble(&wide))
        return put(wide);
    return AAX_ERROR_NULL_OBJECT;
}
