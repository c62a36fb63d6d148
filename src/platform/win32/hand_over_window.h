// A hidden message window of the user-interface thread. The event thread of the COM port
// posts to it; the user-interface thread, when it next handles messages, calls the
// receiver, so nothing is handed over while a handler (or a paced send) runs. A post
// carries the generation of the open port it came from: one left in the queue by a port
// closed since is dropped.
#pragma once
#include <windows.h>

#include <functional>

namespace lt::win32 {

class HandOverWindow {
public:
    // Must be constructed on the user-interface thread: the window belongs to it.
    explicit HandOverWindow(std::function<void()> receive);
    ~HandOverWindow();
    HandOverWindow(const HandOverWindow&) = delete;
    HandOverWindow& operator=(const HandOverWindow&) = delete;

    // A port was opened: what earlier ones posted is dropped from now on. Called before
    // that port's event thread starts, which is all the ordering post() needs.
    void nextGeneration() { ++generation_; }
    // From the event thread.
    void post() { PostMessageW(window_, kMessage, generation_, 0); }

private:
    static constexpr UINT kMessage = WM_APP + 1;
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::function<void()> receive_;
    HWND window_ = nullptr;
    WPARAM generation_ = 0;
};

}  // namespace lt::win32
