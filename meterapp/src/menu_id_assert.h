// Works around the window layer handing the program's command and window ids
// (32771 and up, 57600 and up) to wxWidgets unchanged: wx asserts that menu
// and window ids lie below 32767 although GTK takes any int. Only those two
// asserts are let through; every other assert goes to the handler that was
// installed before.
#pragma once

void IgnoreWxMenuIdAssert();
