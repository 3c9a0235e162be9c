#include "tests/hosts/vst2/EditorSession.h"

#include <chrono>
#include <thread>

namespace
{
/** Hosts idle their editors at about this rate. */
constexpr auto kIdleInterval = std::chrono::milliseconds(10);
/** Larger than any screen: a rectangle beyond it is garbage. */
constexpr int kMaxEditorSide = 8192;
} // namespace

EditorSession::EditorSession(HostedEffect& hostedEffect) : effect(hostedEffect) {}

EditorSession::~EditorSession()
{
    close();
}

bool EditorSession::open()
{
    ERect* rect = nullptr;
    const intptr_t answer = effect.dispatch(effEditGetRect, 0, 0, &rect);
    if (answer == 0 || rect == nullptr)
    {
        reason = "effEditGetRect answered " + std::to_string(answer) +
                 (rect == nullptr ? " without a rectangle" : "");
        return false;
    }
    editorWidth = rect->right - rect->left;
    editorHeight = rect->bottom - rect->top;
    if (editorWidth <= 0 || editorHeight <= 0 || editorWidth > kMaxEditorSide ||
        editorHeight > kMaxEditorSide)
    {
        reason = "effEditGetRect answered " + std::to_string(editorWidth) + " x " +
                 std::to_string(editorHeight);
        return false;
    }

    window = std::make_unique<EditorWindow>(editorWidth, editorHeight);
    const intptr_t openAnswer =
        effect.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window->id()));
    if (openAnswer == 0)
    {
        reason = "effEditOpen answered 0";
        return false;
    }
    opened = true;
    return true;
}

void EditorSession::idle(int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end)
    {
        if (opened)
            effect.dispatch(effEditIdle);
        if (window != nullptr)
            window->pumpEvents();
        std::this_thread::sleep_for(kIdleInterval);
    }
}

void EditorSession::click(int x, int y)
{
    if (window != nullptr)
        window->click(x, y);
}

juce::Image EditorSession::capture() const
{
    return window != nullptr ? window->capture() : juce::Image();
}

void EditorSession::close()
{
    if (opened)
        effect.dispatch(effEditClose);
    opened = false;
}
