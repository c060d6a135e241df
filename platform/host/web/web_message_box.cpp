// The web host's message boxes: a modal dialog in the page with the
// caption, the text and an OK button (Enter presses it too; MB_OKCANCEL
// adds Cancel, which Esc presses); the program waits, giving the page the
// control, until it is dismissed. MessageBoxA has already written
// "Caption: text" to stderr, the browser's console. The button pressed is
// an answer a demo keeps.
#include <emscripten.h>

#include "native_host.h"
#include "web_host.h"

namespace {

// MessageBoxA's type bits that pick the buttons.
constexpr unsigned kButtonsMask = 0x0000000F;
constexpr unsigned kOkCancel = 0x00000001;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// The page's dialog answers with the button pressed (IDOK, IDCANCEL); a
// page without one gets the browser's own alert or confirm.
EM_ASYNC_JS(int, qv_web_message_box, (const char* caption, const char* text, int okCancel), {
    var c = UTF8ToString(caption), t = UTF8ToString(text);
    if (Module.qvMessageBox) return await Module.qvMessageBox(c, t, !!okCancel);
    if (okCancel && typeof confirm == "function") return confirm(c + "\n\n" + t) ? 1 : 2;
    if (typeof alert == "function") alert(c + "\n\n" + t);
    return 1;
});

} // namespace

namespace native {

// OK, or OK and Cancel for MB_OKCANCEL; any other answer is what Esc
// gives, as on Windows: Cancel when there is one, else OK.
int ShowMessageBox(const void*, const char* caption, const char* text, unsigned type) {
    bool okCancel = (type & kButtonsMask) == kOkCancel;
    webhost::EnsureListening();
    webhost::SetMessageBoxOpen(true);
    int pressed = qv_web_message_box(caption ? caption : "", text ? text : "", okCancel);
    webhost::SetMessageBoxOpen(false);
    webhost::ForgetFrameStart();
    if (pressed != kIdOk && !(okCancel && pressed == kIdCancel)) pressed = okCancel ? kIdCancel : kIdOk;
    return pressed;
}

} // namespace native
