#include "hosts/audio_unit/AUBase.h"

#include "hosts/audio_unit/AUInputElement.h"
#include "hosts/audio_unit/AUStatus.h"

AUBase::AUBase(AudioComponentInstance inInstance, UInt32 numInputElements, UInt32 numOutputElements,
               UInt32 numGroupElements)
    : ComponentBase(inInstance), mInitNumInputEls(numInputElements),
      mInitNumOutputEls(numOutputElements), mInitNumGroupEls(numGroupElements)
{
    Globals().Initialize(this, kAudioUnitScope_Global, 1);
}

AUBase::~AUBase() = default;

std::unique_ptr<AUElement> AUBase::CreateElement(AudioUnitScope scope, AudioUnitElement)
{
    switch (scope)
    {
    case kAudioUnitScope_Global:
    case kAudioUnitScope_Group:
    case kAudioUnitScope_Part:
        return std::make_unique<AUElement>(*this);
    case kAudioUnitScope_Input:
        return std::make_unique<AUInputElement>(*this);
    case kAudioUnitScope_Output:
        return std::make_unique<AUOutputElement>(*this);
    default:
        ThrowStatus(kAudioUnitErr_InvalidScope);
    }
}

void AUBase::CreateElements()
{
    if (mElementsCreated)
        return;
    Inputs().Initialize(this, kAudioUnitScope_Input, mInitNumInputEls);
    Outputs().Initialize(this, kAudioUnitScope_Output, mInitNumOutputEls);
    Groups().Initialize(this, kAudioUnitScope_Group, mInitNumGroupEls);
    CreateExtendedElements();
    mElementsCreated = true;
}

AUScope& AUBase::GetScope(AudioUnitScope inScope)
{
    if (inScope <= kAudioUnitScope_Group)
        return mScopes[inScope];
    AUScope* extended = GetScopeExtended(inScope);
    if (extended == nullptr)
        ThrowStatus(kAudioUnitErr_InvalidScope);
    return *extended;
}

AUElement* AUBase::GetElement(AudioUnitScope inScope, AudioUnitElement inElement)
{
    return GetScope(inScope).SafeGetElement(inElement);
}

AUIOElement* AUBase::GetIOElement(AudioUnitScope inScope, AudioUnitElement inElement)
{
    return GetScope(inScope).GetIOElement(inElement);
}

AUInputElement* AUBase::GetInput(AudioUnitElement inElement)
{
    auto* input = dynamic_cast<AUInputElement*>(Inputs().SafeGetElement(inElement));
    if (input == nullptr)
        ThrowStatus(kAudioUnitErr_InvalidElement);
    return input;
}

AUOutputElement* AUBase::GetOutput(AudioUnitElement inElement)
{
    auto* output = dynamic_cast<AUOutputElement*>(Outputs().SafeGetElement(inElement));
    if (output == nullptr)
        ThrowStatus(kAudioUnitErr_InvalidElement);
    return output;
}
