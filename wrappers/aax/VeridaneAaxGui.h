#pragma once

#include "hosts/aax/gui/AAX_CEffectGUI.h"

#include <memory>

namespace veridane::aax
{

/** The plug-in's window in an AAX host: the processor's editor, embedded on the plug-in's message
    thread into the host's native view (an X11 window, view type 1), its size answered as the
    host asks for it (height, then width) and its resizes passed on to the view container.

    The host calls from its user-interface thread; the editor lives on the message thread. Once
    it has found its effect, the window holds a reference on it until it goes itself, so the
    processor outlives the editor whatever order the host releases them in. */
class VeridaneAaxGui final : public AAX_CEffectGUI
{
public:
    /** The view type of an X11 window. */
    static constexpr int32_t nativeViewType = 1;

    VeridaneAaxGui();
    ~VeridaneAaxGui() override;

    // Each stops passing resizes on before the base lets the container go.
    AAX_Result Initialize(IACFUnknown* controller) override;
    AAX_Result SetViewContainer(IACFUnknown* viewContainer) override;
    AAX_Result Uninitialize() override;
    /** The editor's height and width; once its view is taken away, the size it had then,
        without making another editor. -20004 without content or editor. */
    AAX_Result GetViewSize(AAX_ViewSize* size) const override;

protected:
    /** Once: the content for the effect the controller gave, when it is this plug-in's own. */
    void CreateViewContents() override;
    /** Embeds the editor into a native view; another view type is answered as the result. */
    AAX_Result CreateViewContainer() override;
    /** Deletes the editor, remembering its size. */
    AAX_Result DeleteViewContainer() override;

private:
    struct Content;

    /** Message thread, waited for: the editor's resizes to the view container, or not. */
    void forwardResizes(bool forward) noexcept;

    std::unique_ptr<Content> content;
};

} // namespace veridane::aax
