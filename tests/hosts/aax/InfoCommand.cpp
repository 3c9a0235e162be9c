// info: load and register, print the registration call by call and what it described, open an
// instance and print its parameters, chunks and first coefficients, release everything.
#include "tests/hosts/aax/Commands.h"
#include "tests/hosts/aax/EffectParametersEntries.h"
#include "tests/hosts/aax/HostString.h"

#include <cstdio>

using namespace fakeaax;

namespace
{
void printParameters(HostedInstance& instance)
{
    void* const object = instance.object();
    int32_t count = 0;
    effect::GetNumberOfParameters::call(object, &count);
    std::printf("parameters     %d\n", count);
    for (int32_t index = 0; index < count; ++index)
    {
        HostString identifier;
        HostString name;
        HostString value;
        int32_t steps = 0;
        int32_t type = -1;
        double defaultValue = -1.0;
        effect::GetParameterIDFromIndex::call(object, index, identifier.asInterface());
        const auto id = identifier.text();
        effect::GetParameterName::call(object, id.c_str(), name.asInterface());
        effect::GetParameterNumberOfSteps::call(object, id.c_str(), &steps);
        effect::GetParameterType::call(object, id.c_str(), &type);
        effect::GetParameterDefaultNormalizedValue::call(object, id.c_str(), &defaultValue);
        effect::GetParameterValueString::call(object, id.c_str(), value.asInterface(), 8);
        std::printf("parameter %d    \"%s\" \"%s\" steps %d type %d default %g value \"%s\"\n",
                    index, id.c_str(), name.text().c_str(), steps, type, defaultValue,
                    value.text().c_str());
    }
}
} // namespace

int runInfo(Arguments& arguments)
{
    const auto words = arguments.positionals(1, "the bundle path");
    FakeHost host;
    std::vector<std::string> problems;
    int32_t liveObjects = 0;
    {
        AaxBundle bundle(host, words[0]);
        uint64_t version = 0;
        bundle.exports().getSDKVersion(&version);
        std::printf("loaded %s\nsdk version    0x%016llX\n", bundle.path().c_str(),
                    (unsigned long long)version);
        for (const auto& call : bundle.registrationCalls())
            std::printf("register: %s\n", call.c_str());

        {
            HostedInstance instance(bundle, 48000.0);
            host.clearLog();
            for (const auto& packet : instance.generateCoefficients())
                std::printf("first coefficients  %s\n", packet.c_str());
            printParameters(instance);
            std::printf("chunks        ");
            for (const auto& chunk : instance.saveChunks())
                std::printf(" %s", chunkName(chunk.id).c_str());
            std::printf("\nstate          %s\n", instance.stateText().c_str());
            problems = instance.problems;
        }
        liveObjects = bundle.exports().canUnloadNow(nullptr);
        std::printf("can unload     %d\n", liveObjects);
    }
    checkReleased(liveObjects, host, problems);
    return report(problems);
}
