#include "command_exchange.h"

#include "base/int_text.h"

namespace lt {
namespace {

constexpr int kCharDelayMs = 50;
constexpr char kStoreProfile[] = "at&w&w0&w1\r";

}  // namespace

CommandExchange::CommandExchange(SettingsStore& settings, SerialDevice& device, Clock& clock,
                                 EventGuard& guard, Memo& statusLog, Memo& lineLog)
    : VaComm(device, guard), VaModem1(VaComm, clock), settings_(settings), statusLog_(statusLog),
      lineLog_(lineLog) {
    VaComm.rxTap = [this](const std::string& data) { VaModem1.feed(data); };
    VaComm.onRxBuf = [this](const std::string& data) { VaCommRxBuf(data); };
    VaModem1.onNoDialTone = [this] { VaModem21NoDialTone(); };
    VaModem1.onVoice = [this] { VaModem21Voice(); };
    VaModem1.onConnect = [this](const std::string& line) { VaModem21Connect(line); };
    VaModem1.onNoCarrier = [this] { VaModem1NoCarrier(); };
}

void CommandExchange::prologue(TRequestKind r, bool testPath) {
    // An empty "path" or "port" once hid the main window here, with nothing to bring it
    // back; the window stays visible and the request goes on to its own failure.
    if (testPath) settings_.ReadSetting(setting::kPath);
    const std::string port = settings_.ReadSetting(setting::kPort);
    VaComm.setPortNum(StrToInt(port));
    if (!VaComm.isOpen()) VaComm.open();
    PendingRequest = r;
    ReplyTaken = false;
    VaModem1.resetToIdle();
    RxText.clear();
}

void CommandExchange::OpenModemLink(TRequestKind r) { prologue(r, true); }

void CommandExchange::SendAndSaveProfile(TRequestKind r, const std::string& command) {
    prologue(r, false);
    Send(command + "\r");
    Send(kStoreProfile);
}

void CommandExchange::Send(const std::string& command) {
    VaModem1.charDelay = kCharDelayMs;
    VaModem1.send(command);
}

void CommandExchange::SendQueries(TRequestKind r, std::initializer_list<std::string> queries) {
    OpenModemLink(r);
    Send("ATE1\r");
    for (const std::string& query : queries) Send(query + "\r");
}

void CommandExchange::CompleteParse() {
    RxText.clear();
    PendingRequest = rqWrite;
}

void CommandExchange::VaCommRxBuf(const std::string& data) {
    for (char c : data) {
        if (c == '\n') continue;
        if (c == '\r') {
            lineLog_.addLine("");
            continue;
        }
        if (RxText.size() < kMaxRxText) RxText += c;
    }
}

void CommandExchange::VaModem21NoDialTone() { statusLog_.addLine("No dialtone"); }
void CommandExchange::VaModem21Voice() { statusLog_.addLine("Voice line"); }
void CommandExchange::VaModem21Connect(const std::string& line) { statusLog_.addLine("Connect: " + line); }
void CommandExchange::VaModem1NoCarrier() { statusLog_.addLine("No Carrier."); }

}  // namespace lt
