#include "headless_platform.h"

namespace lt::headless {

HeadlessPlatform::HeadlessPlatform() {
    desktop.sources.push_back([this] { return serial.poll(); });
}

}  // namespace lt::headless
