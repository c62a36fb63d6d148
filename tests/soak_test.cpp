// A long run of every kind of request against the simulated modem, with line and modem
// faults and timing jitter drawn from a fixed seed: nothing may crash, every buffer stays
// within its bound, the process does not grow, and every read that completes without a
// fault shows exactly the modem's registers.
//
// LINETRIM_SOAK_REQUESTS sets the number of requests (default 10000);
// LINETRIM_SOAK_SEED the seed.
#include <cstdio>
#include <cstdlib>
#include <random>

#include "program_fixture.h"
#include "read_kinds.h"
#include "sim/editions.h"
#include "sim/output_queue.h"

namespace lt::testing {
namespace {

long residentKiB() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * 4;
}

unsigned long fromEnvironment(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

enum class Fault { None, ShortValues, EchoDropped, Silent, ReplyDelay, CtsOff, DsrOff, LineErrors, Noise, Unplug,
                   UnpluggedWhileIdle };
constexpr int kFaultKinds = 11;

// Editions whose gating enables every editor the soak uses.
constexpr sim::Edition kIdentities[] = {sim::Edition::B65a, sim::Edition::B66a, sim::Edition::B67,
                                        sim::Edition::R47ab, sim::Edition::R48ab, sim::Edition::R47b};

class Soak : public ProgramTest {
protected:
    void SetUp() override {
        seedSettings();
        start();
        hp.modem().setLogLimit(4096);
        rng.seed(static_cast<unsigned>(fromEnvironment("LINETRIM_SOAK_SEED", 20240611)));
    }

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    // Runs action before the byte at position `at` of what is sent next.
    void atCharacter(int at, std::function<void()> action) {
        hp.serial.beforeWrite = [this, at, action, n = 0]() mutable {
            if (n++ == at) action();
        };
    }

    void applyFault(Fault f) {
        switch (f) {
            case Fault::None: break;
            case Fault::ShortValues: hp.modem().setShortValues(true); break;
            case Fault::EchoDropped: hp.modem().setEchoDropped(true); break;
            case Fault::Silent: hp.modem().setSilent(true); break;
            case Fault::ReplyDelay: hp.modem().setReplyDelayMs(static_cast<uint32_t>(pick(50, 3000))); break;
            case Fault::CtsOff: atCharacter(pick(0, 40), [this] { hp.serial.ctsOn = false; }); break;
            case Fault::DsrOff: hp.serial.dsrOn = false; break;
            case Fault::LineErrors: hp.serial.beforeWrite = [this] { hp.serial.raiseLineError(); }; break;
            case Fault::Noise: hp.serial.inject(noise()); break;
            case Fault::Unplug: atCharacter(pick(0, 40), [this] { hp.serial.unplugged = true; }); break;
            case Fault::UnpluggedWhileIdle: hp.serial.unplugged = true; break;
        }
    }

    void clearFaults() {
        hp.modem().setShortValues(false);
        hp.modem().setEchoDropped(false);
        hp.modem().setSilent(false);
        hp.modem().setReplyDelayMs(0);
        hp.serial.ctsOn = true;
        hp.serial.dsrOn = true;
        hp.serial.unplugged = false;
        hp.serial.beforeWrite = nullptr;
    }

    // Bytes a noisy line brings: no "A", so no echo is forged; result lines now and then.
    std::string noise() {
        static const char kAlphabet[] = "0123456789BCKOQRSTZ?=+:, \r\n\xFF";
        std::string text(static_cast<size_t>(pick(1, 200)), ' ');
        for (char& c : text) c = kAlphabet[pick(0, static_cast<int>(sizeof kAlphabet) - 1)];  // NUL included
        if (pick(0, 3) == 0) text += "\r\nNO CARRIER\r\n";
        if (pick(0, 3) == 0) text += "\r\nRING\r\n";
        return text;
    }

    // The user's edits before a write, so that writes change the modem and reads must follow.
    void editBusy() {
        auto& b = form().busyTone;
        for (Edit* e : {&b.Edit2, &b.Edit3, &b.Edit4, &b.Edit5, &b.Edit6}) user->type(*e, std::to_string(pick(0, 255)));
    }
    void editExt() {
        for (int i = 0; i < 4; ++i) {
            user->toggle(form().extRegs.CheckListBox1, pick(0, 7));
            user->toggle(form().extRegs.CheckListBox2, pick(0, 7));
        }
    }
    void editSpeed() {
        auto& s = form().speed;
        user->pick(s.ComboBox2, pick(3, 4));  // V90 or V92: both receive over the full list
        user->pick(s.ComboBox9, pick(0, 1));
        for (ComboBox* c : {&s.ComboBox3, &s.ComboBox4, &s.ComboBox5, &s.ComboBox6})
            user->pick(*c, pick(0, static_cast<int>(c->items().size()) - 1));
        user->pick(s.ComboBox8, pick(0, 4));
    }

    // One request of a random kind; true when the program accepted it (gating may refuse).
    bool request(int kind) {
        auto& f = form();
        switch (kind) {
            case 0: case 1: case 2: case 3: case 4: case 5: return user->click(readKinds()[kind].button(f));
            case 6: editBusy(); return user->click(f.busyTone.SpeedButton5);
            case 7: user->slide(f.levels.RxSlider1, pick(3, 20)); return user->click(f.levels.SpeedButton13);
            case 8:
                user->slide(f.levels.RxSlider2, pick(1, 9));
                user->slide(f.levels.RxSlider3, pick(1, 9));
                return user->click(f.levels.SpeedButton16);
            case 9: editExt(); return user->click(f.extRegs.SpeedButton2);
            case 10: editSpeed(); return user->click(f.speed.SpeedButton10);
            case 11: return user->click(f.busyTone.SpeedButton8);
            case 12: return user->click(f.levels.SpeedButton14);
            case 13: return user->click(f.levels.SpeedButton17);
            case 14: return user->click(f.extRegs.SpeedButton7);
            case 15: return user->click(f.speed.SpeedButton11);
            case 16: return user->click(f.initString.SpeedButton18);
            case 17: return user->click(f.initString.SpeedButton19);
            case 18: return user->click(f.initString.SpeedButton20);
            case 19: return carryThroughTheCadenceEditor();
        }
        return false;
    }
    static constexpr int kRequestKinds = 20;

    bool carryThroughTheCadenceEditor() {
        auto& b = form().busyTone;
        const std::vector<Edit*> fields = {&b.Edit2, &b.Edit3, &b.Edit4, &b.Edit5};
        std::vector<std::string> carried;
        for (Edit* e : fields) carried.push_back(std::to_string(std::stoi(e->text().empty() ? "0" : e->text())));
        const std::string count = b.Edit6.text();
        if (!user->click(b.LMD3DEffectButton1)) return false;
        if (!user->click(program->Form4->SpeedButton1)) return false;
        for (size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(fields[i]->text(), carried[i]);
        EXPECT_EQ(b.Edit6.text(), count);
        return true;
    }

    void expectBounded() {
        ASSERT_LE(link().RxText.size(), CommandExchange::kMaxRxText);
        ASSERT_LE(form().Memo1.lines().size(), form().Memo1.maxLines);
        ASSERT_LE(form().Memo2.lines().size(), form().Memo2.maxLines);
        ASSERT_LE(hp.serial.queued(), 4096u);
        ASSERT_LE(hp.modem().log().size(), hp.modem().logLimit());
        ASSERT_LE(hp.modem().pendingOutputBytes(), sim::OutputQueue::kCapacity);
    }

    std::mt19937 rng;
};

TEST_F(Soak, EveryKindOfRequestWithFaultsAndJitter) {
    const unsigned long requests = fromEnvironment("LINETRIM_SOAK_REQUESTS", 10000);
    sim::Edition identity = sim::Edition::B65a;
    bool commandCut = false;  // the modem may hold the start of a command
    long residentAfterFirstThousand = 0;
    struct {
        unsigned long accepted = 0, faulty = 0, errorBoxes = 0, verified = 0;
    } count;

    for (unsigned long n = 0; n < requests; ++n) {
        SCOPED_TRACE("request " + std::to_string(n));
        const Fault fault = pick(0, 2) == 0 ? static_cast<Fault>(pick(1, kFaultKinds - 1)) : Fault::None;
        const int kind = pick(0, kRequestKinds);  // kRequestKinds stands for the identification
        // Line errors and noise ahead of the reply must not spoil a read. Text still on its
        // way from an earlier request would arrive ahead of this reply and may; so may a
        // command cut short, which the modem joins to the next one ("ATE" + "ATE1" turns
        // its echo off until the next "ATE1").
        const bool harmless = fault == Fault::None || fault == Fault::LineErrors || fault == Fault::Noise;
        const bool clean = harmless && !commandCut && hp.modem().pendingOutputBytes() == 0 && hp.serial.queued() == 0;
        if (kind == kRequestKinds) {
            identity = kIdentities[pick(0, static_cast<int>(std::size(kIdentities)) - 1)];
            hp.modem().setIdentification(sim::identificationText(identity));
        }
        applyFault(fault);
        const bool accepted =
            kind == kRequestKinds ? user->click(form().information.SpeedButton6) : request(kind);
        count.accepted += accepted;
        const bool sendsWhole = fault != Fault::CtsOff && fault != Fault::Unplug &&
                                fault != Fault::UnpluggedWhileIdle && fault != Fault::Silent;
        if (fault == Fault::CtsOff || fault == Fault::Unplug) commandCut = true;
        else if (accepted && sendsWhole && (kind <= 10 || kind == kRequestKinds)) commandCut = false;
        count.faulty += fault != Fault::None;
        const bool errorShown = !errors().empty();
        count.errorBoxes += hp.desktop.messageBoxes.size();

        const bool isRead = kind < 6 || kind == kRequestKinds;
        if (accepted && clean && isRead) {
            const ReadKind& read = readKinds()[kind == kRequestKinds ? 2 : kind];
            EXPECT_FALSE(errorShown) << read.name << ": " << (errorShown ? errors().front() : "");
            EXPECT_EQ(link().PendingRequest, rqWrite) << read.name << " did not complete";
            EXPECT_EQ(read.shown(form(), hp.registry), read.expected(hp.modem(), identity)) << read.name;
            ++count.verified;
        }

        clearFaults();
        hp.clock.advance(static_cast<uint32_t>(pick(0, 200)));
        hp.desktop.processMessages();
        expectBounded();
        // What the harness itself records must not count as the program's memory.
        hp.desktop.messageBoxes.clear();
        hp.registry.writeLog.clear();
        if (n + 1 == std::min(requests, 1000ul)) residentAfterFirstThousand = residentKiB();
        if (HasFatalFailure() || (HasFailure() && n > 50)) break;
    }
    const long residentAtEnd = residentKiB();
    std::printf("soak: %lu requests, %lu accepted, %lu with a fault, %lu error boxes, %lu reads verified; "
                "resident %ld KiB after the first thousand, %ld KiB at the end\n",
                requests, count.accepted, count.faulty, count.errorBoxes, count.verified, residentAfterFirstThousand,
                residentAtEnd);
    EXPECT_GT(count.verified, requests / 10) << "too few reads were checked";
    EXPECT_LE(residentAtEnd - residentAfterFirstThousand, 1024) << "KiB grown over the run";
}

}  // namespace
}  // namespace lt::testing
