#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace autest;

TEST(CoreFoundationDictionary, FindsKeysByContentAndOwnsWhatItHolds)
{
    const CFIndex liveBefore = VeridaneCFGetLiveObjectCount();
    Owned<CFMutableDictionaryRef> dictionary(CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    Owned<CFStringRef> first(MakeString("first")), second(MakeString("second"));
    CFDictionarySetValue(dictionary.get(), CFSTR("name"), first.get());
    EXPECT_EQ(CFGetRetainCount(first.get()), 2);

    // A key made elsewhere with the same text finds the value.
    Owned<CFStringRef> sameKey(MakeString("name"));
    EXPECT_TRUE(CFDictionaryContainsKey(dictionary.get(), sameKey.get()));
    EXPECT_EQ(TextOf(CFDictionaryGetValue(dictionary.get(), sameKey.get())), "first");

    CFDictionaryAddValue(dictionary.get(), sameKey.get(), second.get());
    EXPECT_EQ(TextOf(CFDictionaryGetValue(dictionary.get(), sameKey.get())), "first");
    CFDictionarySetValue(dictionary.get(), sameKey.get(), second.get());
    EXPECT_EQ(TextOf(CFDictionaryGetValue(dictionary.get(), CFSTR("name"))), "second");
    EXPECT_EQ(CFGetRetainCount(first.get()), 1);
    {
        Owned<CFMutableDictionaryRef> copy(
            CFDictionaryCreateMutableCopy(kCFAllocatorDefault, 0, dictionary.get()));
        CFDictionaryRemoveValue(dictionary.get(), sameKey.get());
        EXPECT_FALSE(CFDictionaryContainsKey(dictionary.get(), CFSTR("name")));
        EXPECT_EQ(CFDictionaryGetCount(dictionary.get()), 0);
        EXPECT_EQ(TextOf(CFDictionaryGetValue(copy.get(), CFSTR("name"))), "second");

        // Nulls are neither keys nor values.
        CFDictionarySetValue(copy.get(), nullptr, second.get());
        CFDictionarySetValue(copy.get(), CFSTR("null"), nullptr);
        EXPECT_EQ(CFDictionaryGetCount(copy.get()), 1);
        EXPECT_EQ(CFGetRetainCount(second.get()), 2);
        EXPECT_EQ(VeridaneCFGetLiveObjectCount(), liveBefore + 5);
    }
    EXPECT_EQ(CFGetRetainCount(second.get()), 1);
    EXPECT_EQ(VeridaneCFGetLiveObjectCount(), liveBefore + 4);
}

TEST(CoreFoundationNumber, ConvertsBetweenKindsAndSaysWhenItLosesSomething)
{
    struct Row
    {
        const char* name;
        CFNumberType madeAs;
        double made;
        CFNumberType readAs;
        double read;
        bool exact;
    };
    const Row rows[] = {
        {"integer as integer", kCFNumberSInt32Type, -7, kCFNumberSInt32Type, -7, true},
        {"integer as float", kCFNumberSInt32Type, 3, kCFNumberFloat32Type, 3.0, true},
        {"large integer as float rounds", kCFNumberSInt32Type, 16777217, kCFNumberFloat32Type,
         16777216.0, false},
        {"float as integer truncates", kCFNumberFloat32Type, -2.75, kCFNumberSInt32Type, -2, false},
        {"whole float as integer", kCFNumberFloat32Type, 5.0, kCFNumberSInt32Type, 5, true},
        {"huge float saturates", kCFNumberFloat32Type, 1e20, kCFNumberSInt32Type, 2147483647,
         false},
        {"NaN as integer", kCFNumberFloat32Type, std::numeric_limits<double>::quiet_NaN(),
         kCFNumberSInt32Type, 0, false},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        const SInt32 integer = SInt32(row.made);
        const Float32 real = Float32(row.made);
        Owned<CFNumberRef> number(CFNumberCreate(
            kCFAllocatorDefault, row.madeAs,
            row.madeAs == kCFNumberSInt32Type ? static_cast<const void*>(&integer) : &real));
        double read = 0.0;
        Boolean exact = false;
        if (row.readAs == kCFNumberSInt32Type)
        {
            SInt32 value = 0;
            exact = CFNumberGetValue(number.get(), row.readAs, &value);
            read = value;
        }
        else
        {
            Float32 value = 0;
            exact = CFNumberGetValue(number.get(), row.readAs, &value);
            read = value;
        }
        EXPECT_EQ(read, row.read);
        EXPECT_EQ(bool(exact), row.exact);
    }
    const SInt32 one = 1;
    EXPECT_EQ(CFNumberCreate(kCFAllocatorDefault, 4, &one), nullptr);
}

TEST(CoreFoundationString, CopiesTextOnlyWhenItFitsTheBufferAndTheEncoding)
{
    Owned<CFStringRef> ascii(MakeString("Main")), accented(MakeString("Gr\xC3\xBC\xC3\x9F"));
    char buffer[5];
    EXPECT_TRUE(CFStringGetCString(ascii.get(), buffer, 5, kCFStringEncodingASCII));
    EXPECT_STREQ(buffer, "Main");
    EXPECT_FALSE(CFStringGetCString(ascii.get(), buffer, 4, kCFStringEncodingASCII));
    EXPECT_FALSE(CFStringGetCString(accented.get(), buffer, 5, kCFStringEncodingASCII));
    EXPECT_EQ(CFStringCreateWithCString(kCFAllocatorDefault, "\xC3\xBC", kCFStringEncodingASCII),
              nullptr);
}
