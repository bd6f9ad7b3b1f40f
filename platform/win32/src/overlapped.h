// Internal: how device operations record their state in an OVERLAPPED record.
#pragma once

#include "kernel_objects.h"

namespace win32::detail {

// Marks the record pending (Internal STATUS_PENDING, no bytes).
void BeginPending(OVERLAPPED* overlapped);

// Stores the outcome in the record, then signals the event (may be null).
// After this the layer no longer touches the record.
void CompleteOverlapped(OVERLAPPED* overlapped, const std::shared_ptr<Event>& event, DWORD error, DWORD bytes);

// Blocks until the record is no longer pending.
void WaitForCompletion(const OVERLAPPED* overlapped);

// The record's outcome: ERROR_IO_PENDING while pending, else the Win32 error
// (ERROR_SUCCESS on success).
DWORD OverlappedError(const OVERLAPPED* overlapped);

}  // namespace win32::detail
