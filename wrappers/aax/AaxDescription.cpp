// The plug-in's description, made into the host's collection during registration: one effect
// with its names, category and creation functions, and one native component with its context
// fields and properties.
#include "hosts/aax/entry/AAX_Exports.h"
#include "hosts/aax/proxies/AAX_ICollection.h"
#include "hosts/aax/proxies/AAX_IComponentDescriptor.h"
#include "hosts/aax/proxies/AAX_IEffectDescriptor.h"
#include "hosts/aax/proxies/AAX_IPropertyMap.h"
#include "processor/PluginIdentity.h"
#include "wrappers/aax/AaxEntry.h"

#include <array>
#include <string_view>
#include <utility>

namespace
{
namespace identity = veridane::identity;
using namespace veridane::aax;

/** The procedure IDs under which the host finds the creation functions. */
enum ProcedureID : std::uint32_t
{
    effectParametersProcedure = 0,
    effectGuiProcedure = 1,
};

/** The MIDI node is a local input. */
constexpr std::int32_t midiNodeTypeLocalInput = 0;
/** The bypass port's packets replace the port's content. */
constexpr std::int32_t bypassPortBuffered = 1;
constexpr std::int32_t privateDataOptions = 0;

/** Component properties, by their host-given numbers. */
enum Property : std::uint32_t
{
    manufacturerIDProperty = 11,
    productIDProperty = 12,
    nativePlugInIDProperty = 13,
    audioSuitePlugInIDProperty = 14,
    inputStemFormatProperty = 51,
    outputStemFormatProperty = 52,
    canBypassProperty = 60,
    multiMonoProperty = 304,
};

/** The stem format for a channel count; counts without a format of their own give "none". */
constexpr std::uint32_t stemFormatFor(int numChannels)
{
    constexpr std::uint32_t none = 0xFF9C0000;
    constexpr std::array<std::uint32_t, 9> formats{none,       0x00000001, 0x00010002,
                                                   0x00020003, 0x00040004, 0x00050005,
                                                   0x00060006, 0x000B0007, 0x000C0008};
    return numChannels >= 0 && numChannels < int(formats.size()) ? formats[size_t(numChannels)]
                                                                 : none;
}
static_assert(stemFormatFor(identity::channelConfiguration.numInputs) ==
              identity::aaxStemFormatQuad);

/** In the order they are added. */
constexpr std::array<std::pair<Property, std::uint32_t>, 8> componentProperties{{
    {manufacturerIDProperty, identity::manufacturerCode},
    {productIDProperty, identity::pluginCode},
    {canBypassProperty, identity::aaxSupportsBypass ? 1 : 0},
    {inputStemFormatProperty, stemFormatFor(identity::channelConfiguration.numInputs)},
    {outputStemFormatProperty, stemFormatFor(identity::channelConfiguration.numOutputs)},
    {nativePlugInIDProperty, identity::aaxNativeIdentifier},
    {audioSuitePlugInIDProperty, identity::aaxAudioSuiteIdentifier},
    {multiMonoProperty, identity::aaxSupportsMultiMono ? 1 : 0},
}};

/** Hosts may keep the texts they are given, so only texts that live as long as the library are
    passed: the identity's literals, whose terminating NUL is checked here. */
constexpr const char* text(std::string_view literal)
{
    return literal.data()[literal.size()] == '\0' ? literal.data() : throw "not terminated";
}

constexpr const char* pluginName = text(identity::pluginName);
constexpr const char* manufacturerName = text(identity::manufacturerName);
constexpr const char* effectIdentifier = text(identity::aaxEffectIdentifier);
constexpr const char* midiNodeName = text(identity::aaxMidiInputNodeName);

template <typename Function> AAX_ProcPtr procedure(Function* function)
{
    return reinterpret_cast<AAX_ProcPtr>(function);
}

void describeComponent(AAX_IComponentDescriptor& component)
{
    component.AddAudioIn(inputsField);
    component.AddAudioOut(outputsField);
    component.AddAudioBufferLength(bufferLengthField);
    component.AddDataInPort(bypassPortField, bypassPortSize, bypassPortBuffered);
    component.AddMIDINode(midiNodeField, midiNodeTypeLocalInput, midiNodeName,
                          identity::aaxMidiInputChannelMask);
    component.AddPrivateData(privateDataField, privateDataSize, privateDataOptions);

    auto* const properties = component.NewPropertyMap();
    for (const auto& [property, value] : componentProperties)
        properties->AddProperty(property, static_cast<std::int32_t>(value));
    component.AddProcessProc_Native(procedure(&processContexts), properties, nullptr, nullptr,
                                    nullptr);
}
} // namespace

int32_t GetEffectDescriptions(AAX_ICollection* collection)
{
    auto* const effect = collection != nullptr ? collection->NewDescriptor() : nullptr;
    if (effect == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    effect->AddName(pluginName);
    effect->AddName(pluginName);
    effect->AddCategory(identity::aaxCategorySoundField);
    effect->AddProcPtr(procedure(&createEffectGui), effectGuiProcedure);
    effect->AddProcPtr(procedure(&createEffectParameters), effectParametersProcedure);

    if (auto* const component = effect->NewComponentDescriptor())
    {
        describeComponent(*component);
        effect->AddComponent(component);
    }

    collection->AddEffect(effectIdentifier, effect);
    collection->SetManufacturerName(manufacturerName);
    collection->AddPackageName(pluginName);
    collection->AddPackageName(pluginName);
    collection->SetPackageVersion(identity::versionCode);
    return AAX_SUCCESS;
}
