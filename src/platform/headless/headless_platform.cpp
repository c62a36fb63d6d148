#include "headless_platform.h"

#include "sim/modem.h"

namespace lt::headless {

HeadlessPlatform::HeadlessPlatform() : HeadlessPlatform(std::make_unique<sim::Modem>()) {}

HeadlessPlatform::HeadlessPlatform(sim::Edition edition) : HeadlessPlatform(std::make_unique<sim::Modem>(edition)) {}

HeadlessPlatform::HeadlessPlatform(std::unique_ptr<sim::Modem> modem)
    : modem_(std::move(modem)), serial(*modem_, clock) {
    desktop.sources.push_back([this] { return serial.poll(); });
}

HeadlessPlatform::~HeadlessPlatform() = default;

}  // namespace lt::headless
