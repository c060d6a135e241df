// KERNEL32 file reading: OpenFile, _llseek, _lread, _lclose over a table of
// open files. An HFILE is a small positive number of that table, never a
// host descriptor; numbers are not reused (until they wrap at 2^31), so a
// closed HFILE stays invalid.
// Only reading is supported: the program reads its bitmaps and writes
// nothing.
//
// The program has one thread and the table has no lock.
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <windows.h>

#include "data_file.h"
#include "faults.h"
#include "host_core.h"
#include "host.h"

namespace fs = std::filesystem;

namespace {

// uStyle values OpenFile accepts. OF_SHARE_COMPAT (0) and
// OF_SHARE_DENY_NONE deny nothing, OF_CANCEL is documented as ignored, and
// OF_EXIST opens and closes again. Writing, creating, deleting, prompting,
// reopening, verifying, parsing and the share modes that deny access to
// others are not supported.
constexpr UINT kAcceptedStyles = OF_READ | OF_SHARE_DENY_NONE | OF_CANCEL | OF_EXIST;

// HFILEs are multiples of 4, as Windows' handles are: never 1, the answer
// of OF_EXIST.
constexpr HFILE kHandleStep = 4;

struct FileTable {
    std::map<HFILE, int> open; // HFILE -> host descriptor
    HFILE next = kHandleStep;
};

FileTable& Files() {
    static FileTable table;
    return table;
}

template <typename T>
T Fail(DWORD error, T result) {
    SetLastError(error);
    return result;
}

bool InjectedFailure(const char* api) {
    int32_t code = 0;
    if (!platform::InjectedFailure(api, &code)) return false;
    SetLastError(static_cast<DWORD>(code));
    return true;
}

// The descriptor behind an HFILE, or -1.
int Descriptor(HFILE file) {
    auto found = Files().open.find(file);
    return found == Files().open.end() ? -1 : found->second;
}

HFILE NextHandle(HFILE file) { return file > INT_MAX - kHandleStep ? kHandleStep : file + kHandleStep; }

HFILE AddFile(int descriptor) {
    FileTable& table = Files();
    while (table.open.count(table.next)) table.next = NextHandle(table.next);
    HFILE file = table.next;
    table.next = NextHandle(file);
    table.open[file] = descriptor;
    return file;
}

// The Win32 error for a failed open of `path`.
DWORD OpenError(int error, const fs::path& path) {
    switch (error) {
    case ENOENT: {
        // Windows tells a missing file from a missing folder.
        std::error_code ignored;
        fs::path parent = path.parent_path();
        bool folderExists = parent.empty() || fs::is_directory(parent, ignored);
        return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    default: return ERROR_ACCESS_DENIED;
    }
}

// Opens `path` for reading. A folder is no file: Windows refuses to open
// one with ERROR_ACCESS_DENIED. Returns the descriptor, or -1 with *error.
int OpenForReading(const fs::path& path, DWORD* error) {
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        *error = OpenError(errno, path);
        return -1;
    }
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        *error = ERROR_ACCESS_DENIED;
        return -1;
    }
    return descriptor;
}

// Records `path` as the OFSTRUCT's full path name, cut to its 127 characters.
void SetPathName(OFSTRUCT* ofs, const fs::path& path) {
    std::error_code error;
    fs::path full = fs::absolute(path, error);
    std::string text = (error ? path : full).lexically_normal().string();
    std::strncpy(ofs->szPathName, text.c_str(), OFS_MAXPATHNAME - 1);
    ofs->szPathName[OFS_MAXPATHNAME - 1] = '\0';
}

// Opens the first of the data file places (data_file.h) that can be read:
// the name as given, then, for a bare name, beside the program and in the
// installed data folder. Returns the descriptor, or -1 with the error of the
// first place looked at (the name as given, which szPathName then names).
int FindAndOpen(const std::string& name, OFSTRUCT* ofs, DWORD* error) {
    std::vector<fs::path> places = hostcommon::DataFilePlaces(name);
    SetPathName(ofs, places.front());
    for (size_t i = 0; i < places.size(); i++) {
        DWORD placeError = 0;
        int descriptor = OpenForReading(places[i], &placeError);
        if (i == 0) *error = placeError;
        if (descriptor >= 0) {
            SetPathName(ofs, places[i]);
            return descriptor;
        }
    }
    return -1;
}

} // namespace

// Opens an existing file for reading (OF_READ), or only checks that it
// exists (OF_EXIST: opened and closed again, answering 1). Windows' '\' is
// a path separator too. Fills the OFSTRUCT: cBytes, nErrCode (0, or the
// error) and szPathName (the full path found). HFILE_ERROR on failure;
// other modes fail with ERROR_NOT_SUPPORTED.
extern "C" HFILE WINAPI OpenFile(LPCSTR lpFileName, LPOFSTRUCT lpReOpenBuff, UINT uStyle) {
    if (!lpReOpenBuff) return Fail(ERROR_INVALID_PARAMETER, HFILE_ERROR);
    OFSTRUCT* ofs = lpReOpenBuff;
    std::memset(ofs, 0, sizeof(*ofs));
    ofs->cBytes = sizeof(OFSTRUCT);

    DWORD error = 0;
    int descriptor = -1;
    int32_t injected = 0;
    if (platform::InjectedFailure("OpenFile", &injected)) {
        error = static_cast<DWORD>(injected);
    } else if (!lpFileName) {
        error = ERROR_INVALID_PARAMETER;
    } else if (uStyle & ~kAcceptedStyles) {
        error = ERROR_NOT_SUPPORTED;
    } else {
        std::string name(lpFileName);
        for (char& c : name)
            if (c == '\\') c = '/';
        descriptor = FindAndOpen(name, ofs, &error);
    }
    if (descriptor < 0) {
        ofs->nErrCode = static_cast<WORD>(error);
        return Fail(error, HFILE_ERROR);
    }
    ofs->fFixedDisk = 1;
    if (uStyle & OF_EXIST) {
        ::close(descriptor);
        return 1;
    }
    hostcommon::NoteFileOpened(ofs->szPathName);
    return AddFile(descriptor);
}

// Moves the read position to lOffset from the start, the current position
// or the end, and returns the new position. Seeking past the end is allowed
// (reads there return 0 bytes); a position before the start fails with
// ERROR_NEGATIVE_SEEK and leaves the position unchanged.
extern "C" LONG WINAPI _llseek(HFILE hFile, LONG lOffset, int iOrigin) {
    if (InjectedFailure("_llseek")) return HFILE_ERROR;
    int descriptor = Descriptor(hFile);
    if (descriptor < 0) return Fail(ERROR_INVALID_HANDLE, LONG{HFILE_ERROR});

    long long base = 0;
    if (iOrigin == FILE_CURRENT) {
        base = ::lseek(descriptor, 0, SEEK_CUR);
    } else if (iOrigin == FILE_END) {
        struct stat info {};
        base = ::fstat(descriptor, &info) == 0 ? static_cast<long long>(info.st_size) : -1;
    } else if (iOrigin != FILE_BEGIN) {
        return Fail(ERROR_INVALID_PARAMETER, LONG{HFILE_ERROR});
    }
    if (base < 0) return Fail(ERROR_INVALID_HANDLE, LONG{HFILE_ERROR});
    long long target = base + lOffset;
    if (target < 0) return Fail(ERROR_NEGATIVE_SEEK, LONG{HFILE_ERROR});
    // _llseek reports positions as a LONG: beyond 2 GB it cannot.
    if (target > std::numeric_limits<LONG>::max()) return Fail(ERROR_INVALID_PARAMETER, LONG{HFILE_ERROR});
    if (::lseek(descriptor, static_cast<off_t>(target), SEEK_SET) < 0)
        return Fail(ERROR_INVALID_PARAMETER, LONG{HFILE_ERROR});
    return static_cast<LONG>(target);
}

// Reads up to uBytes at the current position and returns how many were
// read: fewer at the end of the file, 0 past it. HFILE_ERROR (as a UINT) for
// an unknown file or a null buffer.
extern "C" UINT WINAPI _lread(HFILE hFile, LPVOID lpBuffer, UINT uBytes) {
    const UINT failed = static_cast<UINT>(HFILE_ERROR);
    if (InjectedFailure("_lread")) return failed;
    int descriptor = Descriptor(hFile);
    if (descriptor < 0) return Fail(ERROR_INVALID_HANDLE, failed);
    if (uBytes == 0) return 0;
    if (!lpBuffer) return Fail(ERROR_NOACCESS, failed);

    auto* out = static_cast<unsigned char*>(lpBuffer);
    UINT total = 0;
    while (total < uBytes) {
        ssize_t got = ::read(descriptor, out + total, uBytes - total);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Fail(ERROR_ACCESS_DENIED, failed);
        if (got == 0) break;
        total += static_cast<UINT>(got);
    }
    return total;
}

// Closes the file: 0, or HFILE_ERROR with ERROR_INVALID_HANDLE for a file
// that is not open.
extern "C" HFILE WINAPI _lclose(HFILE hFile) {
    if (InjectedFailure("_lclose")) return HFILE_ERROR;
    auto found = Files().open.find(hFile);
    if (found == Files().open.end()) return Fail(ERROR_INVALID_HANDLE, HFILE_ERROR);
    ::close(found->second);
    Files().open.erase(found);
    return 0;
}
