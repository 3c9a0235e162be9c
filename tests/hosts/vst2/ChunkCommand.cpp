// chunk get / chunk set: load, open, (set), read the chunk back, close.
#include "tests/hosts/vst2/Commands.h"
#include "tests/hosts/vst2/HostedEffect.h"
#include "tests/hosts/common/StateChunk.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace
{
void printChunk(const char* label, const std::vector<uint8_t>& chunk)
{
    std::printf("%s: %zu bytes:", label, chunk.size());
    for (uint8_t byte : chunk)
        std::printf(" %02x", byte);
    std::printf("\n");
    if (const auto text = stateBlockText(chunk))
        std::printf("%s text: %s\n", label, text->c_str());
    else
        std::printf("%s text: (not a state block)\n", label);
}

std::vector<uint8_t> readBytes(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!stream)
        throw std::runtime_error("cannot write " + path);
}
} // namespace

int runChunk(Arguments& arguments)
{
    const auto outPath = arguments.option("--out");
    const auto filePath = arguments.option("--file");
    const auto gain = arguments.option("--gain");
    const auto direction = arguments.option("--direction");
    const auto words = arguments.positionals(2, "get or set, then the plug-in path");
    const bool set = words[0] == "set";
    if (!set && words[0] != "get")
        throw UsageError("chunk wants get or set");
    if (set && filePath.has_value() == (gain || direction))
        throw UsageError("chunk set wants --file FILE, or --gain and/or --direction");
    if (gain)
        parseNumber(*gain, "--gain");
    if (direction)
        parseInteger(*direction, "--direction");

    HostContext context;
    PluginLibrary library(words[1]);
    HostedEffect effect(library, context);
    effect.open();

    if (set)
    {
        const auto block = filePath ? readBytes(*filePath) : makeStateBlock(gain, direction);
        printChunk("set", block);
        std::printf("set answered %ld\n", long(effect.setChunk(block)));
    }
    const auto chunk = effect.chunk();
    printChunk("chunk", chunk);
    if (outPath)
        writeBytes(*outPath, chunk);
    effect.close();

    for (const auto& problem : effect.problems())
        std::printf("PROBLEM: %s\n", problem.c_str());
    return effect.problems().empty() ? exitCode::ok : exitCode::failed;
}
