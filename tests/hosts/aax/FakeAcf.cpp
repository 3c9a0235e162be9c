#include "tests/hosts/aax/FakeAcf.h"

#include <cstdio>
#include <stdexcept>
#include <utility>
#include <vector>

namespace fakeaax
{
namespace
{
Guid parse(std::string_view text)
{
    unsigned fields[11] = {};
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "{%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x}", &fields[0], &fields[1],
                    &fields[2], &fields[3], &fields[4], &fields[5], &fields[6], &fields[7],
                    &fields[8], &fields[9], &fields[10]) != 11)
        throw std::invalid_argument("not an identifier: " + copy);
    Guid id{fields[0], static_cast<uint16_t>(fields[1]), static_cast<uint16_t>(fields[2]), {}};
    for (int i = 0; i < 8; ++i)
        id.data4[static_cast<std::size_t>(i)] = static_cast<uint8_t>(fields[3 + i]);
    return id;
}

const std::vector<std::pair<std::string, Guid>>& known()
{
    static const std::vector<std::pair<std::string, Guid>> ids = []
    {
        const std::pair<const char*, const char*> texts[] = {
            {"ACFUnknown", "{00000000-0000-0000-C000-000000000046}"},
            {"ComponentFactory", "{382B6A96-7FD0-11D6-BCFE-00306542A024}"},
            {"PluginDefinition", "{00EEF015-7FD0-11D6-8485-00306542A024}"},
            {"Collection", "{89882C2D-77BC-42EF-707B-7981B7BD0CCA}"},
            {"CollectionV1", "{96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA}"},
            {"EffectDescriptor", "{89872C2D-75BC-423F-401B-F9A1BAAD0CCA}"},
            {"EffectDescriptorV1", "{96D42C2D-EBBC-41EF-D1CB-499442E40FDA}"},
            {"EffectDescriptorV2", "{41ECCC52-416B-4072-84BD-40B05210A74C}"},
            {"ComponentDescriptor", "{94872C3D-95BC-413D-D0DB-D9B12AAD0CCA}"},
            {"ComponentDescriptorV1", "{96E42C2D-E2BC-51EF-61C7-48994AEB0CDA}"},
            {"ComponentDescriptorV2", "{1895259E-AAA9-4F0F-A985-149837B76F89}"},
            {"PropertyMap", "{A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA}"},
            {"PropertyMapV1", "{96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE}"},
            {"PropertyMapV2", "{7177DF80-7C9C-11E2-B92A-0800200C9A66}"},
            {"HostServices", "{88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA}"},
            {"HostServicesV1", "{96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA}"},
            {"ControllerV1", "{9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E}"},
            {"ControllerV2", "{4C59AA0E-D7C0-4205-8B6C-32468D42D202}"},
            {"AutomationV1", "{9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E}"},
            {"TransportV1", "{5CEE4EF4-6337-4359-B63B-FE58DC36543A}"},
            {"TransportV2", "{203CBD9F-982C-4FE6-A827-07480257AEC3}"},
            {"ViewContainerV1", "{22DA0BBC-D550-4D5E-8CC6-734483B8837F}"},
            {"EffectParametersV1", "{964E333D-334C-533F-C2C7-3834C3C23E3E}"},
            {"EffectParametersV2", "{F1F47D06-308F-4CC5-9C7C-50A83F8AB813}"},
            {"EffectGUI", "{964E323D-424C-5E1A-2227-282423222E1E}"},
        };
        std::vector<std::pair<std::string, Guid>> parsed;
        for (const auto& [name, text] : texts)
            parsed.emplace_back(name, parse(text));
        return parsed;
    }();
    return ids;
}
} // namespace

const Guid& guid(std::string_view name)
{
    for (const auto& [knownName, id] : known())
        if (knownName == name)
            return id;
    throw std::out_of_range("no identifier named " + std::string(name));
}

std::string guidName(const Guid& id)
{
    for (const auto& [name, knownId] : known())
        if (knownId == id)
            return name;
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-...}", id.data1, id.data2, id.data3);
    return text;
}
} // namespace fakeaax
