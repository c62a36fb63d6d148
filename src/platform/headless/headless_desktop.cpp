#include "headless_desktop.h"

namespace lt::headless {

void HeadlessDesktop::messageBox(const std::string& text, const std::string& caption, MessageKind kind) {
    messageBoxes.push_back({text, caption, kind});
    if (onMessageBox) onMessageBox(messageBoxes.back());
}

void HeadlessDesktop::processMessages() {
    // A source that keeps reporting (a line that never stops talking) must not hold the
    // loop forever; a real loop would go on with other messages between hand-overs.
    for (int round = 0; round < 10000; ++round) {
        bool any = false;
        for (auto& source : sources) any = source() || any;
        if (!any) return;
    }
}

}  // namespace lt::headless
