// The effect-GUI base through the fake host: its slots called by number, its hooks recorded by a
// fake window.
#include "tests/aax/EffectTestSupport.h"

#include "hosts/aax/gui/AAX_CEffectGUI.h"
#include "tests/hosts/aax/EffectGuiEntries.h"

using fakeaax::FakeHost;
using Strings = std::vector<std::string>;
namespace gui = fakeaax::gui;

namespace
{
/** Records each hook with what the base lets it see at that moment. */
class RecordingGui final : public AAX_CEffectGUI
{
public:
    Strings hooks;

    AAX_Result ParameterUpdated(AAX_CParamID identifier) override
    {
        hooks.push_back(std::string("ParameterUpdated ") + identifier);
        return AAX_SUCCESS;
    }

protected:
    void CreateViewContents() override
    {
        hooks.push_back(std::string("CreateViewContents ") +
                        (GetEffectParameters() != nullptr ? "with" : "without") + " parameters");
    }
    AAX_Result CreateViewContainer() override
    {
        hooks.push_back("CreateViewContainer type " + std::to_string(GetViewContainerType()) +
                        (GetViewContainerPtr() != nullptr ? " view" : " no view"));
        return AAX_SUCCESS;
    }
    AAX_Result DeleteViewContainer() override
    {
        hooks.push_back("DeleteViewContainer " +
                        std::string(GetViewContainer() != nullptr ? "container" : "none"));
        return AAX_SUCCESS;
    }
};

/** A window object as the host holds it: one reference through QueryInterface. */
struct OpenGui
{
    RecordingGui* gui = new RecordingGui;
    void* object = nullptr;

    OpenGui()
    {
        EXPECT_EQ(fakeaax::queryInterface(static_cast<AAX_IACFEffectGUI*>(gui),
                                          fakeaax::guid("EffectGUI"), &object),
                  0);
    }
    ~OpenGui() { fakeaax::release(object); }
};

char gNativeView; // stands for the host's window

TEST_F(AcfTest, GuiSessionsReachTheHooksInOrder)
{
    enum class Controller
    {
        none,
        withoutEffect,
        linked
    };
    struct Row
    {
        const char* name;
        Controller controller;
        int32_t initialized;
        bool containerFirst; // otherwise null first
        Strings hooks;
    };
    const Row rows[] = {
        {"complete session",
         Controller::linked,
         0,
         true,
         {"CreateViewContents with parameters", "CreateViewContainer type 1 view",
          "ParameterUpdated MasterBypassID", "ParameterUpdated 0", "DeleteViewContainer none"}},
        {"host without the effect parameters",
         Controller::withoutEffect,
         0,
         true,
         {"CreateViewContents without parameters", "CreateViewContainer type 1 view",
          "DeleteViewContainer none"}},
        {"no controller",
         Controller::none,
         fakeaax::kNotInitialized,
         true,
         {"CreateViewContainer type 1 view", "DeleteViewContainer none"}},
        {"null container before any",
         Controller::linked,
         0,
         false,
         {"CreateViewContents with parameters", "DeleteViewContainer none",
          "CreateViewContainer type 1 view", "ParameterUpdated MasterBypassID",
          "ParameterUpdated 0"}},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        OpenEffect effect(host);
        OpenGui open;
        void* const instance = host.newInstanceObject();
        if (row.controller == Controller::linked)
            host.linkEffectParameters(instance, effect.object);

        EXPECT_EQ(gui::Initialize::call(open.object,
                                        row.controller == Controller::none ? nullptr : instance),
                  row.initialized);
        void* const container = host.newViewObject(1, &gNativeView);
        EXPECT_EQ(
            gui::SetViewContainer::call(open.object, row.containerFirst ? container : nullptr), 0);
        EXPECT_EQ(
            gui::SetViewContainer::call(open.object, row.containerFirst ? nullptr : container), 0);
        EXPECT_EQ(gui::Uninitialize::call(open.object), 0);
        EXPECT_EQ(open.gui->hooks, row.hooks);
    }
}

TEST_F(AcfTest, GuiKeepsOneViewContainerAndGivesEverythingBack)
{
    OpenEffect effect(host);
    void* const instance = host.newInstanceObject();
    host.linkEffectParameters(instance, effect.object);
    OpenGui open;
    ASSERT_EQ(gui::Initialize::call(open.object, instance), 0);
    EXPECT_EQ(gui::SetViewContainer::call(open.object, host.newViewObject(1, &gNativeView)), 0);
    EXPECT_EQ(gui::SetViewContainer::call(open.object, host.newViewObject(2, nullptr)), 0);

    Strings views;
    for (const auto& line : host.unbalanced())
        if (line.starts_with("view"))
            views.push_back(line);
    EXPECT_EQ(views, Strings{"view2 held 1"});
    EXPECT_EQ(open.gui->hooks.back(), "ParameterUpdated 0");

    // Initializing again gives back what the first Initialize took (the fixture checks).
    ASSERT_EQ(gui::Initialize::call(open.object, instance), 0);
    EXPECT_EQ(gui::Uninitialize::call(open.object), 0);
}

TEST_F(AcfTest, GuiAnswersItsOwnInterfaceWithItself)
{
    OpenGui open;
    void* same = nullptr;
    void* unknown = nullptr;
    void* other = &same;
    EXPECT_EQ(fakeaax::queryInterface(open.object, fakeaax::guid("EffectGUI"), &same), 0);
    EXPECT_EQ(same, open.object);
    EXPECT_EQ(fakeaax::queryInterface(open.object, fakeaax::guid("ACFUnknown"), &unknown), 0);
    EXPECT_NE(unknown, open.object);
    EXPECT_EQ(fakeaax::queryInterface(open.object, fakeaax::guid("ControllerV1"), &other),
              fakeaax::kNoInterface);
    EXPECT_EQ(other, nullptr);
    other = &same;
    EXPECT_EQ(fakeaax::queryInterface(open.object, nullptr, &other), fakeaax::kNoInterface);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(fakeaax::release(same), 2u);
    EXPECT_EQ(fakeaax::release(unknown), 1u);
}
} // namespace
