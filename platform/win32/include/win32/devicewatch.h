// Serial device changes reach a window as WM_DEVICECHANGE.
#pragma once

#define WM_DEVICECHANGE 0x0219u
