#include "platform/platform_window.h"

#include <SDL.h>

#include <algorithm>

namespace platform {

namespace {

SDL_Window* AsSdl(void* window) { return static_cast<SDL_Window*>(window); }

// The attributes decide the visual the window is created with, so they must
// be set before the window exists.
void SetContextAttributes()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
}

}  // namespace

WindowTimer::WindowTimer(uint32_t intervalMs, bool enabled) : IntervalMs(intervalMs), IsEnabled(false)
{
    SetEnabled(enabled);
}

void WindowTimer::SetEnabled(bool enabled)
{
    if (enabled && !IsEnabled)
        DueAt = SDL_GetTicks64() + IntervalMs;
    IsEnabled = enabled;
}

Window::Window() = default;

Window::~Window()
{
    if (SdlWindow)
        SDL_DestroyWindow(AsSdl(SdlWindow));
    if (VideoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool Window::Create(const std::string& title, int clientWidth, int clientHeight, bool visible)
{
    if (!VideoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return false;
        VideoStarted = true;
    }
    SetContextAttributes();
    const Uint32 flags = SDL_WINDOW_OPENGL | (visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
    SdlWindow = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientWidth,
                                 clientHeight, flags);
    return SdlWindow != nullptr;
}

void Window::SetClientSize(int width, int height)
{
    if (SdlWindow)
        SDL_SetWindowSize(AsSdl(SdlWindow), width, height);
}

void Window::GetClientSize(int& width, int& height) const
{
    width = height = 0;
    if (SdlWindow)
        SDL_GetWindowSize(AsSdl(SdlWindow), &width, &height);
}

void Window::Center()
{
    if (SdlWindow)
        SDL_SetWindowPosition(AsSdl(SdlWindow), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void Window::SetBorderless(bool borderless)
{
    if (SdlWindow)
        SDL_SetWindowBordered(AsSdl(SdlWindow), borderless ? SDL_FALSE : SDL_TRUE);
}

void Window::SetPosition(int left, int top)
{
    if (SdlWindow)
        SDL_SetWindowPosition(AsSdl(SdlWindow), left, top);
}

bool Window::HasFocus() const
{
    return SdlWindow && (SDL_GetWindowFlags(AsSdl(SdlWindow)) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void Window::AddTimer(WindowTimer* timer) { Timers.push_back(timer); }

EventHookId Window::AddEventHook(EventHook hook)
{
    Hooks.emplace_back(++LastHookId, std::move(hook));
    return LastHookId;
}

void Window::RemoveEventHook(EventHookId id)
{
    Hooks.erase(std::remove_if(Hooks.begin(), Hooks.end(), [id](const auto& entry) { return entry.first == id; }),
                Hooks.end());
}

void Window::HandleEvent(const void* sdlEvent)
{
    for (const auto& entry : Hooks)
        entry.second(sdlEvent);
    const SDL_Event& event = *static_cast<const SDL_Event*>(sdlEvent);
    const bool closeBox = event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE;
    if (closeBox || event.type == SDL_QUIT)
        TryClose();
}

void Window::TryClose()
{
    ClosePending = false;
    if (IsClosed || !OnCloseQuery())
        return;
    OnClose();
    IsClosed = true;
}

void Window::RequestClose() { ClosePending = true; }

void Window::FireDueTimers()
{
    const uint64_t now = SDL_GetTicks64();
    // A handler may run for a long time (the main loop runs inside one), so
    // the list is walked by index and each timer re-armed before it fires.
    for (size_t i = 0; i < Timers.size(); ++i) {
        WindowTimer* timer = Timers[i];
        if (!timer->IsEnabled || now < timer->DueAt)
            continue;
        timer->DueAt = now + timer->IntervalMs;
        if (timer->OnTimer)
            timer->OnTimer();
    }
}

uint32_t Window::MillisecondsToNextTimer() const
{
    const uint64_t now = SDL_GetTicks64();
    uint64_t wait = 100;
    for (const WindowTimer* timer : Timers) {
        if (timer->IsEnabled)
            wait = std::min<uint64_t>(wait, timer->DueAt > now ? timer->DueAt - now : 0);
    }
    return static_cast<uint32_t>(wait);
}

void Window::ProcessMessages()
{
    SDL_Event event;
    while (!IsClosed && SDL_PollEvent(&event))
        HandleEvent(&event);
    if (ClosePending)
        TryClose();
    if (!IsClosed)
        FireDueTimers();
}

void Window::RunMessageLoop()
{
    while (!IsClosed) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, static_cast<int>(MillisecondsToNextTimer())) && !IsClosed)
            HandleEvent(&event);
        ProcessMessages();
    }
}

}  // namespace platform
