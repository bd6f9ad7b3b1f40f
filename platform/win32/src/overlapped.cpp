#include "overlapped.h"
#include "win32/internal.h"

#include "win32/errors.h"

namespace win32::detail {

namespace {

// Failures are kept as NTSTATUS values of the Win32 facility, as Windows does.
const ULONG_PTR kWin32Facility = 0xC0070000u;

ULONG_PTR LoadStatus(const OVERLAPPED* overlapped)
{
    return __atomic_load_n(&overlapped->Internal, __ATOMIC_ACQUIRE);
}

// Wakes waits on records whose operation has no event; guarded by SyncMutex.
std::condition_variable& CompletionSignal()
{
    static auto* signal = new std::condition_variable;
    return *signal;
}

}  // namespace

void BeginPending(OVERLAPPED* overlapped)
{
    __atomic_store_n(&overlapped->InternalHigh, 0, __ATOMIC_RELAXED);
    __atomic_store_n(&overlapped->Internal, STATUS_PENDING, __ATOMIC_RELEASE);
}

void CompleteOverlapped(OVERLAPPED* overlapped, const std::shared_ptr<Event>& event, DWORD error, DWORD bytes)
{
    std::lock_guard<std::mutex> lock(SyncMutex());
    __atomic_store_n(&overlapped->InternalHigh, bytes, __ATOMIC_RELAXED);
    __atomic_store_n(&overlapped->Internal, error == ERROR_SUCCESS ? 0 : (kWin32Facility | (error & 0xFFFFu)),
                     __ATOMIC_RELEASE);
    CompletionSignal().notify_all();
    if (event)
        event->SetSignalled(true);
}

void WaitForCompletion(const OVERLAPPED* overlapped)
{
    std::unique_lock<std::mutex> lock(SyncMutex());
    CompletionSignal().wait(lock, [&] { return LoadStatus(overlapped) != STATUS_PENDING; });
}

DWORD OverlappedError(const OVERLAPPED* overlapped)
{
    const ULONG_PTR status = LoadStatus(overlapped);
    if (status == STATUS_PENDING)
        return ERROR_IO_PENDING;
    if (status == 0)
        return ERROR_SUCCESS;
    if ((status & 0xFFFF0000u) == kWin32Facility)
        return static_cast<DWORD>(status & 0xFFFFu);
    return ERROR_GEN_FAILURE;
}

}  // namespace win32::detail

using namespace win32::detail;

BOOL HasOverlappedIoCompleted(const OVERLAPPED* overlapped)
{
    return LoadStatus(overlapped) != STATUS_PENDING;
}

BOOL GetOverlappedResult(HANDLE, LPOVERLAPPED overlapped, LPDWORD bytesTransferred, BOOL wait)
{
    if (!overlapped) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (LoadStatus(overlapped) == STATUS_PENDING) {
        if (!wait) {
            SetLastError(ERROR_IO_INCOMPLETE);
            return FALSE;
        }
        // The event may be set by someone else too; the record decides when the wait is over.
        if (overlapped->hEvent)
            WaitForSingleObject(overlapped->hEvent, INFINITE);
        WaitForCompletion(overlapped);
    }
    const DWORD error = OverlappedError(overlapped);
    if (bytesTransferred)
        *bytesTransferred = static_cast<DWORD>(__atomic_load_n(&overlapped->InternalHigh, __ATOMIC_RELAXED));
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}
