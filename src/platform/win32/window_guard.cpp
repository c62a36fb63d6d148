#include "window_guard.h"

#include <exception>
#include <string>

#include "toolkit/application.h"
#include "wide_text.h"

namespace lt::win32 {
namespace {

Application* reporter = nullptr;

void report(const std::string& message) {
    if (reporter) {
        reporter->showException(message);
        return;
    }
    MessageBoxW(nullptr, widen(Application::errorBoxText(message)).c_str(), nullptr,
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace

void reportFailuresTo(Application* app) { reporter = app; }

bool guarded(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("Unknown exception");
    }
    return false;
}

}  // namespace lt::win32
