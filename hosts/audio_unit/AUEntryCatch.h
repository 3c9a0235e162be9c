// Every function a host calls runs its body inside this catch, so that nothing thrown inside the
// layer crosses into the host: a thrown status becomes the answer, a CAXException the status it
// carries, running out of memory memFullErr, anything else -1.
#pragma once

#include "hosts/audio_unit/CAException.h"

#include <new>

template <typename Body> OSStatus AUEntryCatch(Body&& body) noexcept
{
    try
    {
        return body();
    }
    catch (const CAXException& exception)
    {
        return exception.GetError();
    }
    catch (const std::bad_alloc&)
    {
        return memFullErr;
    }
    catch (OSStatus status)
    {
        return status;
    }
    catch (OSErr status)
    {
        return OSStatus(status);
    }
    catch (...)
    {
        return -1;
    }
}
