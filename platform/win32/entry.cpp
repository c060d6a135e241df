// The process entry on non-Windows hosts: hands control to the program's
// WinMain with the arguments Windows would give a GUI program.
#include <string>

#include <windows.h>

int main(int argc, char** argv) {
    // The command line without the program name, as WinMain's lpCmdLine is.
    std::string commandLine;
    for (int i = 1; i < argc; i++) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
