// The web host's message boxes: a modal dialog in the page with the
// caption, the text and an OK button (Enter presses it too); the program
// waits, giving the page the control, until it is dismissed. MessageBoxA
// has already written "Caption: text" to stderr, the browser's console.
#include <emscripten.h>

#include "host.h"
#include "web_host.h"

namespace {

constexpr int kIdOk = 1;

// The page's dialog answers with the button pressed; a page without one
// gets the browser's own alert.
EM_ASYNC_JS(int, qv_web_message_box, (const char* caption, const char* text), {
    var c = UTF8ToString(caption), t = UTF8ToString(text);
    if (Module.qvMessageBox) return await Module.qvMessageBox(c, t);
    if (typeof alert == "function") alert(c + "\n\n" + t);
    return 1;
});

} // namespace

namespace host {

// Only OK is offered: the program's boxes are all MB_OK, and closing the
// page's dialog any other way answers as OK would.
int ShowMessageBox(const void*, const char* caption, const char* text, unsigned) {
    webhost::EnsureListening();
    webhost::SetMessageBoxOpen(true);
    int pressed = qv_web_message_box(caption ? caption : "", text ? text : "");
    webhost::SetMessageBoxOpen(false);
    webhost::ForgetFrameStart();
    return pressed > 0 ? pressed : kIdOk;
}

} // namespace host
