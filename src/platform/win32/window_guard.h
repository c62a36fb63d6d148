// Nothing may unwind out of a window procedure: the system's frames between the dispatch
// and the procedure cannot pass an exception (the 32-bit system swallows it and goes on in
// an undefined state). Every window procedure of the backend runs its work through
// guarded(), which reports what escapes instead of dropping it: through the application's
// default handler (its error box) once there is an application, else in an error box of
// its own.
#pragma once
#include <windows.h>

#include <functional>

namespace lt {
class Application;
}

namespace lt::win32 {

// The application whose default handler reports from now on; nullptr for none.
void reportFailuresTo(Application* app);

// Runs work; false when it threw, which has then been reported.
bool guarded(const std::function<void()>& work);

// A window procedure's answer to one message, worked out under the guard; when the work
// throws, the message gets the answer of fallback instead (the system's default handling).
inline LRESULT guardedAnswer(const std::function<LRESULT()>& work, const std::function<LRESULT()>& fallback) {
    LRESULT result = 0;
    return guarded([&] { result = work(); }) ? result : fallback();
}

}  // namespace lt::win32
