// The modem component over the serial port: the paced send and the recognition of
// result lines. The program never dials, so only these two duties exist.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "comm_port.h"
#include "system/clock.h"

namespace lt {

class Modem {
public:
    Modem(CommPort& port, Clock& clock);

    // Pause in ms after each character sent.
    int charDelay = 0;

    // Result texts recognised in received lines, as the main window configures them.
    struct ResultTexts {
        std::string ok = "OK", connect = "CONNECT", busy = "BUSY", voice = "VOICE",
                    noCarrier = "NO CARRIER", noDialTone = "NO DIALTONE", error = "ERROR",
                    ring = "RING";
    } results;

    // Sends text one character at a time, waiting more than charDelay ms after each;
    // handles no window message meanwhile. Raises "TVaModem: error writing to comm."
    // when the port does not take a character.
    void send(const std::string& text);
    // Stops waiting for any command reply. The program starts no command of the
    // component's own, so this only forgets a partly received line.
    void resetToIdle();
    // Line recognition of received bytes (the port's receive tap).
    void feed(const std::string& bytes);

    std::function<void()> onOk, onError, onBusy, onVoice, onNoCarrier, onNoDialTone, onRing;
    std::function<void(const std::string& line)> onConnect;

private:
    void recognise(const std::string& line);

    CommPort& port_;
    Clock& clock_;
    std::string line_;
};

}  // namespace lt
