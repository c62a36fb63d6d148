// The conversation with the modem: the prologue of every request, the paced send, the
// capture of received characters and the write-and-store operation. The dispatch of a
// captured reply to its page lives in the main window (VaCommTxEmpty).
// Everything here runs on the user-interface thread.
#pragma once
#include <initializer_list>
#include <string>

#include "base/event_guard.h"
#include "link/request_kind.h"
#include "port/comm_port.h"
#include "port/modem.h"
#include "settings/settings_store.h"
#include "system/clock.h"
#include "system/serial_device.h"
#include "toolkit/widgets.h"

namespace lt {

class CommandExchange {
public:
    CommandExchange(SettingsStore& settings, SerialDevice& device, Clock& clock, EventGuard& guard,
                    Memo& statusLog, Memo& lineLog);

    // A reply is a few dozen characters; far more means a line that does not stop
    // talking. Characters past this bound are dropped so memory stays flat.
    static constexpr size_t kMaxRxText = 64 * 1024;

    CommPort VaComm;
    Modem VaModem1;
    std::string RxText;
    TRequestKind PendingRequest = rqWrite;
    // A parse branch has run for the current request, completed or failed; the dispatch
    // runs none again until the next prologue clears it.
    bool ReplyTaken = false;

    // Port from the settings, opened when needed; PendingRequest := r; RxText emptied and
    // no reply taken yet.
    void OpenModemLink(TRequestKind r);
    // The prologue (without the "path" test), then command + "\r" and the profile store.
    void SendAndSaveProfile(TRequestKind r, const std::string& command);
    // Sends one command, paced at 50 ms per character.
    void Send(const std::string& command);
    // A read script: the prologue, "ATE1" (echo on, so every parse finds its echoes),
    // then each query, each ended by CR.
    void SendQueries(TRequestKind r, std::initializer_list<std::string> queries);
    // What every completed parse does last.
    void CompleteParse();

    void VaCommRxBuf(const std::string& data);
    void VaModem21NoDialTone();
    void VaModem21Voice();
    void VaModem21Connect(const std::string& line);
    void VaModem1NoCarrier();

private:
    void prologue(TRequestKind r, bool testPath);

    SettingsStore& settings_;
    Memo& statusLog_;  // Memo1
    Memo& lineLog_;    // Memo2
};

}  // namespace lt
