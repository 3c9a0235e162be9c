#include "tests/aax/AcfTestSupport.h"

#include <memory>

namespace
{
enum class Out
{
    Null,
    Untouched,
    InnerUnknown,
    SameInterface,
};

// Each row queries a component that the host holds once, through entry 0 of the interface the
// host holds, then lets go of every reference.
TEST_F(AcfTest, ComponentQueriesAnswerAndCountReferences)
{
    struct Row
    {
        const char* name;
        fakeaax::Guid iid;
        bool nullOut;
        int32_t result;
        Out out;
    };
    const Row rows[] = {
        {"root interface", fakeaax::guid("ACFUnknown"), false, 0, Out::InnerUnknown},
        {"own interface", hostGuid(TestComponent::kIID), false, 0, Out::SameInterface},
        {"unsupported", fakeaax::guid("CollectionV1"), false, fakeaax::kNoInterface, Out::Null},
        {"null out pointer", fakeaax::guid("ACFUnknown"), true, fakeaax::kNullObject,
         Out::Untouched},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        std::atomic<int> destroyed{0};
        void* const held = (new TestComponent(destroyed))->hostInterface();
        EXPECT_EQ(exports.canUnloadNow(nullptr), 1);
        EXPECT_EQ(fakeaax::addRef(held), 1u);

        int sentinel = 0;
        void* out = &sentinel;
        EXPECT_EQ(fakeaax::queryInterface(held, row.iid, row.nullOut ? nullptr : &out), row.result);
        const bool gaveReference = row.out == Out::InnerUnknown || row.out == Out::SameInterface;
        if (row.out == Out::Null)
            EXPECT_EQ(out, nullptr);
        if (row.out == Out::Untouched)
            EXPECT_EQ(out, &sentinel);
        if (row.out == Out::SameInterface)
            EXPECT_EQ(out, held);
        if (row.out == Out::InnerUnknown)
            EXPECT_TRUE(out != nullptr && out != held);

        // A reference taken through the answer counts on the same object.
        EXPECT_EQ(fakeaax::addRef(held), gaveReference ? 3u : 2u);
        EXPECT_EQ(fakeaax::release(held), gaveReference ? 2u : 1u);
        if (gaveReference)
            EXPECT_EQ(fakeaax::release(out), 1u);
        EXPECT_EQ(destroyed, 0);
        EXPECT_EQ(fakeaax::release(held), 0u);
        EXPECT_EQ(destroyed, 1);
    }
}

TEST_F(AcfTest, LiveObjectCountFollowsComponentsAlive)
{
    std::atomic<int> destroyed{0};
    void* const first = (new TestComponent(destroyed))->hostInterface();
    void* const second = (new TestComponent(destroyed))->hostInterface();
    fakeaax::addRef(first);
    fakeaax::addRef(second);
    EXPECT_EQ(exports.canUnloadNow(nullptr), 2);
    fakeaax::release(first);
    EXPECT_EQ(exports.canUnloadNow(nullptr), 1);
    fakeaax::release(second);
    EXPECT_EQ(destroyed, 2);
}
} // namespace
