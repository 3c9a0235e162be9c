#include "hosts/aax/text/AAX_CString.h"

#include "hosts/aax/text/DecimalText.h"

#include <algorithm>
#include <cstring>

namespace
{
const char* orEmpty(const char* text)
{
    return text != nullptr ? text : "";
}
} // namespace

AAX_CString::AAX_CString(const char* text) : mText(orEmpty(text)) {}

AAX_CString::AAX_CString(const AAX_IString& other) : AAX_IString(), mText(orEmpty(other.Get())) {}

uint32_t AAX_CString::Length() const
{
    return static_cast<uint32_t>(mText.size());
}

uint32_t AAX_CString::MaxLength() const
{
    return 0xFFFFFFFEu;
}

const char* AAX_CString::Get() const
{
    return mText.c_str();
}

void AAX_CString::Set(const char* text)
{
    mText = orEmpty(text);
}

AAX_CString& AAX_CString::operator=(const AAX_IString& other)
{
    // Reached through the interface only, so strings of the host's making work.
    Set(other.Get());
    return *this;
}

AAX_CString& AAX_CString::operator=(const char* text)
{
    Set(text);
    return *this;
}

AAX_CString& AAX_CString::operator=(const AAX_CString& other)
{
    mText = other.mText;
    return *this;
}

AAX_CString& AAX_CString::operator=(AAX_CString&& other) noexcept
{
    mText = std::move(other.mText);
    return *this;
}

void AAX_CString::Clear()
{
    mText.clear();
}

AAX_CString& AAX_CString::Erase(uint32_t start, uint32_t count)
{
    if (start < mText.size())
        mText.erase(start, count);
    return *this;
}

AAX_CString& AAX_CString::AppendNumber(double value, int32_t precision)
{
    appendFixed(mText, value, precision);
    return *this;
}

bool AAX_CString::ToDouble(double* result) const
{
    double value = 0.0;
    const bool read = parseDecimalPrefix(mText.c_str(), value);
    if (result != nullptr)
        *result = value;
    return read && result != nullptr;
}

void AAX_CString::SubString(uint32_t start, uint32_t count, AAX_IString* output) const
{
    if (output == nullptr)
        return;
    const std::size_t first = std::min<std::size_t>(start, mText.size());
    output->Set(mText.substr(first, count).c_str());
}

bool AAX_CString::operator==(const AAX_CString& other) const
{
    return std::strcmp(mText.c_str(), other.mText.c_str()) == 0;
}
