// Runs the dispatch on one captured text exactly as a transmit-empty report would,
// with the whole main window behind it, so every parse routine meets arbitrary bytes.
// The first byte picks the firmware edition the stored settings name (the bit register
// read asks S17 or S218 by it); the rest is the capture.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/program.h"
#include "sim/editions.h"
#include "tests/simulated_platform.h"

namespace lt::fuzz {

// The program's own refusals of a reply it cannot parse; "%s" stands for any text. Any
// other error box is a fault the application's handler hid.
constexpr const char* kRefusals[] = {
    "'%s' is not a valid integer value",
    "Unrecognised reply to the speed query (AT+MS?, ATS210?)",
};

// Whether an error box shows one of the refusals. The handler shows what(), a C string, so
// a NUL the capture brought into the argument ends the text there.
inline bool isRefusal(const std::string& box, bool captureHasNul) {
    for (const std::string pattern : kRefusals) {
        const size_t any = pattern.find("%s");
        if (any == std::string::npos) {
            if (box == Application::errorBoxText(pattern)) return true;
            continue;
        }
        const std::string head = pattern.substr(0, any), tail = Application::errorBoxText(pattern.substr(any + 2));
        if (!box.starts_with(head)) continue;
        if (box.size() >= head.size() + tail.size() && box.ends_with(tail)) return true;
        if (!captureHasNul) continue;
        // The text up to the NUL, with or without the full stop the box added.
        for (const std::string& cut : {box, box.substr(0, box.size() - 1)})
            if (cut.starts_with(head) && Application::errorBoxText(cut) == box) return true;
    }
    return false;
}

class ReplyHarness {
public:
    // Every edition's program is built here, before the first input, so only the dispatch is timed.
    ReplyHarness() {
        for (size_t i = 0; i < sim::kAllEditions.size(); ++i)
            programs_[i] = std::make_unique<EditionProgram>(sim::editionCode(sim::kAllEditions[i]));
    }

    void run(TRequestKind request, const uint8_t* data, size_t size) {
        if (size == 0) return;
        EditionProgram& at = *programs_[data[0] % programs_.size()];
        // An identification stores the edition it finds: the next input starts from the chosen one.
        at.storeEdition();
        CommandExchange& link = at.program->Form1->link;
        link.OpenModemLink(request);  // a request of its own: a parse per run
        const std::string capture(reinterpret_cast<const char*>(data + 1), size - 1);
        link.VaCommRxBuf(capture);
        at.program->app.run([&] { at.program->Form1->VaCommTxEmpty(); });
        for (const auto& box : at.hp.desktop.messageBoxes) {
            if (box.kind == MessageKind::Error && isRefusal(box.text, capture.find('\0') != std::string::npos))
                continue;
            std::fprintf(stderr, "unexpected message from the parse (edition %s): %s\n", at.code.c_str(),
                         box.text.c_str());
            std::abort();
        }
        // Keep the recorded boxes from piling up over millions of runs.
        at.hp.desktop.messageBoxes.clear();
    }

private:
    struct EditionProgram {
        explicit EditionProgram(std::string edition) : code(std::move(edition)) {
            hp.registry.setString(setting::kKey, setting::kPath, "\\SYSTEM\\X\\0000");
            hp.registry.setString(setting::kKey, setting::kPort, "1");
            storeEdition();
            program = std::make_unique<Program>(hp.platform());
            program->start();
        }
        void storeEdition() { hp.registry.setString(setting::kKey, setting::kVersion, code); }

        std::string code;
        testing::SimulatedPlatform hp;
        std::unique_ptr<Program> program;
    };
    std::array<std::unique_ptr<EditionProgram>, sim::kAllEditions.size()> programs_;
};

}  // namespace lt::fuzz
