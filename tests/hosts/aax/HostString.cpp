#include "tests/hosts/aax/HostString.h"

#include <cstdint>

namespace fakeaax
{
// The slots of the text interface, in order: the destructor pair, Length, MaxLength, Get, Set,
// assignment from another string and assignment from text.
class HostString::Object
{
public:
    explicit Object(std::string initial) : text(std::move(initial)) {}
    virtual ~Object() = default;
    virtual uint32_t length() const { return static_cast<uint32_t>(text.size()); }
    virtual uint32_t maxLength() const { return 255; }
    virtual const char* get() const { return answersNull ? nullptr : text.c_str(); }
    // A null text shows as "(null)", so a test sees that the library passed one.
    virtual void set(const char* newText) { text = newText != nullptr ? newText : "(null)"; }
    // The other string is reached through its own slots, whoever made it.
    virtual Object& assign(const Object& other)
    {
        set(other.get());
        return *this;
    }
    virtual Object& assign(const char* newText)
    {
        set(newText);
        return *this;
    }

    std::string text;
    bool answersNull = false;
};

HostString::HostString(std::string text) : mObject(std::make_unique<Object>(std::move(text))) {}

HostString::~HostString() = default;

void* HostString::asInterface()
{
    return mObject.get();
}

std::string HostString::text() const
{
    return mObject->text;
}

void HostString::answerNull()
{
    mObject->answersNull = true;
}
} // namespace fakeaax
