#include "tests/hosts/aax/HostedGui.h"

#include "tests/hosts/aax/EffectGuiEntries.h"
#include "tests/hosts/common/ExitCodes.h"

using namespace fakeaax;

HostedGui::HostedGui(HostedInstance& instance) : host(instance.host())
{
    using CreationFunction = void* (*)();
    void* const create = instance.bundle().effect().createGui;
    void* const created =
        create != nullptr ? reinterpret_cast<CreationFunction>(create)() : nullptr;
    if (created == nullptr || queryInterface(created, guid("EffectGUI"), &gui) != kSuccess)
        throw LoadError("the GUI creation function gave no usable object");
    initialized = gui::Initialize::call(gui, instance.hostObject());
}

HostedGui::~HostedGui()
{
    if (attached)
        detach();
    gui::Uninitialize::call(gui);
    release(gui);
}

int32_t HostedGui::viewSize(ViewSize& size) const
{
    return gui::GetViewSize::call(gui, &size);
}

int32_t HostedGui::attach(unsigned long window)
{
    attached = true;
    return gui::SetViewContainer::call(
        gui, host.newViewObject(kNativeViewType, reinterpret_cast<void*>(window)));
}

int32_t HostedGui::detach()
{
    attached = false;
    return gui::SetViewContainer::call(gui, nullptr);
}
