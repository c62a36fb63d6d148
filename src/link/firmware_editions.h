// What the program knows of each firmware edition: the text its identification reply
// holds, the series and code stored for it, the edition line the information page
// shows, and the editors it supports.
#pragma once
#include <span>
#include <string>

namespace lt {

struct FirmwareEdition {
    const char* identification;
    const char* series;  // stored as "modem"
    const char* code;    // stored as "version"
    const char* editionLine;
    bool vendorRegisters;  // the busy-tone group and everything on "Регистры +"
    bool lineAdaptation;   // the group "Дополнительно"
    bool s17Register;      // the second bit register is S17 with its own bit names
};

// In the order an identification reply is tested against them: when several match, the
// last one wins.
std::span<const FirmwareEdition> firmwareEditions();

// The edition stored with this code, or nullptr. Codes compare exactly: a code in another
// letter case is an unknown edition.
const FirmwareEdition* editionWithCode(const std::string& code);

}  // namespace lt
