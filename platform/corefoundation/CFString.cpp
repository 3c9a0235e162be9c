// Strings hold their text as UTF-8 bytes.
#include "platform/corefoundation/CFObject.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace veridane::cf
{
namespace
{
class CFStringObject final : public CFObject
{
public:
    CFStringObject(std::string text, bool immortal = false)
        : CFObject(kStringTypeId, immortal), mText(std::move(text))
    {
    }

    bool EqualTo(const CFObject& other) const override
    {
        return mText == static_cast<const CFStringObject&>(other).mText;
    }

    const std::string& Text() const { return mText; }

private:
    const std::string mText;
};

bool IsAscii(const std::string& text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) > 0x7F)
            return false;
    return true;
}

bool IsKnownEncoding(CFStringEncoding encoding)
{
    return encoding == kCFStringEncodingASCII || encoding == kCFStringEncodingUTF8;
}
} // namespace
} // namespace veridane::cf

using namespace veridane::cf;

CFTypeID CFStringGetTypeID(void)
{
    return kStringTypeId;
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* text, CFStringEncoding encoding)
{
    if (text == nullptr || !IsKnownEncoding(encoding))
        return nullptr;
    return CreateOrNull(
        [&]() -> CFStringRef
        {
            std::string bytes(text);
            if (encoding == kCFStringEncodingASCII && !IsAscii(bytes))
                return nullptr;
            return RefOf<CFStringRef>(new CFStringObject(std::move(bytes)));
        });
}

Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding)
{
    const auto* object = As<const CFStringObject>(string, kStringTypeId);
    if (object == nullptr || buffer == nullptr || bufferSize <= 0 || !IsKnownEncoding(encoding))
        return false;
    const std::string& text = object->Text();
    if (encoding == kCFStringEncodingASCII && !IsAscii(text))
        return false;
    if (static_cast<CFIndex>(text.size()) >= bufferSize)
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

CFStringRef VeridaneCFConstantString(const char* text)
{
    if (text == nullptr)
        return nullptr;
    // Released when the library that holds the table is unloaded (a plug-in bundle may be
    // loaded and unloaded many times), or at exit, after the last user of a constant.
    static std::map<std::string, std::unique_ptr<const CFStringObject>> constants;
    static std::mutex lock;

    const std::lock_guard<std::mutex> guard(lock);
    auto& entry = constants[text];
    if (entry == nullptr)
        entry = std::make_unique<const CFStringObject>(text, true);
    return RefOf<CFStringRef>(entry.get());
}
