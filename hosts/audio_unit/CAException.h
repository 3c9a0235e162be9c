// The two exception objects the layer may throw instead of a plain status. The entry catch
// answers the status a CAXException carries; a CAException, like anything else it does not
// know, becomes -1.
#pragma once

#include "platform/MacTypes.h"

class CAException
{
public:
    explicit CAException(OSStatus error) : mError(error) {}
    OSStatus GetError() const { return mError; }

private:
    OSStatus mError;
};

/** A failed platform call: the status it answered and the operation that failed. */
class CAXException
{
public:
    CAXException(const char* operation, OSStatus error) : mOperation(operation), mError(error) {}
    OSStatus GetError() const { return mError; }
    const char* GetOperation() const { return mOperation; }

private:
    const char* mOperation;
    OSStatus mError;
};
