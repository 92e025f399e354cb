// The program's main window over SDL2: creation, size and placement, focus,
// the message queue, close requests with a veto, and timers that fire on the
// main thread from the window's message processing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// A timer owned by a window. It fires its handler from the window's message
// processing, never from another thread.
class WindowTimer {
public:
    WindowTimer(uint32_t intervalMs, bool enabled);

    void SetEnabled(bool enabled);
    bool Enabled() const { return IsEnabled; }
    uint32_t Interval() const { return IntervalMs; }

    std::function<void()> OnTimer;

private:
    friend class Window;
    uint32_t IntervalMs;
    bool IsEnabled;
    uint64_t DueAt = 0;
};

// One raw event of the window system, handed to hooks before the window
// handles it itself (input devices read keys, buttons and motion this way).
using EventHook = std::function<void(const void* sdlEvent)>;
// Names an added hook for its removal; 0 names none.
using EventHookId = uint32_t;

class Window {
public:
    Window();
    virtual ~Window();

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window with a fixed single border and only a close box,
    // ready for an OpenGL context (double-buffered RGBA, 24-bit depth).
    // A window that is not shown still carries a context (for unattended tools and tests).
    bool Create(const std::string& title, int clientWidth, int clientHeight, bool visible = true);

    void SetClientSize(int width, int height);
    void GetClientSize(int& width, int& height) const;
    void Center();
    void SetBorderless(bool borderless);
    void SetPosition(int left, int top);
    bool HasFocus() const;

    void AddTimer(WindowTimer* timer);
    EventHookId AddEventHook(EventHook hook);
    // Whoever adds a hook removes it before the code it calls goes away; a
    // hook must not remove hooks while it runs.
    void RemoveEventHook(EventHookId id);

    // Handles every waiting message and fires the timers that are due.
    void ProcessMessages();
    // Processes messages, waiting between them, until the window has closed.
    void RunMessageLoop();
    // Asks to close. The request is handled by the next message processing, so
    // the caller may be code that the close itself destroys: OnCloseQuery may
    // refuse; otherwise OnClose runs and the window closes.
    void RequestClose();
    bool Closed() const { return IsClosed; }

    // The SDL window, for the GL context layer.
    void* Handle() const { return SdlWindow; }

protected:
    virtual bool OnCloseQuery() { return true; }
    virtual void OnClose() {}

private:
    void* SdlWindow = nullptr;
    bool IsClosed = false;
    bool ClosePending = false;
    bool VideoStarted = false;
    std::vector<WindowTimer*> Timers;
    std::vector<std::pair<EventHookId, EventHook>> Hooks;
    EventHookId LastHookId = 0;

    void HandleEvent(const void* sdlEvent);
    void TryClose();
    void FireDueTimers();
    uint32_t MillisecondsToNextTimer() const;
};

}  // namespace platform
