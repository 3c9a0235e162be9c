// chunk: set gain and direction, save every chunk, restore them into a fresh instance, let the
// host answer, and compare the parameter chunk before and after another gain.
#include "tests/hosts/aax/Commands.h"
#include "tests/hosts/common/StateChunk.h"

#include <cstdio>

namespace
{
constexpr uint32_t kParameterChunkID = 0x656C636B; // 'elck'
} // namespace

int runChunk(Arguments& arguments)
{
    const auto gain = arguments.option("--gain");
    const auto direction = arguments.option("--direction");
    const auto otherGain = arguments.option("--other-gain").value_or("0.5");
    const auto automationName = arguments.option("--automation").value_or("queued");
    const auto words = arguments.positionals(1, "the bundle path");
    if (!gain || !direction)
        throw UsageError("chunk wants --gain and --direction");
    const double gainValue = parseNumber(*gain, "--gain");
    const double otherGainValue = parseNumber(otherGain, "--other-gain");
    parseInteger(*direction, "--direction");
    if (automationName != "queued" && automationName != "synchronous")
        throw UsageError("--automation is queued or synchronous");
    const auto automation = automationName == "queued" ? HostedInstance::Automation::queued
                                                       : HostedInstance::Automation::synchronous;

    fakeaax::FakeHost host;
    std::vector<std::string> problems;
    int32_t liveObjects = 0;
    {
        AaxBundle bundle(host, words[0]);
        std::vector<HostedInstance::Chunk> saved;
        {
            HostedInstance first(bundle, 48000.0, automation);
            first.restoreState(std::nullopt, *direction);
            first.update("0", gainValue);
            saved = first.saveChunks();
            problems = first.problems;
        }
        for (auto& chunk : saved)
        {
            const auto bytes = chunk.record.bytes();
            std::printf("saved %s: %zu bytes", chunkName(chunk.id).c_str(), bytes.size());
            if (const auto text =
                    stateBlockText({bytes.begin() + fakeaax::HostChunk::kHeaderSize, bytes.end()}))
                std::printf(", state %s", text->c_str());
            std::printf("\n");
        }

        {
            HostedInstance second(bundle, 48000.0, automation);
            for (auto& chunk : saved)
                std::printf("restored %s: answered %ld\n", chunkName(chunk.id).c_str(),
                            long(second.restore(chunk)));
            std::printf("the host answered %zu value requests\n", second.answerRequests());
            std::printf("gain after restore: %.9g\n", second.normalizedValue("0"));
            std::printf("state after restore: %s\n", second.stateText().c_str());
            for (auto& chunk : saved)
                if (chunk.id == kParameterChunkID)
                {
                    std::printf("compare 'elck': %s\n",
                                second.compare(chunk) ? "equal" : "unequal");
                    second.update("0", otherGainValue);
                    std::printf("compare 'elck' after gain %s: %s\n", otherGain.c_str(),
                                second.compare(chunk) ? "equal" : "unequal");
                }
            problems.insert(problems.end(), second.problems.begin(), second.problems.end());
        }
        liveObjects = bundle.exports().canUnloadNow(nullptr);
    }
    checkReleased(liveObjects, host, problems);
    return report(problems);
}
