// Sessions as a host runs them: parameters changed through the host's automation, the
// parameter chunk saved and restored, and instances initialised and released.
#include "tests/aax/ChunkBytes.h"
#include "tests/aax/EffectTestSupport.h"

#include "tests/hosts/aax/HostChunk.h"
#include "tests/hosts/aax/HostString.h"

#include <limits>
#include <map>

using fakeaax::FakeHost;
using fakeaax::HostChunk;
using fakeaax::HostString;
using Strings = std::vector<std::string>;
using Requests = std::vector<std::pair<std::string, double>>;

namespace
{
/** Answers every value request the host has received, as a host does: by updating the
    parameter on the instance. */
void answerRequests(FakeHost& host, void* object)
{
    for (const auto& [identifier, value] : host.takeSetValueRequests())
        effect::UpdateParameterNormalizedValue::call(object, identifier.c_str(), value, 0);
}

/** The instance's 'elck' chunk as the host saves it. */
HostChunk saveChunk(void* object)
{
    uint32_t size = 0;
    EXPECT_EQ(effect::GetChunkSize::call(object, effect::kParameterChunkID, &size), 0);
    HostChunk chunk(size);
    chunk.setChunkID(effect::kParameterChunkID);
    EXPECT_EQ(effect::GetChunk::call(object, effect::kParameterChunkID, chunk.record()), 0);
    return chunk;
}

bool compareChunk(void* object, HostChunk& chunk)
{
    bool equal = false;
    EXPECT_EQ(effect::CompareActiveChunk::call(object, chunk.record(), &equal), 0);
    return equal;
}

TEST_F(AcfTest, ParameterSessionGoesThroughTheHostsAutomation)
{
    OpenEffect first(host);
    host.clearLog();

    // The plug-in side only asks; the value stays until the host answers.
    EXPECT_EQ(effect::SetParameterNormalizedValue::call(first.object, "0", 0.1), 0);
    EXPECT_EQ(host.calls(),
              (Strings{"automation1.7(\"0\")", "automation1.5(\"0\", 0.10000000149011612)",
                       "automation1.8(\"0\")"}));
    EXPECT_EQ(first.effect->valueOf("0"), "0.8999999761581421");
    host.clearLog();
    answerRequests(host, first.object);
    EXPECT_EQ(host.calls(), Strings{"automation1.6(\"0\", 0.10000000149011612)"});
    EXPECT_EQ(first.effect->valueOf("0"), "0.10000000149011612");
    HostString text;
    EXPECT_EQ(effect::GetParameterValueString::call(first.object, "0", text.asInterface(), 8), 0);
    EXPECT_EQ(text.text(), "0.100");

    // Restoring into a second instance asks the host too, and compares equal once answered.
    HostChunk saved = saveChunk(first.object);
    OpenEffect second(host);
    host.clearLog();
    EXPECT_EQ(effect::SetChunk::call(second.object, effect::kParameterChunkID, saved.record()), 0);
    EXPECT_EQ(host.calls(),
              (Strings{"automation2.7(\"0\")", "automation2.5(\"0\", 0.10000000149011612)",
                       "automation2.8(\"0\")"}));
    EXPECT_FALSE(compareChunk(second.object, saved));
    answerRequests(host, second.object);
    EXPECT_TRUE(compareChunk(second.object, saved));
}

TEST_F(AcfTest, DefaultChunkIsByteExactAndLeavesOutTheBypass)
{
    OpenEffect open(host);
    // The bypass is on, and still not saved.
    effect::UpdateParameterNormalizedValue::call(open.object, kAAX_MasterBypassID, 1.0, 0);
    uint32_t size = 0;
    ASSERT_EQ(effect::GetChunkSize::call(open.object, effect::kParameterChunkID, &size), 0);
    ASSERT_EQ(size, 16u);
    HostChunk chunk(size);
    // The host's own fields: manufacturer, product, plug-in and chunk ID.
    std::vector<uint8_t> hostFields;
    for (uint8_t i = 0; i < 16; ++i)
        hostFields.push_back(static_cast<uint8_t>(0xA0 + i));
    std::copy(hostFields.begin(), hostFields.end(), static_cast<uint8_t*>(chunk.record()) + 8);

    ASSERT_EQ(effect::GetChunk::call(open.object, effect::kParameterChunkID, chunk.record()), 0);
    std::vector<uint8_t> expected = {0x10, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    expected.insert(expected.end(), hostFields.begin(), hostFields.end());
    const std::string name = "Complete Controls State";
    expected.insert(expected.end(), name.begin(), name.end());
    expected.insert(expected.end(), 9, 0);
    expected.insert(expected.end(), {0x01, 0x01, 0x01, 0x01, 0x64, 0x5F, 0x30, 0x00, 0x3F, 0xEC,
                                     0xCC, 0xCC, 0xC0, 0x00, 0x00, 0x00});
    EXPECT_EQ(chunk.bytes(), expected);
}

TEST_F(AcfTest, SetChunkRequestsOnlyUsableEntries)
{
    using namespace chunkbytes;
    struct Row
    {
        const char* name;
        Bytes data;
        Requests requests;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Row rows[] = {
        {"double for the float", join({marker(), d("0", 0.25)}), {{"0", 0.25}}},
        {"first of two entries of one name",
         join({marker(), d("0", 0.25), d("0", 0.75)}),
         {{"0", 0.25}}},
        {"bypass entry filtered",
         join({marker(), l("MasterBypassID", 1), d("0", 0.5)}),
         {{"0", 0.5}}},
        {"no marker", d("0", 0.25), {}},
        {"NaN skipped", join({marker(), d("0", nan)}), {}},
        {"infinity skipped",
         join({marker(), d("0", -std::numeric_limits<double>::infinity())}),
         {}},
        {"beyond the range of float skipped", join({marker(), d("0", 1e300)}), {}},
        {"integer for the float", join({marker(), l("0", 1)}), {}},
        {"unknown parameter", join({marker(), d("7", 0.5)}), {}},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        OpenEffect open(host);
        host.takeSetValueRequests();
        HostChunk chunk(row.data);
        EXPECT_EQ(effect::SetChunk::call(open.object, effect::kParameterChunkID, chunk.record()),
                  0);
        EXPECT_EQ(host.takeSetValueRequests(), row.requests);
    }
}

// Each script runs on an instance the host holds once; after its final release every
// parameter registered with the host has unregistered, every host reference is given back and
// no component object is left.
TEST_F(AcfTest, LifecyclesPairRegistrationsAndBalanceReferences)
{
    using Script = std::function<std::vector<int32_t>(FakeHost&, void*)>;
    struct Row
    {
        const char* name;
        Script script;
        std::vector<int32_t> results;
        AAX_Result effectInit = AAX_SUCCESS;
    };
    const auto initialize = [](FakeHost& h, void* o)
    { return effect::Initialize::call(o, h.newInstanceObject()); };
    const auto generate = [](FakeHost& h, void* o)
    {
        const auto posted = h.postedPackets().size();
        const int32_t result = effect::GenerateCoefficients::call(o);
        return h.postedPackets().size() > posted ? result : 100 + result; // 100: nothing posted
    };
    const Row rows[] = {
        {"initialize, uninitialize, initialize",
         [&](FakeHost& h, void* o)
         {
             return std::vector<int32_t>{
                 initialize(h, o), generate(h, o),   effect::Uninitialize::call(o),
                 generate(h, o),   initialize(h, o), generate(h, o)};
         },
         {0, 0, 0, 100 - 20004, 0, 0}},
        {"released without uninitialize",
         [&](FakeHost& h, void* o) { return std::vector<int32_t>{initialize(h, o)}; },
         {0}},
        {"initialized twice",
         [&](FakeHost& h, void* o) {
             return std::vector<int32_t>{initialize(h, o), initialize(h, o),
                                         effect::Uninitialize::call(o)};
         },
         {0, 0, 0}},
        {"failing EffectInit",
         [&](FakeHost& h, void* o)
         {
             const int32_t result = initialize(h, o);
             int32_t count = -1;
             effect::GetNumberOfParameters::call(o, &count);
             return std::vector<int32_t>{result, count};
         },
         {-7, 2},
         -7},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        FakeHost fresh;
        void* object = nullptr;
        void* const created =
            static_cast<AAX_IACFEffectParameters_V2*>(new TestEffect({}, row.effectInit));
        ASSERT_EQ(fakeaax::queryInterface(created, fakeaax::guid("EffectParametersV1"), &object),
                  0);
        EXPECT_EQ(row.script(fresh, object), row.results);
        EXPECT_EQ(fakeaax::release(object), 0u);

        std::map<std::string, int> registered;
        for (const auto& call : fresh.calls())
        {
            const auto dot = call.find('.');
            const auto entry = call.substr(dot + 1, 2);
            if (call.starts_with("automation") && (entry == "3(" || entry == "4("))
                registered[call.substr(0, dot) + call.substr(dot + 2)] += entry == "3(" ? 1 : -1;
        }
        EXPECT_FALSE(registered.empty());
        for (const auto& [parameter, balance] : registered)
            EXPECT_EQ(balance, 0) << parameter;
        EXPECT_EQ(fresh.unbalanced(), Strings{});
        EXPECT_EQ(exports.canUnloadNow(nullptr), 0);
    }
}
} // namespace
