// Kernel objects behind HANDLE: events, threads, waits, and the overlapped
// record that asynchronous device operations complete.
//
// Handles are process-wide values that are never reused. Objects are
// reference-counted: CloseHandle gives up the handle at once, while a thread
// that waits on the object, or a pending operation that will signal it, keeps
// the object itself alive until it is done. A closed or unknown handle gives
// ERROR_INVALID_HANDLE.
#pragma once

#include "win32/types.h"

struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_FAILED 0xFFFFFFFFu

#define CREATE_SUSPENDED 0x00000004u

#define THREAD_PRIORITY_HIGHEST 2

typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID parameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;

// Returns TRUE or FALSE; FALSE with ERROR_INVALID_HANDLE for a handle that is
// not open. Closing a device completes its pending operations first (see
// win32/comm.h). Closing a thread handle does not stop the thread.
BOOL CloseHandle(HANDLE object);

// Events. The name must be null (ERROR_INVALID_PARAMETER otherwise); security
// attributes are ignored. A manual-reset event stays signalled until
// ResetEvent; an auto-reset event releases one wait and resets itself.
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// Waits for events and threads (a thread handle is signalled once its routine
// has returned). Wait-any returns WAIT_OBJECT_0 + the lowest index that is
// signalled; wait-all returns WAIT_OBJECT_0 once all are signalled at the same
// time. WAIT_TIMEOUT when the time-out (milliseconds, INFINITE for none)
// passes first. WAIT_FAILED with ERROR_INVALID_HANDLE when a handle is not an
// open event or thread, ERROR_INVALID_PARAMETER for a count of 0 or above
// MAXIMUM_WAIT_OBJECTS or a null array. Only the wait that returns an
// auto-reset event's index consumes its signal.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);

void Sleep(DWORD milliseconds);

// Threads. Stack size 0 takes the default. With CREATE_SUSPENDED the routine
// starts only once ResumeThread has brought the suspend count to 0. The id
// written to threadId is the one GetCurrentThreadId gives on that thread.
// Fails with ERROR_NOT_ENOUGH_MEMORY when no thread can be started and
// ERROR_INVALID_PARAMETER for a null routine.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
// Returns the previous suspend count, (DWORD)-1 on failure.
DWORD ResumeThread(HANDLE thread);
// Takes the THREAD_PRIORITY_ values (others: ERROR_INVALID_PARAMETER) and
// maps them onto the thread's nice value as far as the system permits: a
// raise that is not permitted is skipped and still reported as success.
// GetThreadPriority returns the value last set.
BOOL SetThreadPriority(HANDLE thread, int priority);

// The record of an asynchronous operation. Internal holds the status
// (STATUS_PENDING while the operation runs) and InternalHigh the bytes
// transferred; the layer reads and writes both atomically, so a caller may
// look at them from any thread. The caller keeps the record (and any buffer
// or event mask the operation fills) alive until the operation has completed.
struct OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};
typedef OVERLAPPED* LPOVERLAPPED;

// Is the operation of this record finished? Reads Internal atomically.
BOOL HasOverlappedIoCompleted(const OVERLAPPED* overlapped);

// Answers from the record: TRUE with the bytes transferred when the operation
// succeeded; FALSE with its error (the byte count is still stored) when it
// failed. While it is pending: ERROR_IO_INCOMPLETE without wait; with wait,
// blocks until the operation completes (on the record's event when it has
// one). The answer comes from the record alone, so it holds also after the
// device has been closed.
BOOL GetOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD bytesTransferred, BOOL wait);
