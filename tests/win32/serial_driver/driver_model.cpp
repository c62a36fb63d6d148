#include "driver_model.h"

#include <algorithm>
#include <cwchar>

namespace serial_model {
namespace {

DriverModel* current = nullptr;

// OVERLAPPED.Internal holds an NTSTATUS; the model keeps a Win32 error in a customer code.
constexpr ULONG_PTR kPending = 0x103;    // STATUS_PENDING
constexpr ULONG_PTR kTimedOut = 0x102;   // STATUS_TIMEOUT: a success, with fewer bytes
constexpr ULONG_PTR kErrorBit = 0xE0000000;

constexpr wchar_t kPortPath[] = L"\\\\.\\COM1";

ULONG_PTR statusOf(DWORD error) { return error ? (kErrorBit | error) : 0; }

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

class Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    ~Lock() { LeaveCriticalSection(&cs_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& cs_;
};

}  // namespace

DriverModel::DriverModel() {
    InitializeCriticalSection(&lock_);
    kick_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    current = this;
    thread_ = CreateThread(nullptr, 0, lineThread, this, 0, nullptr);
}

DriverModel::~DriverModel() {
    {
        Lock lock(lock_);
        stop_ = true;
    }
    kick();
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(kick_);
    current = nullptr;
    DeleteCriticalSection(&lock_);
}

const lt::win32::CommApi& DriverModel::api() {
    static const lt::win32::CommApi table{createFile,     closeHandle,         setupComm,    getCommState,
                                          setCommState,   setCommTimeouts,     setCommMask,  purgeComm,
                                          waitCommEvent,  getOverlappedResult, cancelIo,     readFile,
                                          writeFile,      clearCommError};
    return table;
}

void DriverModel::setQuirks(const Quirks& quirks) {
    Lock lock(lock_);
    quirks_ = quirks;
}

void DriverModel::setCts(bool on) {
    {
        Lock lock(lock_);
        cts_ = on;
    }
    kick();
}

void DriverModel::setDsr(bool on) {
    Lock lock(lock_);
    dsr_ = on;
}

void DriverModel::pull(DWORD error, DWORD pendingError) {
    Lock lock(lock_);
    present_ = false;
    removalError_ = error;
    ++generation_;
    endAll(pendingError, 0);
    in_.clear();
    history_ = 0;
}

void DriverModel::plug() {
    Lock lock(lock_);
    present_ = true;
}

int DriverModel::openHandles() {
    Lock lock(lock_);
    int n = 0;
    for (const Handle& h : handles_) n += !h.closed;
    return n;
}

bool DriverModel::waitPending() {
    Lock lock(lock_);
    return waiting_;
}

long DriverModel::bytesQueued() {
    Lock lock(lock_);
    return queued_;
}

void DriverModel::count(Call call) {
    ++calls_;
    ++perCall_[static_cast<int>(call)];
}

bool DriverModel::enter(Call call, HANDLE handle) {
    count(call);
    for (const Handle& h : handles_) {
        if (h.value != handle || h.closed) continue;
        if (h.generation != generation_) return fail(removalError_);
        if (quirks_.refuse == call) return fail(ERROR_INVALID_PARAMETER);
        return true;
    }
    return fail(ERROR_INVALID_HANDLE);
}

HANDLE WINAPI DriverModel::createFile(LPCWSTR name, DWORD, DWORD share, LPSECURITY_ATTRIBUTES, DWORD, DWORD flags,
                                      HANDLE) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    m.count(Call::CreateFile);
    if (!m.present_ || std::wcscmp(name, kPortPath) != 0) {
        fail(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    for (const Handle& h : m.handles_) {
        if (!h.closed && h.generation == m.generation_) {  // a COM port opens once
            fail(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
    }
    if (share != 0 || !(flags & FILE_FLAG_OVERLAPPED)) {  // the model knows overlapped use only
        fail(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE value = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5E100 + 4 * m.handles_.size()));
    m.handles_.push_back({value, m.generation_, false});
    m.dcb_ = DCB{};
    m.dcb_.DCBlength = sizeof(DCB);
    m.dcb_.BaudRate = CBR_9600;
    m.dcb_.ByteSize = 8;
    m.dcb_.fBinary = TRUE;
    m.timeouts_ = COMMTIMEOUTS{};
    m.mask_ = m.history_ = m.errors_ = 0;
    m.in_.clear();
    m.command_.clear();
    return value;
}

BOOL WINAPI DriverModel::closeHandle(HANDLE handle) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    m.count(Call::CloseHandle);
    for (Handle& h : m.handles_) {
        if (h.value != handle || h.closed) continue;
        h.closed = true;
        if (h.generation == m.generation_) m.endAll(ERROR_OPERATION_ABORTED, 0);
        return TRUE;
    }
    return fail(ERROR_INVALID_HANDLE);
}

BOOL WINAPI DriverModel::setupComm(HANDLE handle, DWORD inQueue, DWORD) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    if (!m.enter(Call::SetupComm, handle)) return FALSE;
    m.inCapacity_ = inQueue;
    return TRUE;
}

BOOL WINAPI DriverModel::getCommState(HANDLE handle, LPDCB dcb) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    if (!m.enter(Call::GetCommState, handle)) return FALSE;
    *dcb = m.dcb_;
    return TRUE;
}

BOOL WINAPI DriverModel::setCommState(HANDLE handle, LPDCB dcb) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    if (!m.enter(Call::SetCommState, handle)) return FALSE;
    if (dcb->BaudRate == 0 || dcb->ByteSize < 5 || dcb->ByteSize > 8) return fail(ERROR_INVALID_PARAMETER);
    m.dcb_ = *dcb;
    return TRUE;
}

BOOL WINAPI DriverModel::setCommTimeouts(HANDLE handle, LPCOMMTIMEOUTS timeouts) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    if (!m.enter(Call::SetCommTimeouts, handle)) return FALSE;
    m.timeouts_ = *timeouts;
    return TRUE;
}

BOOL WINAPI DriverModel::setCommMask(HANDLE handle, DWORD mask) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    if (!m.enter(Call::SetCommMask, handle)) return FALSE;
    m.mask_ = mask;
    m.history_ = 0;
    if (m.waiting_) {
        *m.wait_.mask = 0;
        m.waiting_ = false;
        m.complete(m.wait_.ov, 0, sizeof(DWORD));
    }
    return TRUE;
}

BOOL WINAPI DriverModel::purgeComm(HANDLE handle, DWORD flags) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    if (!m.enter(Call::PurgeComm, handle)) return FALSE;
    if (flags & PURGE_RXCLEAR) m.in_.clear();
    if (flags & PURGE_TXABORT) {
        for (const Write& w : m.writes_) m.complete(w.ov, ERROR_OPERATION_ABORTED, 0);
        m.writes_.clear();
    }
    return TRUE;
}

BOOL WINAPI DriverModel::waitCommEvent(HANDLE handle, LPDWORD mask, LPOVERLAPPED ov) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    if (!m.enter(Call::WaitCommEvent, handle)) return FALSE;
    if (m.quirks_.failWaits) return fail(m.quirks_.failWaits);
    if (m.mask_ == 0 || m.waiting_) return fail(ERROR_INVALID_PARAMETER);
    ResetEvent(ov->hEvent);
    if (m.history_ & m.mask_) {
        *mask = m.history_ & m.mask_;
        m.history_ = 0;
        m.complete(ov, 0, sizeof(DWORD));
        return TRUE;
    }
    ov->Internal = kPending;
    m.wait_ = {ov, mask, GetTickCount(), GetCurrentThreadId(), m.quirks_.abortWaits != 0};
    m.waiting_ = true;
    m.kick();
    return fail(ERROR_IO_PENDING);
}

BOOL WINAPI DriverModel::getOverlappedResult(HANDLE, LPOVERLAPPED ov, LPDWORD bytes, BOOL wait) {
    DriverModel& m = *current;
    m.count(Call::GetOverlappedResult);
    // Only reads the OVERLAPPED, as the system does: it works on a pulled device too.
    EnterCriticalSection(&m.lock_);
    ULONG_PTR status = ov->Internal;
    LeaveCriticalSection(&m.lock_);
    if (status == kPending) {
        if (!wait) return fail(ERROR_IO_INCOMPLETE);
        WaitForSingleObject(ov->hEvent, INFINITE);
        EnterCriticalSection(&m.lock_);
        status = ov->Internal;
        LeaveCriticalSection(&m.lock_);
    }
    *bytes = static_cast<DWORD>(ov->InternalHigh);
    if (status == 0 || status == kTimedOut) return TRUE;
    return fail(static_cast<DWORD>(status & ~kErrorBit));
}

BOOL WINAPI DriverModel::cancelIo(HANDLE handle) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    m.count(Call::CancelIo);
    m.endAll(ERROR_OPERATION_ABORTED, GetCurrentThreadId());
    (void)handle;
    return TRUE;
}

BOOL WINAPI DriverModel::readFile(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD got, LPOVERLAPPED ov) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    if (!m.enter(Call::ReadFile, handle)) return FALSE;
    // Interval timeout MAXDWORD with no totals: what is waiting, at once. The model
    // knows no other timeouts.
    ResetEvent(ov->hEvent);
    const DWORD n = static_cast<DWORD>(std::min<size_t>(size, m.in_.size()));
    m.in_.copy(static_cast<char*>(buffer), n);
    m.in_.erase(0, n);
    *got = n;
    m.complete(ov, 0, n);
    return TRUE;
}

BOOL WINAPI DriverModel::writeFile(HANDLE handle, LPCVOID buffer, DWORD size, LPDWORD, LPOVERLAPPED ov) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    if (!m.enter(Call::WriteFile, handle)) return FALSE;
    ResetEvent(ov->hEvent);
    ov->Internal = kPending;
    const DWORD timeout = m.timeouts_.WriteTotalTimeoutMultiplier * size + m.timeouts_.WriteTotalTimeoutConstant;
    m.writes_.push_back({ov, std::string(static_cast<const char*>(buffer), size), GetTickCount(), timeout,
                         GetCurrentThreadId()});
    m.kick();
    return fail(ERROR_IO_PENDING);
}

BOOL WINAPI DriverModel::clearCommError(HANDLE handle, LPDWORD errors, LPCOMSTAT status) {
    DriverModel& m = *current;
    Lock lock(m.lock_);
    if (!m.enter(Call::ClearCommError, handle)) return FALSE;
    if (errors) *errors = m.errors_;
    m.errors_ = 0;
    if (status) {
        *status = COMSTAT{};
        status->cbInQue = static_cast<DWORD>(m.in_.size());
        for (const Write& w : m.writes_) status->cbOutQue += static_cast<DWORD>(w.bytes.size());
        status->fCtsHold = m.dcb_.fOutxCtsFlow && !m.cts_;
    }
    return TRUE;
}

DWORD WINAPI DriverModel::lineThread(void* self) {
    static_cast<DriverModel*>(self)->runLine();
    return 0;
}

void DriverModel::runLine() {
    for (;;) {
        DWORD next = INFINITE;
        {
            Lock lock(lock_);
            if (stop_) return;
            next = lineStep();
        }
        WaitForSingleObject(kick_, next);
    }
}

DWORD DriverModel::lineStep() {
    const DWORD now = GetTickCount();
    DWORD next = INFINITE;
    auto until = [&](DWORD issued, DWORD after) {
        const DWORD age = now - issued;
        if (age >= after) return true;
        next = std::min(next, after - age);
        return false;
    };
    // Bytes leave while CTS allows; a write still waiting when its total timeout has
    // passed ends unsent.
    while (!writes_.empty()) {
        Write& w = writes_.front();
        if (dcb_.fOutxCtsFlow && !cts_) {
            if (w.timeoutMs && until(w.issued, w.timeoutMs)) {
                finish(w.ov, kTimedOut, 0);
                writes_.pop_front();
                continue;
            }
            break;
        }
        const Write sent = w;
        writes_.pop_front();
        complete(sent.ov, 0, static_cast<DWORD>(sent.bytes.size()));
        if (writes_.empty()) raise(EV_TXEMPTY);
        for (char byte : sent.bytes) transmit(byte);
    }
    if (waiting_) {
        if (wait_.abort && until(wait_.issued, quirks_.abortAfterMs)) {
            waiting_ = false;
            if (quirks_.abortWaits > 0) --quirks_.abortWaits;
            complete(wait_.ov, ERROR_OPERATION_ABORTED, 0);
        } else if (quirks_.emptyWaitAfterMs && until(wait_.issued, quirks_.emptyWaitAfterMs)) {
            waiting_ = false;
            *wait_.mask = 0;
            complete(wait_.ov, 0, sizeof(DWORD));
        }
    }
    return next;
}

// The far end echoes every byte and answers a command at its CR.
void DriverModel::transmit(char byte) {
    receive(std::string(1, byte));
    if (byte != '\r') {
        command_ += byte;
        return;
    }
    if (answer) receive(answer(command_));
    command_.clear();
}

void DriverModel::receive(const std::string& bytes) {
    if (dcb_.fDsrSensitivity && !dsr_) return;
    DWORD events = 0;
    for (char byte : bytes) {
        if (dcb_.fNull && byte == '\0') continue;
        if (in_.size() >= inCapacity_) {
            errors_ |= CE_RXOVER;
            events |= EV_ERR;
            continue;
        }
        in_ += byte;
        ++queued_;
        events |= EV_RXCHAR;
    }
    raise(events);
}

void DriverModel::raise(DWORD events) {
    if (quirks_.noTxEmpty) events &= ~EV_TXEMPTY;
    events &= mask_;
    if (!events) return;
    if (!waiting_) {
        history_ |= events;
        return;
    }
    waiting_ = false;
    *wait_.mask = events;
    complete(wait_.ov, 0, sizeof(DWORD));
}

void DriverModel::complete(OVERLAPPED* ov, DWORD error, DWORD bytes) { finish(ov, statusOf(error), bytes); }

void DriverModel::finish(OVERLAPPED* ov, ULONG_PTR status, DWORD bytes) {
    ov->InternalHigh = bytes;
    ov->Internal = status;
    SetEvent(ov->hEvent);
}

void DriverModel::endAll(DWORD error, DWORD thread) {
    if (waiting_ && (!thread || wait_.thread == thread)) {
        waiting_ = false;
        complete(wait_.ov, error, 0);
    }
    for (auto it = writes_.begin(); it != writes_.end();) {
        if (thread && it->thread != thread) {
            ++it;
            continue;
        }
        complete(it->ov, error, 0);
        it = writes_.erase(it);
    }
}

}  // namespace serial_model
