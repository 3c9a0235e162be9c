#pragma once

#include "tests/hosts/audio_unit/HostedUnit.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/** A class-info dictionary the host holds one reference to. */
class ClassInfo
{
public:
    /** Saves the unit's state (property 0); answers what the unit answered through status. */
    static ClassInfo save(HostedUnit& unit, OSStatus& status);
    ~ClassInfo();
    ClassInfo(ClassInfo&& other) noexcept;
    ClassInfo& operator=(ClassInfo&&) = delete;

    bool valid() const { return dictionary != nullptr; }
    /** Restores this state on a unit (property 0). */
    OSStatus restoreOn(HostedUnit& unit) const;
    /** A copy whose "jucePluginState" is the given block. */
    ClassInfo withPluginState(const std::vector<uint8_t>& block) const;

    std::optional<int32_t> number(const char* key) const;
    /** The bytes of a data value, empty when there is none. */
    std::vector<uint8_t> bytes(const char* key) const;

private:
    explicit ClassInfo(CFDictionaryRef owned) : dictionary(owned) {}
    CFTypeRef value(const char* key, CFTypeID kind) const;

    CFDictionaryRef dictionary = nullptr;
};

/** Bytes as big-endian 32-bit words in hex, "00000000 3F666666"; a short tail byte by byte. */
std::string wordsInHex(const std::vector<uint8_t>& bytes);

/** Sets the gain and the direction as a host restoring a project does: a saved class info with
    its "jucePluginState" replaced by a state block with these settings (either may be absent).
    Answers the first failure. */
OSStatus restoreSettings(HostedUnit& unit, const std::optional<std::string>& gain,
                         const std::optional<std::string>& direction);
