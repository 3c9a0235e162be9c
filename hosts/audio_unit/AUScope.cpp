#include "hosts/audio_unit/AUScope.h"

#include "hosts/audio_unit/AUBase.h"
#include "hosts/audio_unit/AUIOElement.h"
#include "hosts/audio_unit/AUSavedParameters.h"
#include "hosts/audio_unit/AUStatus.h"
#include "hosts/audio_unit/CFAdditions.h"

#include <bit>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace
{
/** Keys are short ASCII texts; each call formats into its own buffer, so instances saving at
    the same time cannot disturb each other. */
constexpr size_t kKeyTextBytes = 32;

CFStringRef CreateDecimalKey(int value)
{
    char text[kKeyTextBytes];
    std::snprintf(text, sizeof text, "%d", value);
    return CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingASCII);
}

/** The element index a key names: decimal digits only, nothing before or after them. */
bool ParseElementIndex(CFTypeRef key, UInt32& index)
{
    if (key == nullptr || CFGetTypeID(key) != CFStringGetTypeID())
        return false;
    char text[kKeyTextBytes];
    if (!CFStringGetCString(static_cast<CFStringRef>(key), text, sizeof text,
                            kCFStringEncodingASCII))
        return false;
    const char* const end = text + std::strlen(text);
    const auto [rest, error] = std::from_chars(text, end, index, 10);
    return error == std::errc() && rest == end;
}
} // namespace

AUScope::~AUScope()
{
    // Elements go in index order.
    for (auto& element : mElements)
        element.reset();
}

void AUScope::Initialize(AUBase* creator, AudioUnitScope scope, UInt32 numElements)
{
    mCreator = creator;
    mScope = scope;
    if (mDelegate != nullptr)
        mDelegate->Initialize(creator, scope, numElements);
    else
        SetNumberOfElements(numElements);
}

void AUScope::SetNumberOfElements(UInt32 numElements)
{
    if (mDelegate != nullptr)
    {
        mDelegate->SetNumberOfElements(numElements);
        return;
    }
    if (numElements > mElements.size())
    {
        // Room first, so that a new element is owned the moment it exists.
        if (mElements.capacity() < numElements)
            mElements.reserve(numElements);
        while (mElements.size() < numElements)
            mElements.push_back(mCreator->CreateElement(mScope, UInt32(mElements.size())));
        return;
    }
    while (mElements.size() > numElements)
        mElements.pop_back();
}

UInt32 AUScope::GetNumberOfElements() const
{
    return mDelegate != nullptr ? mDelegate->GetNumberOfElements() : UInt32(mElements.size());
}

AUElement* AUScope::GetElement(UInt32 elementIndex) const
{
    if (mDelegate != nullptr)
        return mDelegate->GetElement(elementIndex);
    return elementIndex < mElements.size() ? mElements[elementIndex].get() : nullptr;
}

AUElement* AUScope::SafeGetElement(UInt32 elementIndex) const
{
    AUElement* element = GetElement(elementIndex);
    if (element == nullptr)
        ThrowStatus(kAudioUnitErr_InvalidElement);
    return element;
}

AUIOElement* AUScope::GetIOElement(UInt32 elementIndex) const
{
    AUIOElement* ioElement = SafeGetElement(elementIndex)->AsIOElement();
    if (ioElement == nullptr)
        ThrowStatus(kAudioUnitErr_InvalidElement);
    return ioElement;
}

bool AUScope::HasElementWithName() const
{
    for (UInt32 i = 0; i < GetNumberOfElements(); ++i)
        if (AUElement* element = GetElement(i); element != nullptr && element->HasName())
            return true;
    return false;
}

void AUScope::AddElementNamesToDict(CFMutableDictionaryRef inNameDict) const
{
    if (!HasElementWithName())
        return;
    const auto names = OwnCreated(CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    for (UInt32 i = 0; i < GetNumberOfElements(); ++i)
    {
        AUElement* element = GetElement(i);
        if (element == nullptr || !element->HasName())
            continue;
        AddNewKey(names.get(), OwnCreated(CreateDecimalKey(int(i))).get(), element->GetName());
    }
    AddNewKey(inNameDict, OwnCreated(CreateDecimalKey(int(mScope))).get(), names.get());
}

bool AUScope::RestoreElementNames(CFDictionaryRef inNameDict) const
{
    if (inNameDict == nullptr || CFGetTypeID(inNameDict) != CFDictionaryGetTypeID())
        return false;
    const auto count = size_t(CFDictionaryGetCount(inNameDict));
    std::vector<const void*> keys(count);
    std::vector<const void*> values(count);
    CFDictionaryGetKeysAndValues(inNameDict, keys.data(), values.data());

    for (size_t i = 0; i < count; ++i)
    {
        UInt32 index = 0;
        if (!ParseElementIndex(keys[i], index) || index >= GetNumberOfElements())
            continue;
        if (values[i] == nullptr || CFGetTypeID(values[i]) != CFStringGetTypeID())
            continue;
        if (AUElement* element = GetElement(index))
            element->SetName(static_cast<CFStringRef>(values[i]));
    }
    return false;
}

void AUScope::SaveState(CFMutableDataRef data) const
{
    for (UInt32 i = 0; i < GetNumberOfElements(); ++i)
    {
        AUElement* element = GetElement(i);
        if (element == nullptr || element->GetNumberOfParameters() == 0)
            continue;
        AppendBigEndianWords(data, {mScope, i});
        element->SaveState(data);
    }
}

const UInt8* AUScope::RestoreState(const UInt8* state, const UInt8* end) const
{
    constexpr size_t kHeaderBytes = 8;
    constexpr size_t kPairBytes = 8;
    if (state == nullptr || end < state)
        ThrowStatus(kAudioUnitErr_InvalidPropertyValue);
    const size_t available = size_t(end - state);
    if (available < kHeaderBytes)
        ThrowStatus(kAudioUnitErr_InvalidPropertyValue);
    const UInt32 elementIndex = ReadBigEndianWord(state);
    const uint64_t count = ReadBigEndianWord(state + 4);
    if (count > (available - kHeaderBytes) / kPairBytes)
        ThrowStatus(kAudioUnitErr_InvalidPropertyValue);

    const UInt8* pair = state + kHeaderBytes;
    const UInt8* const next = pair + count * kPairBytes;
    if (AUElement* element = GetElement(elementIndex))
        for (; pair != next; pair += kPairBytes)
            element->SetParameter(ReadBigEndianWord(pair),
                                  std::bit_cast<Float32>(ReadBigEndianWord(pair + 4)));
    return next;
}
