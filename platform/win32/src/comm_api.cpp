// The Win32 entry points of communications devices: handle checks, then the device.
#include "comm_device.h"
#include "overlapped.h"
#include "win32/comm.h"
#include "win32/errors.h"
#include "win32/port_numbers.h"
#include "win32/text.h"
#include "win32/internal.h"

#include <cwchar>

using namespace win32::detail;

namespace {

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

BOOL Result(DWORD error)
{
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

std::shared_ptr<CommDevice> LookupDevice(HANDLE handle)
{
    auto device = LookupAs<CommDevice>(handle);
    if (!device)
        SetLastError(ERROR_INVALID_HANDLE);
    return device;
}

// The device path a file name stands for; empty when it names none.
std::string DevicePath(LPCWSTR fileName)
{
    if (const int port = win32::ComNumberFromDeviceName(fileName); port > 0)
        return win32::DeviceForComNumber(port);
    if (fileName[0] != L'/')
        return {};
    return win32::Utf8FromWide(fileName);
}

// Starts an operation; on a handle opened without FILE_FLAG_OVERLAPPED waits
// for it to end. The caller's record is used when there is one.
template <class Start>
BOOL Run(CommDevice& device, LPOVERLAPPED overlapped, LPDWORD bytes, Start start)
{
    if (device.IsOverlapped() && !overlapped)
        return Fail(ERROR_INVALID_PARAMETER);
    std::shared_ptr<Event> event;
    if (overlapped && overlapped->hEvent) {
        // The low bit of hEvent is a flag for completion ports on Windows, not part of the handle.
        auto value = reinterpret_cast<uintptr_t>(overlapped->hEvent) & ~uintptr_t(1);
        event = LookupAs<Event>(reinterpret_cast<HANDLE>(value));
        if (!event)
            return Fail(ERROR_INVALID_HANDLE);
    }
    OVERLAPPED local{};
    OVERLAPPED* record = overlapped ? overlapped : &local;
    if (bytes)
        *bytes = 0;
    DWORD error = start(record, std::move(event));
    const bool started = error == ERROR_SUCCESS || error == ERROR_IO_PENDING;
    if (error == ERROR_IO_PENDING && !device.IsOverlapped()) {
        WaitForCompletion(record);
        error = OverlappedError(record);
    }
    if (bytes && started && (error == ERROR_SUCCESS || !device.IsOverlapped()))
        *bytes = static_cast<DWORD>(__atomic_load_n(&record->InternalHigh, __ATOMIC_RELAXED));
    return Result(error);
}

}  // namespace

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD, LPSECURITY_ATTRIBUTES, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE)
{
    if (!fileName || creationDisposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = DevicePath(fileName);
    if (path.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::shared_ptr<CommDevice> device;
    const DWORD error =
        CommDevice::Open(path, desiredAccess, (flagsAndAttributes & FILE_FLAG_OVERLAPPED) != 0, &device);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    return AddHandle(std::move(device));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped)
{
    auto device = LookupDevice(file);
    if (!device)
        return FALSE;
    if (!(device->Access() & GENERIC_READ))
        return Fail(ERROR_ACCESS_DENIED);
    if (!buffer && bytesToRead > 0)
        return Fail(ERROR_INVALID_PARAMETER);
    return Run(*device, overlapped, bytesRead, [&](OVERLAPPED* record, std::shared_ptr<Event> event) {
        return device->StartRead(record, std::move(event), buffer, bytesToRead);
    });
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped)
{
    auto device = LookupDevice(file);
    if (!device)
        return FALSE;
    if (!(device->Access() & GENERIC_WRITE))
        return Fail(ERROR_ACCESS_DENIED);
    if (!buffer && bytesToWrite > 0)
        return Fail(ERROR_INVALID_PARAMETER);
    return Run(*device, overlapped, bytesWritten, [&](OVERLAPPED* record, std::shared_ptr<Event> event) {
        return device->StartWrite(record, std::move(event), buffer, bytesToWrite);
    });
}

BOOL WaitCommEvent(HANDLE file, LPDWORD eventMask, LPOVERLAPPED overlapped)
{
    auto device = LookupDevice(file);
    if (!device)
        return FALSE;
    if (!eventMask)
        return Fail(ERROR_INVALID_PARAMETER);
    return Run(*device, overlapped, nullptr, [&](OVERLAPPED* record, std::shared_ptr<Event> event) {
        return device->StartWaitEvent(record, std::move(event), eventMask);
    });
}

BOOL CancelIo(HANDLE file)
{
    auto device = LookupDevice(file);
    return device ? Result(device->CancelFromThread(GetCurrentThreadId())) : FALSE;
}

BOOL GetCommState(HANDLE file, LPDCB dcb)
{
    auto device = LookupDevice(file);
    if (!device)
        return FALSE;
    return dcb ? Result(device->GetState(dcb)) : Fail(ERROR_INVALID_PARAMETER);
}

BOOL SetCommState(HANDLE file, LPDCB dcb)
{
    auto device = LookupDevice(file);
    if (!device)
        return FALSE;
    return dcb ? Result(device->SetState(*dcb)) : Fail(ERROR_INVALID_PARAMETER);
}

BOOL GetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts)
{
    auto device = LookupDevice(file);
    if (!device)
        return FALSE;
    return timeouts ? Result(device->GetTimeouts(timeouts)) : Fail(ERROR_INVALID_PARAMETER);
}

BOOL SetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts)
{
    auto device = LookupDevice(file);
    if (!device)
        return FALSE;
    return timeouts ? Result(device->SetTimeouts(*timeouts)) : Fail(ERROR_INVALID_PARAMETER);
}

BOOL SetupComm(HANDLE file, DWORD inQueue, DWORD outQueue)
{
    auto device = LookupDevice(file);
    return device ? Result(device->Setup(inQueue, outQueue)) : FALSE;
}

BOOL PurgeComm(HANDLE file, DWORD flags)
{
    auto device = LookupDevice(file);
    return device ? Result(device->Purge(flags)) : FALSE;
}

BOOL ClearCommError(HANDLE file, LPDWORD errors, LPCOMSTAT status)
{
    auto device = LookupDevice(file);
    return device ? Result(device->ClearError(errors, status)) : FALSE;
}

BOOL SetCommMask(HANDLE file, DWORD mask)
{
    auto device = LookupDevice(file);
    return device ? Result(device->SetMask(mask)) : FALSE;
}

BOOL GetCommMask(HANDLE file, LPDWORD mask)
{
    auto device = LookupDevice(file);
    if (!device)
        return FALSE;
    return mask ? Result(device->GetMask(mask)) : Fail(ERROR_INVALID_PARAMETER);
}
