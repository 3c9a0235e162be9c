// Dictionaries retain their keys and values and find keys by content (CFEqual), so a key string
// made anywhere finds the value stored under an equal one. They are small: a list of entries in
// insertion order, searched in turn.
#include "platform/corefoundation/CFObject.h"
#include "platform/corefoundation/CallBackRecords.h"

#include <utility>
#include <vector>

const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks{1};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks{1};

namespace veridane::cf
{
namespace
{
class CFDictionaryObject final : public CFObject
{
public:
    struct Entry
    {
        CFTypeRef key;
        CFTypeRef value;
    };

    CFDictionaryObject() : CFObject(kDictionaryTypeId) {}

    CFDictionaryObject(const CFDictionaryObject& source)
        : CFObject(kDictionaryTypeId), mEntries(source.mEntries)
    {
        for (const Entry& entry : mEntries)
        {
            CFRetain(entry.key);
            CFRetain(entry.value);
        }
    }

    ~CFDictionaryObject() override
    {
        for (const Entry& entry : mEntries)
        {
            CFRelease(entry.key);
            CFRelease(entry.value);
        }
    }

    Entry* Find(CFTypeRef key)
    {
        for (Entry& entry : mEntries)
            if (CFEqual(entry.key, key))
                return &entry;
        return nullptr;
    }

    void Add(CFTypeRef key, CFTypeRef value)
    {
        mEntries.push_back({key, value});
        CFRetain(key);
        CFRetain(value);
    }

    static void Replace(Entry& entry, CFTypeRef value)
    {
        CFRetain(value);
        CFRelease(entry.value);
        entry.value = value;
    }

    void Remove(Entry& entry)
    {
        const Entry removed = entry;
        mEntries.erase(mEntries.begin() + (&entry - mEntries.data()));
        CFRelease(removed.key);
        CFRelease(removed.value);
    }

    const std::vector<Entry>& Entries() const { return mEntries; }

private:
    std::vector<Entry> mEntries;
};

CFDictionaryObject* DictionaryOf(CFTypeRef ref)
{
    return As<CFDictionaryObject>(ref, kDictionaryTypeId);
}

void Store(CFMutableDictionaryRef dictionary, const void* key, const void* value, bool replace)
{
    auto* object = DictionaryOf(dictionary);
    // Neither keys nor values may be null: the dictionary retains both.
    if (object == nullptr || key == nullptr || value == nullptr)
        return;
    if (auto* entry = object->Find(key))
    {
        if (replace)
            CFDictionaryObject::Replace(*entry, value);
        return;
    }
    try
    {
        object->Add(key, value);
    }
    catch (const std::bad_alloc&)
    {
        // A dictionary that cannot grow is left as it was.
    }
}
} // namespace
} // namespace veridane::cf

using namespace veridane::cf;

CFTypeID CFDictionaryGetTypeID(void)
{
    return kDictionaryTypeId;
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks*,
                                                 const CFDictionaryValueCallBacks*)
{
    if (capacity < 0)
        return nullptr;
    return CreateOrNull([] { return RefOf<CFMutableDictionaryRef>(new CFDictionaryObject()); });
}

CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef, CFIndex capacity,
                                                     CFDictionaryRef dictionary)
{
    const auto* source = DictionaryOf(dictionary);
    if (source == nullptr || capacity < 0)
        return nullptr;
    return CreateOrNull([&]
                        { return RefOf<CFMutableDictionaryRef>(new CFDictionaryObject(*source)); });
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary)
{
    const auto* object = DictionaryOf(dictionary);
    return object != nullptr ? CFIndex(object->Entries().size()) : 0;
}

Boolean CFDictionaryContainsKey(CFDictionaryRef dictionary, const void* key)
{
    auto* object = DictionaryOf(dictionary);
    return object != nullptr && object->Find(key) != nullptr;
}

const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key)
{
    auto* object = DictionaryOf(dictionary);
    if (object == nullptr)
        return nullptr;
    const auto* entry = object->Find(key);
    return entry != nullptr ? entry->value : nullptr;
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef dictionary, const void** keys,
                                  const void** values)
{
    const auto* object = DictionaryOf(dictionary);
    if (object == nullptr)
        return;
    for (const auto& entry : object->Entries())
    {
        if (keys != nullptr)
            *keys++ = entry.key;
        if (values != nullptr)
            *values++ = entry.value;
    }
}

void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key, const void* value)
{
    Store(dictionary, key, value, true);
}

void CFDictionaryAddValue(CFMutableDictionaryRef dictionary, const void* key, const void* value)
{
    Store(dictionary, key, value, false);
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef dictionary, const void* key)
{
    auto* object = DictionaryOf(dictionary);
    if (object == nullptr)
        return;
    if (auto* entry = object->Find(key))
        object->Remove(*entry);
}
