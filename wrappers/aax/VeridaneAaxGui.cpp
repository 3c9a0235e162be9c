#include "wrappers/aax/VeridaneAaxGui.h"

#include "hosts/aax/component/GuardedCall.h"
#include "hosts/aax/proxies/AAX_IViewContainer.h"
#include "wrappers/aax/VeridaneAaxEffect.h"
#include "wrappers/common/EditorEmbedding.h"
#include "wrappers/common/MessageThread.h"

#include <optional>

namespace veridane::aax
{
namespace
{
struct ReleaseEffect
{
    void operator()(VeridaneAaxEffect* effect) const { effect->Release(); }
};
} // namespace

/** The editor of one effect, and the reference that keeps the effect alive under it. */
struct VeridaneAaxGui::Content final : juce::ComponentListener
{
    Content(VeridaneAaxGui& gui, std::unique_ptr<VeridaneAaxEffect, ReleaseEffect> reference)
        : owner(gui), effect(std::move(reference)), embedding(effect->getProcessor())
    {
    }

    /** Message thread. */
    void componentMovedOrResized(juce::Component& editor, bool, bool wasResized) override
    {
        if (auto* const view = wasResized ? owner.GetViewContainer() : nullptr)
            view->SetViewSize({float(editor.getHeight()), float(editor.getWidth())});
    }

    // Declared in the order they must be built: the editor goes before the effect is let go.
    wrappers::MessageThread::User messageThreadUser;
    VeridaneAaxGui& owner;
    std::unique_ptr<VeridaneAaxEffect, ReleaseEffect> effect;
    wrappers::EditorEmbedding embedding;
    /** The editor's size when its view was last taken away; nothing while it has a view. */
    std::optional<juce::Rectangle<int>> sizeWithoutView;
};

VeridaneAaxGui::VeridaneAaxGui() = default;

VeridaneAaxGui::~VeridaneAaxGui()
{
    forwardResizes(false);
    content.reset();
}

AAX_Result VeridaneAaxGui::Initialize(IACFUnknown* controller)
{
    // A second Initialize lets the first one's container go.
    forwardResizes(false);
    return AAX_CEffectGUI::Initialize(controller);
}

AAX_Result VeridaneAaxGui::SetViewContainer(IACFUnknown* viewContainer)
{
    forwardResizes(false);
    return AAX_CEffectGUI::SetViewContainer(viewContainer);
}

AAX_Result VeridaneAaxGui::Uninitialize()
{
    forwardResizes(false);
    return AAX_CEffectGUI::Uninitialize();
}

AAX_Result VeridaneAaxGui::GetViewSize(AAX_ViewSize* size) const
{
    if (size == nullptr || content == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return guardedCall(
        [&]() -> AAX_Result
        {
            const auto bounds =
                content->sizeWithoutView ? content->sizeWithoutView : content->embedding.size();
            if (!bounds)
                return AAX_ERROR_NULL_OBJECT;
            size->height = float(bounds->getHeight());
            size->width = float(bounds->getWidth());
            return AAX_SUCCESS;
        });
}

void VeridaneAaxGui::CreateViewContents()
{
    auto* const parameters = GetEffectParameters();
    if (content != nullptr || parameters == nullptr)
        return;
    // Asked for by its own identifier, which no other object answers with itself.
    void* own = nullptr;
    if (parameters->QueryInterface(&VeridaneAaxEffect::kClassIID, &own) != AAX_SUCCESS ||
        own == nullptr)
        return;
    std::unique_ptr<VeridaneAaxEffect, ReleaseEffect> reference(
        static_cast<VeridaneAaxEffect*>(own));
    content = std::make_unique<Content>(*this, std::move(reference));
}

AAX_Result VeridaneAaxGui::CreateViewContainer()
{
    CreateViewContents();
    void* const nativeView = GetViewContainerPtr();
    if (nativeView == nullptr)
        return AAX_SUCCESS;
    const int32_t type = GetViewContainerType();
    if (type != nativeViewType)
        return type;
    if (content != nullptr)
    {
        content->sizeWithoutView.reset();
        content->embedding.embedInto(nativeView);
        forwardResizes(true);
    }
    return AAX_SUCCESS;
}

AAX_Result VeridaneAaxGui::DeleteViewContainer()
{
    // The editor goes; the rest stays.
    forwardResizes(false);
    if (content == nullptr)
        return AAX_SUCCESS;
    // The host may ask the size before it offers the next view: it gets the editor's size as it
    // went, and no editor is made just to answer.
    wrappers::MessageThread::runOnMessageThread(
        [this]
        {
            if (const auto* const editor = content->embedding.editorOnMessageThread())
                content->sizeWithoutView = editor->getLocalBounds();
        });
    content->embedding.close();
    return AAX_SUCCESS;
}

void VeridaneAaxGui::forwardResizes(bool forward) noexcept
{
    if (content == nullptr)
        return;
    // Added and removed on the message thread, where the editor reports its resizes: once this
    // returns, no report is under way and the view container may change. The call itself only
    // throws when it cannot be made at all, and then no listener changes either.
    guardedCall(
        [&]
        {
            wrappers::MessageThread::runOnMessageThread(
                [this, forward]
                {
                    auto* const editor = content->embedding.editorOnMessageThread();
                    if (editor == nullptr)
                        return;
                    if (forward)
                        editor->addComponentListener(content.get());
                    else
                        editor->removeComponentListener(content.get());
                });
            return AAX_SUCCESS;
        });
}

} // namespace veridane::aax
