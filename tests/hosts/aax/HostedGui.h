#pragma once

#include "tests/hosts/aax/HostedInstance.h"

/** The window object of one instance as an AAX host runs it: made by the registered creation
    function, held by QueryInterface and initialised on the instance's controller object; given
    a view container of the native type (an X11 window) and taken it away again. Detached,
    uninitialised and released at the end. */
class HostedGui
{
public:
    /** The view type of an X11 window. */
    static constexpr int32_t kNativeViewType = 1;

    explicit HostedGui(HostedInstance& instance);
    ~HostedGui();

    HostedGui(const HostedGui&) = delete;
    HostedGui& operator=(const HostedGui&) = delete;

    int32_t initializeResult() const { return initialized; }
    /** GetViewSize: height, then width. */
    int32_t viewSize(fakeaax::ViewSize& size) const;
    /** SetViewContainer with a container whose view is the window. */
    int32_t attach(unsigned long window);
    /** SetViewContainer with null. */
    int32_t detach();

private:
    fakeaax::FakeHost& host;
    void* gui = nullptr;
    int32_t initialized = 0;
    bool attached = false;
};
