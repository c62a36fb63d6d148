// The COM port as the program uses it (Win32SerialDevice under the portable CommPort
// and Modem, its event thread, its message window and its hand-over) against a model of
// the Windows serial driver: drivers that behave and drivers that misbehave, flow
// control, pulled devices and refused configuration calls.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/failure.h"
#include "driver_model.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_serial_device.h"
#include "port/comm_port.h"
#include "port/modem.h"

namespace {

using serial_model::Call;
using serial_model::DriverModel;
using serial_model::Quirks;

std::vector<std::string>* faults = nullptr;
std::string* figures = nullptr;  // what a case measured, printed beside its result

void expect(bool ok, const std::string& what) {
    if (!ok) faults->push_back(what);
}

std::string number(long long n) { return std::to_string(n); }

// Runs every handler as the application's default handler does; failures are kept so
// that a case can insist there were none.
class RecordingGuard : public lt::EventGuard {
public:
    void run(const std::function<void()>& handler) override {
        ++handOvers;
        try {
            handler();
        } catch (const lt::Failure& failure) {
            failures.push_back(failure.what());
        }
    }
    int handOvers = 0;
    std::vector<std::string> failures;
};

// The modem at the far end: "ATSnnn?" answers nnn, anything else OK.
std::string answerOf(const std::string& command) {
    if (command.size() == 7 && command.compare(0, 3, "ATS") == 0 && command[6] == '?')
        return "\r\n" + command.substr(3, 3) + "\r\nOK\r\n";
    return "\r\nOK\r\n";
}

// The port, the modem component and a dispatch that parses a reply longer than 20
// characters on transmit-empty, as the main window does.
struct Rig {
    DriverModel model;
    lt::win32::Win32SerialDevice device{DriverModel::api()};
    RecordingGuard guard;
    lt::CommPort port{device, guard};
    lt::win32::Win32Clock clock;
    lt::Modem modem{port, clock};

    std::string rxText;
    bool pending = false;
    std::vector<std::string> parses;
    bool parsesSawAll = true;  // every byte received before a parse was handed over before it
    long handedBytes = 0;

    Rig() {
        model.answer = answerOf;
        modem.charDelay = 5;
        port.rxTap = [this](const std::string& data) { modem.feed(data); };
        port.onRxBuf = [this](const std::string& data) {
            handedBytes += static_cast<long>(data.size());
            for (char c : data)
                if (c != '\r' && c != '\n') rxText += c;
        };
        port.onTxEmpty = [this] {
            if (!pending || rxText.size() <= 20) return;
            parsesSawAll = parsesSawAll && handedBytes == model.bytesQueued();
            parses.push_back(rxText);
            rxText.clear();
            pending = false;
        };
    }

    // The message loop for up to ms, or until done.
    void pump(DWORD ms, const std::function<bool()>& done = [] { return false; }) {
        const DWORD start = GetTickCount();
        for (;;) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            const DWORD elapsed = GetTickCount() - start;
            if (done() || elapsed >= ms) return;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(ms - elapsed, 10), QS_ALLINPUT);
        }
    }

    // The prologue and the paced script of a read of two registers; the failure's
    // message, empty when it was sent.
    std::string sendRead(const std::string& first, const std::string& second) {
        try {
            port.open();
            pending = true;
            modem.resetToIdle();
            rxText.clear();
            for (const std::string& command : {std::string("ATE1"), "ATS" + first + "?", "ATS" + second + "?"})
                modem.send(command + "\r");
        } catch (const lt::Failure& failure) {
            return failure.what();
        }
        return "";
    }

    // A read whose reply must be handed over whole and parsed once.
    void read(const std::string& first, const std::string& second) {
        const size_t before = parses.size();
        const std::string failure = sendRead(first, second);
        expect(failure.empty(), "read S" + first + " failed: " + failure);
        pump(3000, [&] { return parses.size() > before; });
        const std::string expected = "ATE1OKATS" + first + "?" + first + "OKATS" + second + "?" + second + "OK";
        if (parses.size() != before + 1) {
            expect(false, "read S" + first + " not parsed; received \"" + rxText + "\"");
            return;
        }
        expect(parses.back() == expected, "read parsed \"" + parses.back() + "\", not \"" + expected + "\"");
    }

    // Nothing after the last parse, no byte lost, no handler failed.
    void expectSettled(size_t reads) {
        pump(300);
        expect(parses.size() == reads, number(parses.size()) + " parses for " + number(reads) + " reads");
        expect(rxText.empty(), "received after the parse: \"" + rxText + "\"");
        expect(handedBytes == model.bytesQueued(),
               number(model.bytesQueued()) + " bytes received, " + number(handedBytes) + " handed over");
        expect(parsesSawAll, "a parse ran before every byte received had been handed over");
        for (const std::string& failure : guard.failures) expect(false, "handler failed: " + failure);
    }

    void expectQuickClose() {
        const DWORD start = GetTickCount();
        port.close();
        const DWORD elapsed = GetTickCount() - start;
        *figures += "close " + number(elapsed) + " ms ";
        expect(elapsed <= 2000, "close took " + number(elapsed) + " ms");
        expect(model.openHandles() == 0, "the handle is still open after close");
    }
};

// ---- Drivers: three reads, an idle second, close.

struct DriverCase {
    const char* name;
    Quirks quirks;
    DWORD settleMs;       // before the idle second
    long maxIdleCalls;    // calls on the driver in the idle second
    bool waitsWhenIdle;   // a wait is pending when idle (not watching the queues)
};

void runDriver(const DriverCase& c) {
    Rig rig;
    rig.model.setQuirks(c.quirks);
    rig.read("203", "204");
    rig.read("205", "206");
    rig.read("210", "215");
    rig.expectSettled(3);
    rig.pump(c.settleMs);
    const long before = rig.model.calls();
    rig.pump(1000);
    const long idle = rig.model.calls() - before;
    *figures += number(idle) + " calls in an idle second, ";
    expect(idle <= c.maxIdleCalls, number(idle) + " calls in an idle second, at most " + number(c.maxIdleCalls));
    if (c.waitsWhenIdle) expect(rig.model.waitPending(), "no wait pending when idle: the port watches its queues");
    expect(!rig.device.lost() && rig.model.calls(Call::CreateFile) == 1,
           "the device was taken for lost; opened " + number(rig.model.calls(Call::CreateFile)) + " times");
    rig.expectQuickClose();
}

Quirks quirks(const std::function<void(Quirks&)>& set) {
    Quirks q;
    set(q);
    return q;
}

const DriverCase kDrivers[] = {
    {"serial.sys", {}, 0, 2, true},
    {"waits end with an empty mask", quirks([](Quirks& q) { q.emptyWaitAfterMs = 30; }), 0, 16, false},
    {"one wait aborted (selective suspend)", quirks([](Quirks& q) { q.abortWaits = 1; }), 0, 2, true},
    {"waits aborted for a while", quirks([](Quirks& q) { q.abortWaits = 3; }), 3500, 2, true},
    {"every wait aborted (Wine on a pseudo-terminal)", quirks([](Quirks& q) { q.abortWaits = -1; }), 2100, 16,
     false},
    {"waits fail at once", quirks([](Quirks& q) { q.failWaits = ERROR_INVALID_FUNCTION; }), 2100, 16, false},
    {"no transmit-empty", quirks([](Quirks& q) { q.noTxEmpty = true; }), 0, 2, true},
};

// ---- Lines: CTS holds writes back, DSR off drops what arrives.

void runCtsOff() {
    Rig rig;
    rig.read("203", "204");
    rig.model.setCts(false);
    const DWORD start = GetTickCount();
    const std::string failure = rig.sendRead("205", "206");
    const DWORD elapsed = GetTickCount() - start;
    expect(failure == "TVaModem: error writing to comm.", "CTS off: \"" + failure + "\"");
    expect(elapsed >= 900 && elapsed <= 2500, "CTS off: the write failed after " + number(elapsed) + " ms");
    expect(!rig.device.lost() && rig.port.isOpen(), "CTS off: the port was given up");
    rig.model.setCts(true);
    rig.read("210", "215");
    rig.expectSettled(2);
    rig.expectQuickClose();
}

void runDsrOff() {
    Rig rig;
    rig.model.setDsr(false);
    expect(rig.sendRead("203", "204").empty(), "DSR off: the script was not sent");
    rig.pump(500);
    expect(rig.parses.empty() && rig.model.bytesQueued() == 0, "DSR off: bytes were received");
    rig.model.setDsr(true);
    rig.read("205", "206");
    rig.expectSettled(1);
    rig.expectQuickClose();
}

// ---- A pulled device: lost, closed, opened afresh once it is back.

struct Removal {
    const char* name;
    DWORD error;
};

const Removal kRemovals[] = {
    {"ERROR_BAD_COMMAND", ERROR_BAD_COMMAND},
    {"ERROR_GEN_FAILURE", ERROR_GEN_FAILURE},
    {"ERROR_DEVICE_NOT_CONNECTED", ERROR_DEVICE_NOT_CONNECTED},
    {"ERROR_DEV_NOT_EXIST", ERROR_DEV_NOT_EXIST},
    {"ERROR_FILE_NOT_FOUND", ERROR_FILE_NOT_FOUND},
    {"ERROR_IO_DEVICE", ERROR_IO_DEVICE},
    {"ERROR_ACCESS_DENIED", ERROR_ACCESS_DENIED},
};

void runRemoval(DWORD error, DWORD pendingError) {
    Rig rig;
    rig.read("203", "204");
    rig.model.pull(error, pendingError);
    const DWORD pulled = GetTickCount();
    rig.pump(1500, [&] { return rig.device.lost(); });
    *figures += "lost after " + number(GetTickCount() - pulled) + " ms, ";
    expect(rig.device.lost(), "not marked lost");
    expect(!rig.port.isOpen(), "still counts as open");
    const std::string failure = rig.sendRead("205", "206");
    expect(failure == "Invalid port number (COM1)", "read while absent: \"" + failure + "\"");
    expect(rig.model.openHandles() == 0, "the dead handle was not closed");
    rig.model.plug();
    rig.read("210", "215");
    expect(rig.model.calls(Call::CreateFile) == 3, number(rig.model.calls(Call::CreateFile)) + " opens, not 3");
    rig.expectSettled(2);
    rig.expectQuickClose();
}

// ---- A driver refusing a configuration call: the open fails with the port's message.

struct Refusal {
    Call call;
    const char* message;  // before " (87), " and the system's text
};

const Refusal kRefusals[] = {
    {Call::SetupComm, "Error writing buffer sizes"}, {Call::GetCommState, "Error reading dcb"},
    {Call::SetCommState, "Error writing dcb"},       {Call::SetCommTimeouts, "Error writing timeouts"},
    {Call::SetCommMask, "Error writing event mask"}, {Call::PurgeComm, "Error purging buffers"},
};

void runRefusal(const Refusal& r) {
    Rig rig;
    rig.model.setQuirks(quirks([&](Quirks& q) { q.refuse = r.call; }));
    const std::string failure = rig.sendRead("203", "204");
    const std::string start = std::string(r.message) + " (87), ";
    expect(failure.compare(0, start.size(), start) == 0 && failure.size() > start.size(),
           "open: \"" + failure + "\", not \"" + start + "<text>\"");
    expect(rig.model.openHandles() == 0 && !rig.port.isOpen(), "the port stays open after the failure");
    rig.model.setQuirks({});
    rig.read("205", "206");
    rig.expectSettled(1);
    rig.expectQuickClose();
}

struct Case {
    std::string name;
    std::function<void()> run;
};

std::vector<Case> cases() {
    std::vector<Case> all;
    for (const DriverCase& c : kDrivers) all.push_back({std::string("driver: ") + c.name, [c] { runDriver(c); }});
    all.push_back({"line: CTS off", runCtsOff});
    all.push_back({"line: DSR off", runDsrOff});
    for (const Removal& r : kRemovals) {
        all.push_back({std::string("pulled: ") + r.name, [r] { runRemoval(r.error, r.error); }});
        all.push_back({std::string("pulled: ") + r.name + ", requests aborted",
                       [r] { runRemoval(r.error, ERROR_OPERATION_ABORTED); }});
    }
    for (const Refusal& r : kRefusals) all.push_back({std::string("refused: ") + r.message, [r] { runRefusal(r); }});
    return all;
}

}  // namespace

int main() {
    setvbuf(stdout, nullptr, _IONBF, 0);
    int passed = 0, failed = 0;
    for (const Case& c : cases()) {
        std::vector<std::string> found;
        std::string measured;
        faults = &found;
        figures = &measured;
        const DWORD start = GetTickCount();
        try {
            c.run();
        } catch (const std::exception& e) {
            found.push_back(std::string("exception: ") + e.what());
        }
        const DWORD elapsed = GetTickCount() - start;
        std::printf("%s %s (%lu ms; %s)\n", found.empty() ? "ok  " : "FAIL", c.name.c_str(),
                    static_cast<unsigned long>(elapsed), measured.c_str());
        for (const std::string& f : found) std::printf("       %s\n", f.c_str());
        (found.empty() ? passed : failed)++;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
