// The text interface that crosses between the plug-in and the host. Objects of the host's making
// implement it too, so its operations and their order are fixed.
#pragma once

#include <cstdint>

class AAX_IString
{
public:
    virtual ~AAX_IString() = default;
    /** Bytes of the text. */
    virtual uint32_t Length() const = 0;
    virtual uint32_t MaxLength() const = 0;
    /** The text, NUL-terminated. */
    virtual const char* Get() const = 0;
    virtual void Set(const char* text) = 0;
    /** Copies the text the other object's Get answers. */
    virtual AAX_IString& operator=(const AAX_IString& other) = 0;
    /** Same as Set. */
    virtual AAX_IString& operator=(const char* text) = 0;

protected:
    AAX_IString() = default;
    AAX_IString(const AAX_IString&) = default;
};
