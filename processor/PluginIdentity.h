#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// What every host interface announces about the plug-in. The wrappers read these and nothing else,
// so a change of name, code or version happens here once.
namespace veridane::identity
{

/** Packs four characters into 32 bits, first character in the top byte. */
constexpr std::uint32_t fourCharCode(std::string_view code) noexcept
{
    return (std::uint32_t(std::uint8_t(code[0])) << 24) |
           (std::uint32_t(std::uint8_t(code[1])) << 16) |
           (std::uint32_t(std::uint8_t(code[2])) << 8) | std::uint32_t(std::uint8_t(code[3]));
}

constexpr std::string_view pluginName = "Veridane";
constexpr std::string_view pluginDescription = "Veridane";
constexpr std::string_view manufacturerName = "Plumbrook";
constexpr std::uint32_t manufacturerCode = fourCharCode("Pbrk");
constexpr std::uint32_t pluginCode = fourCharCode("PbVd");

constexpr int versionMajor = 1;
constexpr int versionMinor = 0;
constexpr int versionBugFix = 0;
constexpr std::string_view versionString = "1.0.0";
/** Major in bits 16 and up, minor in bits 8 to 15, bug-fix in bits 0 to 7. */
constexpr std::uint32_t versionCode = (versionMajor << 16) | (versionMinor << 8) | versionBugFix;
/** VST's decimal form: major x 100 + minor x 10 + bug-fix. */
constexpr std::int32_t vstVersion = versionMajor * 100 + versionMinor * 10 + versionBugFix;

/** The one channel configuration: first-order B-format in and out. */
struct ChannelConfiguration
{
    int numInputs;
    int numOutputs;
};
constexpr ChannelConfiguration channelConfiguration{4, 4};
/** Audio Unit initialisation answers this for any other channel pair (FormatNotSupported). */
constexpr std::int32_t auUnsupportedChannelsStatus = -10868;

constexpr bool isInstrument = false;
constexpr bool acceptsMidiInput = true;
constexpr bool producesMidiOutput = false;
constexpr bool hasEditor = true;
constexpr int latencySamples = 0;

// VST 2
constexpr std::int32_t vstFlagHasEditor = 1;
constexpr std::int32_t vstFlagCanReplacing = 16;
constexpr std::int32_t vstFlagProgramChunks = 32;
constexpr std::int32_t vstFlags = vstFlagHasEditor | vstFlagCanReplacing | vstFlagProgramChunks;
constexpr std::int32_t vstCategorySpatializer = 5;
constexpr std::int32_t vstUniqueId = std::int32_t(pluginCode);

struct CanDoAnswer
{
    std::string_view question;
    std::int32_t answer; // 1 yes, -1 no
};
constexpr std::array<CanDoAnswer, 6> vstCanDoAnswers{{
    {"receiveVstEvents", 1},
    {"receiveVstMidiEvent", 1},
    {"receiveVstMidiEvents", 1},
    {"sendVstEvents", -1},
    {"sendVstMidiEvent", -1},
    {"sendVstMidiEvents", -1},
}};

// AAX
constexpr std::uint32_t aaxCategorySoundField = 0x200;
constexpr std::string_view aaxEffectIdentifier = "com.Plumbrook.Veridane";
/** Quad stem format, in and out. */
constexpr std::uint32_t aaxStemFormatQuad = 0x40004;
constexpr bool aaxSupportsBypass = true;
constexpr bool aaxSupportsMultiMono = true;
constexpr std::uint32_t aaxNativeIdentifierBase = fourCharCode("jcaa");
constexpr std::uint32_t aaxAudioSuiteIdentifierBase = fourCharCode("jyaa");
constexpr int aaxConfigurationIndex = 0;
constexpr std::uint32_t aaxNativeIdentifier = aaxNativeIdentifierBase + aaxConfigurationIndex;
constexpr std::uint32_t aaxAudioSuiteIdentifier =
    aaxAudioSuiteIdentifierBase + aaxConfigurationIndex;
constexpr std::string_view aaxMidiInputNodeName = "Veridane";
constexpr std::uint32_t aaxMidiInputChannelMask = 0xFFFF;

static_assert(pluginCode == 0x50625664);
static_assert(versionCode == 0x10000);
static_assert(vstVersion == 100);
static_assert(vstFlags == 49);

} // namespace veridane::identity
