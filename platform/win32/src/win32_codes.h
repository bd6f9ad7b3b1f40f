// Codes the layer uses itself, with their Windows values; no program names them.
#pragma once

#include "win32/types.h"

// Beside those of win32/comm.h.
#define DTR_CONTROL_ENABLE 0x01
#define RTS_CONTROL_DISABLE 0x00
#define RTS_CONTROL_ENABLE 0x01
#define CE_RXOVER 0x0001u
#define CE_OVERRUN 0x0002u
#define CE_RXPARITY 0x0004u
#define CE_FRAME 0x0008u
#define CE_BREAK 0x0010u
#define EV_CTS 0x0008u
#define EV_DSR 0x0010u
#define EV_RLSD 0x0020u
#define EV_BREAK 0x0040u
#define EV_ERR 0x0080u
#define EV_RING 0x0100u
#define EV_RX80FULL 0x0400u

// Beside those of win32/setupapi.h.
#define DIGCF_ALLCLASSES 0x00000004u
#define SPINT_ACTIVE 0x00000001u

// Beside those of win32/errors.h.
#define ERROR_PATH_NOT_FOUND 3u
#define ERROR_NOT_ENOUGH_MEMORY 8u
#define ERROR_NOT_READY 21u
#define ERROR_BAD_COMMAND 22u
#define ERROR_WRITE_FAULT 29u
#define ERROR_READ_FAULT 30u
#define ERROR_GEN_FAILURE 31u
#define ERROR_SHARING_VIOLATION 32u
#define ERROR_DEV_NOT_EXIST 55u
#define ERROR_PROC_NOT_FOUND 127u
#define ERROR_DEVICE_NOT_CONNECTED 1167u
#define ERROR_NOT_FOUND 1168u
#define ERROR_TIMEOUT 1460u

// Beside those of win32/system.h.
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

// Beside those of win32/kernel.h.
#define MAXIMUM_WAIT_OBJECTS 64u
#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF
#define STATUS_PENDING 0x00000103u
