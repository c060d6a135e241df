// How the SDL host ends on SIGINT and SIGTERM, and the child process that
// SDL shows a message box from on X11.
//
// SDL's own handlers turn the signals into a quit event, which nothing acts
// on while the program is inside a message box (or not pumping events), so
// the host takes them over: a line on stderr, then the signal's default
// action, whatever the program is doing. Nothing needs giving back first:
// the display mode is emulated, and the window goes with the connection.
#include <cerrno>
#include <csignal>
#include <cstring>

#include <pthread.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include "sdl_host.h"

namespace {

// Read and written from signal handlers and the child side of fork().
volatile sig_atomic_t boxShowing = 0;
volatile sig_atomic_t inBoxChild = 0;
pid_t hostPid = 0;

void OnEndingSignal(int sig) {
    if (!inBoxChild) sdlhost::WriteToStderr(sig == SIGINT ? "sdl: interrupted (SIGINT)\n" : "sdl: terminated (SIGTERM)\n");
    // The handler was installed with SA_RESETHAND: the signal raised again is
    // taken with its default action once this returns, so whoever sent it
    // sees the process end by it.
    raise(sig);
}

// In the child that fork() makes while a message box is being shown. The
// box then goes when the host goes, however the host ends, and ends
// quietly itself: the host says what happened.
void OnForkChild() {
    if (!boxShowing) return;
    inBoxChild = 1;
#if defined(__linux__)
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != hostPid) _exit(1); // the host already went
#endif
}

void Install(int sig) {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnEndingSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(sig, &action, nullptr);
}

} // namespace

namespace sdlhost {

void WriteToStderr(const char* text) {
    size_t left = std::strlen(text);
    while (left > 0) {
        ssize_t written = write(STDERR_FILENO, text, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text += written;
        left -= static_cast<size_t>(written);
    }
}

void InstallEndings() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    hostPid = getpid();
    Install(SIGINT);
    Install(SIGTERM);
    // Writing to a display connection that is gone must fail (and be
    // reported as a lost display), not end the process silently.
    signal(SIGPIPE, SIG_IGN);
    pthread_atfork(nullptr, nullptr, OnForkChild);
}

bool InMessageBoxChild() {
    return inBoxChild != 0;
}

void BeginMessageBox(SDL_Window* owner) {
    boxShowing = 1;
    StartBoxFocus(owner);
}

void EndMessageBox() {
    StopBoxFocus();
    boxShowing = 0;
}

} // namespace sdlhost
