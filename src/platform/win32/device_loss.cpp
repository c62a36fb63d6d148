#include "device_loss.h"

namespace lt::win32 {
namespace {

// Errors of a port whose device has gone: usbser and most adapters' drivers answer
// ERROR_BAD_COMMAND, ERROR_ACCESS_DENIED or ERROR_GEN_FAILURE once the adapter is pulled,
// others ERROR_DEV_NOT_EXIST, ERROR_FILE_NOT_FOUND or ERROR_IO_DEVICE, newer systems
// ERROR_DEVICE_REMOVED or ERROR_DEVICE_NOT_CONNECTED; Wine answers ERROR_NOT_READY once
// the far end of its pseudo-terminal has closed.
bool meansGone(DWORD error) {
    switch (error) {
        case ERROR_BAD_COMMAND:
        case ERROR_ACCESS_DENIED:
        case ERROR_GEN_FAILURE:
        case ERROR_NOT_READY:
        case ERROR_INVALID_HANDLE:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_IO_DEVICE:
        case ERROR_DEVICE_REMOVED:
        case ERROR_DEVICE_NOT_CONNECTED: return true;
        default: return false;
    }
}

bool isTimeout(DWORD error) { return error == ERROR_SEM_TIMEOUT || error == ERROR_TIMEOUT || error == WAIT_TIMEOUT; }

}  // namespace

void DeviceLoss::note(HANDLE port, DWORD error, bool askStatus) {
    if (meansGone(error)) {
        lost_ = true;
        return;
    }
    // Drivers fail in many ways once their device has gone, also with errors that say
    // nothing by themselves (a request cut short as on a surprise removal): a device whose
    // status cannot be read has gone. Not the modem status: Wine cannot read that from a
    // pseudo-terminal. A time-out says nothing.
    DWORD errors = 0;
    COMSTAT status{};
    if (askStatus && !isTimeout(error) && !api_.clearCommError(port, &errors, &status)) lost_ = true;
}

}  // namespace lt::win32
