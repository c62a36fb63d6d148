#include "comm_api.h"

namespace lt::win32 {

const CommApi& systemCommApi() {
    static const CommApi api{CreateFileW,     CloseHandle,      SetupComm,          GetCommState,
                             SetCommState,    SetCommTimeouts,  SetCommMask,        PurgeComm,
                             WaitCommEvent,   GetOverlappedResult, CancelIo,        ReadFile,
                             WriteFile,       ClearCommError};
    return api;
}

}  // namespace lt::win32
