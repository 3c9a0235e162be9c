// The library's text: a byte string with value semantics.
#pragma once

#include "hosts/aax/text/AAX_IString.h"

#include <string>

/** Bytes, no encoding: lengths count bytes. One thread at a time per object. A null text
    reads as "" wherever one is taken, and positions past the end are clamped to the end, so
    nothing a host hands over can make an operation throw. */
class AAX_CString : public AAX_IString
{
public:
    AAX_CString() = default;
    AAX_CString(const char* text);
    AAX_CString(const AAX_CString& other) = default;
    AAX_CString(AAX_CString&& other) noexcept = default;
    /** Copies the text that the other object's Get answers. */
    explicit AAX_CString(const AAX_IString& other);
    ~AAX_CString() override = default;

    uint32_t Length() const override;
    /** 4294967294 always; no operation checks a length against it. */
    uint32_t MaxLength() const override;
    /** Valid until the next change or the end of the object. */
    const char* Get() const override;
    void Set(const char* text) override;
    AAX_CString& operator=(const AAX_IString& other) override;
    AAX_CString& operator=(const char* text) override;
    AAX_CString& operator=(const AAX_CString& other);
    AAX_CString& operator=(AAX_CString&& other) noexcept;

    void Clear();
    /** Removes up to `count` bytes from `start` on. */
    AAX_CString& Erase(uint32_t start, uint32_t count);
    /** Appends the value in fixed notation with `precision` digits after the full stop, the
        same in every locale. */
    AAX_CString& AppendNumber(double value, int32_t precision);
    /** Reads the leading decimal number as a stream extraction does; false, with 0, when there
        is none or its exponent has no digits ("1e"). */
    bool ToDouble(double* result) const;
    /** Hands up to `count` bytes from `start` on to the output's Set. */
    void SubString(uint32_t start, uint32_t count, AAX_IString* output) const;

    /** Compares up to the first NUL of either text. */
    bool operator==(const AAX_CString& other) const;
    bool operator!=(const AAX_CString& other) const { return !(*this == other); }
    /** The index must be below Length. */
    char& operator[](uint32_t index) { return mText[index]; }
    const char& operator[](uint32_t index) const { return mText[index]; }

private:
    std::string mText;
};
