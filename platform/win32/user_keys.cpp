// USER32 key polling: GetAsyncKeyState reads the host's asynchronous key
// table, which the host keeps current as keys go down and up.
#include <windows.h>

#include "host.h"

extern "C" SHORT WINAPI GetAsyncKeyState(int vKey) { return host::Keys().Query(vKey); }
