// The parameters of one effect: owned, in the order the host sees them, found by identifier.
#pragma once

#include "hosts/aax/parameters/AAX_IParameter.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

/** Filled while the effect initialises and read afterwards from the host's threads; adding and
    removing must not overlap with lookups. Lookups allocate nothing. */
class AAX_CParameterManager
{
public:
    AAX_CParameterManager() = default;
    /** Deletes every parameter still held. */
    ~AAX_CParameterManager();

    AAX_CParameterManager(const AAX_CParameterManager&) = delete;
    AAX_CParameterManager& operator=(const AAX_CParameterManager&) = delete;

    /** The delegate every parameter added from now on receives (null clears it). */
    void Initialize(AAX_IAutomationDelegate* automationDelegate);
    int32_t NumParameters() const;
    /** Takes ownership and hands the parameter the delegate. A null parameter, or one whose
        identifier is already held, is ignored: it stays the caller's. */
    void AddParameter(AAX_IParameter* parameter);
    /** Deletes every parameter in order; the delegate stays. */
    void RemoveAllParameters();

    /** Null for a null or unknown identifier. */
    AAX_IParameter* GetParameterByID(AAX_CParamID identifier);
    const AAX_IParameter* GetParameterByID(AAX_CParamID identifier) const;
    /** The position in order of addition; -1 for a null or unknown identifier. */
    int32_t GetParameterIndex(AAX_CParamID identifier) const;
    /** Null outside 0 to NumParameters - 1. */
    AAX_IParameter* GetParameter(int32_t index);
    const AAX_IParameter* GetParameter(int32_t index) const;

private:
    AAX_IAutomationDelegate* mAutomationDelegate = nullptr;
    std::vector<AAX_IParameter*> mParameters;
    std::map<std::string, AAX_IParameter*, std::less<>> mParametersByID;
};
