#include "headless_platform.h"

#include "sim/modem.h"

namespace lt::headless {

HeadlessPlatform::HeadlessPlatform() : modem_(std::make_unique<sim::Modem>()), serial(*modem_, clock) {
    desktop.sources.push_back([this] { return serial.poll(); });
}

HeadlessPlatform::~HeadlessPlatform() = default;

}  // namespace lt::headless
