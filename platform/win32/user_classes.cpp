// USER32 window classes: RegisterClassA and the class table that
// CreateWindowExA looks names and atoms up in.
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "app_state.h"
#include "faults.h"
#include "user_windowing.h"

namespace {

// Class atoms live where Windows puts string atoms: 0xC000 to 0xFFFF.
constexpr ATOM kFirstAtom = 0xC000;
constexpr ATOM kLastAtom = 0xFFFF;
// Windows refuses class names longer than 255 characters.
constexpr size_t kMaxClassName = 255;

std::vector<platform::user::WindowClass>& Classes() {
    static std::vector<platform::user::WindowClass> classes;
    return classes;
}

// Class names compare without regard to case, as Windows' atoms do.
bool SameName(const std::string& a, const char* b) {
    size_t length = std::strlen(b);
    if (a.size() != length) return false;
    for (size_t i = 0; i < length; i++)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IsIntegerAtom(LPCSTR name) {
    return reinterpret_cast<uintptr_t>(name) <= 0xFFFF;
}

// The lowest atom no class holds, or 0 when all are taken.
ATOM FreeAtom() {
    std::vector<bool> taken(kLastAtom - kFirstAtom + 1, false);
    for (const auto& known : Classes())
        taken[known.atom - kFirstAtom] = true;
    for (size_t i = 0; i < taken.size(); i++)
        if (!taken[i]) return static_cast<ATOM>(kFirstAtom + i);
    return 0;
}

ATOM Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

// RegisterClassA's refusals of a malformed class. Integer atoms as names
// would need the global atom table, which this system does not have.
DWORD ValidateClass(const WNDCLASSA* wc) {
    if (!wc) return ERROR_NOACCESS;
    if (!wc->lpfnWndProc || wc->cbClsExtra < 0 || wc->cbWndExtra < 0)
        return ERROR_INVALID_PARAMETER;
    if (IsIntegerAtom(wc->lpszClassName)) return ERROR_INVALID_PARAMETER;
    size_t length = std::strlen(wc->lpszClassName);
    if (length == 0 || length > kMaxClassName) return ERROR_INVALID_PARAMETER;
    return ERROR_SUCCESS;
}

} // namespace

namespace platform::user {

const WindowClass* FindClass(LPCSTR nameOrAtom) {
    if (!nameOrAtom) return nullptr;
    for (const WindowClass& known : Classes()) {
        if (IsIntegerAtom(nameOrAtom)) {
            if (known.atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(nameOrAtom)))
                return &known;
        } else if (SameName(known.name, nameOrAtom)) {
            return &known;
        }
    }
    return nullptr;
}

void EnsureActivationBroadcaster() {
    static bool registered = false;
    if (registered) return;
    platform::SetActivationBroadcaster(&BroadcastActivation);
    registered = true;
}

void ResetClasses() {
    Classes().clear();
}

} // namespace platform::user

// RegisterClassA answers the class atom. A missing structure, procedure or
// name, negative extra bytes or an empty name fail with
// ERROR_INVALID_PARAMETER (ERROR_NOACCESS for no structure at all); a name
// already registered, whatever its case, fails with
// ERROR_CLASS_ALREADY_EXISTS. Classes are not told apart by instance: the
// program is the only module.
extern "C" ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
    int32_t code = 0;
    if (platform::InjectedFailure("RegisterClassA", &code)) return Fail(static_cast<DWORD>(code));
    platform::user::EnsureActivationBroadcaster();
    if (DWORD error = ValidateClass(lpWndClass)) return Fail(error);
    if (platform::user::FindClass(lpWndClass->lpszClassName))
        return Fail(ERROR_CLASS_ALREADY_EXISTS);
    ATOM atom = FreeAtom();
    if (!atom) return Fail(ERROR_NOT_ENOUGH_MEMORY);

    platform::user::WindowClass added;
    added.atom = atom;
    added.name = lpWndClass->lpszClassName;
    added.proc = lpWndClass->lpfnWndProc;
    added.style = lpWndClass->style;
    added.instance = lpWndClass->hInstance;
    added.background = lpWndClass->hbrBackground;
    Classes().push_back(std::move(added));
    return atom;
}
