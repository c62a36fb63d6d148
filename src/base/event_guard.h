// Where every event handler runs: the application's default exception handler wraps it.
#pragma once
#include <functional>

namespace lt {

class EventGuard {
public:
    virtual ~EventGuard() = default;
    virtual void run(const std::function<void()>& handler) = 0;
};

}  // namespace lt
