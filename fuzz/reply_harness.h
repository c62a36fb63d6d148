// Runs the dispatch on one captured text exactly as a transmit-empty report would,
// with the whole main window behind it, so every parse routine meets arbitrary bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/program.h"
#include "tests/simulated_platform.h"

namespace lt::fuzz {

class ReplyHarness {
public:
    ReplyHarness() {
        hp_.registry.setString(setting::kKey, setting::kPath, "\\SYSTEM\\X\\0000");
        hp_.registry.setString(setting::kKey, setting::kPort, "1");
        hp_.registry.setString(setting::kKey, setting::kVersion, "65a");
        program_ = std::make_unique<Program>(hp_.platform());
        program_->start();
    }

    void run(TRequestKind request, const uint8_t* data, size_t size) {
        CommandExchange& link = program_->Form1->link;
        link.OpenModemLink(request);  // a request of its own: a parse per run
        link.VaCommRxBuf(std::string(reinterpret_cast<const char*>(data), size));
        program_->app.run([&] { program_->Form1->VaCommTxEmpty(); });
        // Keep the recorded boxes from piling up over millions of runs.
        hp_.desktop.messageBoxes.clear();
    }

private:
    testing::SimulatedPlatform hp_;
    std::unique_ptr<Program> program_;
};

}  // namespace lt::fuzz
