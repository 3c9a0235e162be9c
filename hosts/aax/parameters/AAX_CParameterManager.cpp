#include "hosts/aax/parameters/AAX_CParameterManager.h"

#include <cstring>

AAX_CParameterManager::~AAX_CParameterManager()
{
    RemoveAllParameters();
}

void AAX_CParameterManager::Initialize(AAX_IAutomationDelegate* automationDelegate)
{
    mAutomationDelegate = automationDelegate;
}

int32_t AAX_CParameterManager::NumParameters() const
{
    return static_cast<int32_t>(mParameters.size());
}

void AAX_CParameterManager::AddParameter(AAX_IParameter* parameter)
{
    if (parameter == nullptr || GetParameterByID(parameter->Identifier()) != nullptr)
        return;
    // Room first, so that a failed allocation leaves the parameter with the caller, unchanged.
    mParameters.reserve(mParameters.size() + 1);
    mParametersByID.emplace(parameter->Identifier(), parameter);
    parameter->SetAutomationDelegate(mAutomationDelegate);
    mParameters.push_back(parameter);
}

void AAX_CParameterManager::RemoveAllParameters()
{
    for (auto* parameter : mParameters)
        delete parameter;
    mParameters.clear();
    mParametersByID.clear();
}

AAX_IParameter* AAX_CParameterManager::GetParameterByID(AAX_CParamID identifier)
{
    if (identifier == nullptr)
        return nullptr;
    const auto found = mParametersByID.find(std::string_view(identifier));
    return found != mParametersByID.end() ? found->second : nullptr;
}

const AAX_IParameter* AAX_CParameterManager::GetParameterByID(AAX_CParamID identifier) const
{
    return const_cast<AAX_CParameterManager*>(this)->GetParameterByID(identifier);
}

int32_t AAX_CParameterManager::GetParameterIndex(AAX_CParamID identifier) const
{
    if (identifier == nullptr)
        return -1;
    for (std::size_t i = 0; i < mParameters.size(); ++i)
        if (std::strcmp(mParameters[i]->Identifier(), identifier) == 0)
            return static_cast<int32_t>(i);
    return -1;
}

AAX_IParameter* AAX_CParameterManager::GetParameter(int32_t index)
{
    if (index < 0 || index >= NumParameters())
        return nullptr;
    return mParameters[static_cast<std::size_t>(index)];
}

const AAX_IParameter* AAX_CParameterManager::GetParameter(int32_t index) const
{
    return const_cast<AAX_CParameterManager*>(this)->GetParameter(index);
}
