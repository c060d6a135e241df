// OpenFile, _llseek, _lread and _lclose on real files: the search order
// (current folder, then beside the program), the OFSTRUCT, errors, and reads
// and seeks at the edges of a file.
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include <windows.h>

#include "headless.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

std::string UniqueName(const char* stem) {
    static std::atomic<int> counter{0};
    return std::string(stem) + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".bin";
}

// Each test runs in a fresh empty folder as the current folder; files it
// puts beside the program are removed afterwards.
class KernelFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        headless::Reset();
        previous_ = fs::current_path();
        folder_ = fs::temp_directory_path() / UniqueName("kernel_files");
        fs::create_directories(folder_);
        fs::current_path(folder_);
    }

    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(folder_);
        for (const fs::path& path : besideProgram_) fs::remove(path);
        headless::Reset();
    }

    fs::path PutBesideProgram(const std::string& name, const std::string& contents) {
        fs::path path = fs::read_symlink("/proc/self/exe").parent_path() / name;
        WriteFile(path, contents);
        besideProgram_.push_back(path);
        return path;
    }

    // Opens `name` for reading and reads all of it; "" when it cannot.
    static std::string ReadAll(const char* name, OFSTRUCT* ofs) {
        HFILE file = OpenFile(name, ofs, OF_READ);
        if (file == HFILE_ERROR) return "";
        char buffer[256] = {};
        UINT got = _lread(file, buffer, sizeof(buffer));
        EXPECT_EQ(_lclose(file), 0);
        return std::string(buffer, got);
    }

    fs::path previous_, folder_;
    std::vector<fs::path> besideProgram_;
};

TEST_F(KernelFiles, OpenFileReadsFromTheCurrentFolderAndFillsOfstruct) {
    WriteFile("sheet.bmp", "current");
    OFSTRUCT ofs;
    std::memset(&ofs, 0x5A, sizeof(ofs));
    EXPECT_EQ(ReadAll("sheet.bmp", &ofs), "current");
    EXPECT_EQ(ofs.cBytes, sizeof(OFSTRUCT));
    EXPECT_EQ(ofs.nErrCode, 0);
    EXPECT_EQ(fs::path(ofs.szPathName), fs::current_path() / "sheet.bmp");
}

TEST_F(KernelFiles, OpenFileFindsABareNameBesideTheProgram) {
    std::string name = UniqueName("beside");
    fs::path beside = PutBesideProgram(name, "beside");
    OFSTRUCT ofs{};
    EXPECT_EQ(ReadAll(name.c_str(), &ofs), "beside");
    EXPECT_EQ(fs::path(ofs.szPathName), beside);
}

TEST_F(KernelFiles, OpenFilePrefersTheCurrentFolderToTheProgramFolder) {
    std::string name = UniqueName("both");
    PutBesideProgram(name, "beside");
    WriteFile(name, "current");
    OFSTRUCT ofs{};
    EXPECT_EQ(ReadAll(name.c_str(), &ofs), "current");
}

TEST_F(KernelFiles, OpenFileFallsBackToTheInstalledDataFolderLast) {
    fs::path data = fs::read_symlink("/proc/self/exe").parent_path() / ".." / "share" / "quorvanteledix";
    fs::create_directories(data);
    std::string name = UniqueName("installed");
    WriteFile(data / name, "installed");
    besideProgram_.push_back(data / name);
    OFSTRUCT ofs{};
    EXPECT_EQ(ReadAll(name.c_str(), &ofs), "installed");
    EXPECT_EQ(fs::path(ofs.szPathName), fs::weakly_canonical(data / name));
    PutBesideProgram(name, "beside"); // the program's folder comes first
    EXPECT_EQ(ReadAll(name.c_str(), &ofs), "beside");
    EXPECT_EQ(OpenFile(("share/quorvanteledix/" + name).c_str(), &ofs, OF_READ), HFILE_ERROR);
}

TEST_F(KernelFiles, OpenFileSearchesBesideTheProgramOnlyForBareNames) {
    std::string name = UniqueName("pathed");
    PutBesideProgram(name, "beside");
    OFSTRUCT ofs{};
    EXPECT_EQ(OpenFile(("./" + name).c_str(), &ofs, OF_READ), HFILE_ERROR);
    EXPECT_EQ(OpenFile((".\\" + name).c_str(), &ofs, OF_READ), HFILE_ERROR);
    EXPECT_EQ(ofs.nErrCode, ERROR_FILE_NOT_FOUND);
}

TEST_F(KernelFiles, OpenFileTakesBackslashAsASeparator) {
    fs::create_directories("art/title");
    WriteFile("art/title/title.bmp", "nested");
    OFSTRUCT ofs{};
    EXPECT_EQ(ReadAll("art\\title\\title.bmp", &ofs), "nested");
    EXPECT_EQ(fs::path(ofs.szPathName), fs::current_path() / "art/title/title.bmp");
}

TEST_F(KernelFiles, OpenFileFailsWithTheWindowsErrorCode) {
    fs::create_directories("folder");
    struct Case {
        const char* name;
        UINT style;
        DWORD error;
    } cases[] = {
        {"missing.bmp", OF_READ, ERROR_FILE_NOT_FOUND},
        {"nowhere/missing.bmp", OF_READ, ERROR_PATH_NOT_FOUND},
        {"folder", OF_READ, ERROR_ACCESS_DENIED},
        {"missing.bmp", OF_EXIST, ERROR_FILE_NOT_FOUND},
        {"", OF_READ, ERROR_FILE_NOT_FOUND},
        {nullptr, OF_READ, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        OFSTRUCT ofs{};
        SetLastError(0);
        EXPECT_EQ(OpenFile(c.name, &ofs, c.style), HFILE_ERROR);
        EXPECT_EQ(ofs.cBytes, sizeof(OFSTRUCT));
        EXPECT_EQ(ofs.nErrCode, c.error);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(OpenFile("missing.bmp", nullptr, OF_READ), HFILE_ERROR);
}

TEST_F(KernelFiles, OpenFileRefusesToWriteCreateOrDelete) {
    WriteFile("keep.bmp", "untouched");
    for (UINT style : {UINT{OF_WRITE}, UINT{OF_READWRITE}, UINT{OF_CREATE}, UINT{OF_DELETE}, UINT{OF_PARSE},
                       UINT{OF_SHARE_EXCLUSIVE}, UINT{OF_REOPEN}}) {
        SCOPED_TRACE(style);
        OFSTRUCT ofs{};
        EXPECT_EQ(OpenFile("keep.bmp", &ofs, style), HFILE_ERROR);
        EXPECT_EQ(ofs.nErrCode, ERROR_NOT_SUPPORTED);
    }
    OFSTRUCT ofs{};
    EXPECT_EQ(ReadAll("keep.bmp", &ofs), "untouched");
}

TEST_F(KernelFiles, OpenFileExistChecksWithoutLeavingTheFileOpen) {
    WriteFile("there.bmp", "x");
    OFSTRUCT ofs{};
    HFILE answer = OpenFile("there.bmp", &ofs, OF_EXIST);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(ofs.nErrCode, 0);
    char byte;
    EXPECT_EQ(_lread(answer, &byte, 1), static_cast<UINT>(HFILE_ERROR));
}

TEST_F(KernelFiles, OpenFileCutsALongPathNameTo127Characters) {
    fs::path deep = fs::current_path();
    for (int i = 0; i < 4; i++) deep /= std::string(40, static_cast<char>('a' + i));
    fs::create_directories(deep);
    WriteFile(deep / "long.bmp", "deep");
    OFSTRUCT ofs{};
    EXPECT_EQ(ReadAll((deep / "long.bmp").c_str(), &ofs), "deep");
    EXPECT_EQ(std::strlen(ofs.szPathName), 127u);
    EXPECT_EQ(std::string(ofs.szPathName), (deep / "long.bmp").string().substr(0, 127));
}

TEST_F(KernelFiles, LlseekMovesFromEachOriginAndRefusesBeforeTheStart) {
    WriteFile("ten.bin", "0123456789");
    OFSTRUCT ofs{};
    HFILE file = OpenFile("ten.bin", &ofs, OF_READ);
    ASSERT_NE(file, HFILE_ERROR);
    struct Case {
        LONG offset;
        int origin;
        LONG result;
        DWORD error;
        char next; // the byte a read then finds; 0 for none
    } cases[] = {
        {3, FILE_BEGIN, 3, 0, '3'},
        {2, FILE_CURRENT, 6, 0, '6'}, // after reading '3'
        {-1, FILE_END, 9, 0, '9'},
        {-11, FILE_END, HFILE_ERROR, ERROR_NEGATIVE_SEEK, 0}, // stays after '9'
        {-1, FILE_BEGIN, HFILE_ERROR, ERROR_NEGATIVE_SEEK, 0},
        {0, 3, HFILE_ERROR, ERROR_INVALID_PARAMETER, 0},
        {0, FILE_CURRENT, 10, 0, 0},
        {5, FILE_END, 15, 0, 0}, // past the end: allowed, reads find nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << " from " << c.origin);
        SetLastError(0);
        EXPECT_EQ(_llseek(file, c.offset, c.origin), c.result);
        EXPECT_EQ(GetLastError(), c.error);
        char byte = 0;
        if (c.next) {
            EXPECT_EQ(_lread(file, &byte, 1), 1u);
            EXPECT_EQ(byte, c.next);
        }
    }
    char buffer[4];
    EXPECT_EQ(_lread(file, buffer, sizeof(buffer)), 0u);
    EXPECT_EQ(_lclose(file), 0);
}

TEST_F(KernelFiles, LreadReturnsAShortCountAtTheEndOfTheFile) {
    WriteFile("ten.bin", "0123456789");
    OFSTRUCT ofs{};
    HFILE file = OpenFile("ten.bin", &ofs, OF_READ);
    ASSERT_NE(file, HFILE_ERROR);
    ASSERT_EQ(_llseek(file, 6, FILE_BEGIN), 6);
    char buffer[8];
    std::memset(buffer, '-', sizeof(buffer));
    EXPECT_EQ(_lread(file, buffer, sizeof(buffer)), 4u);
    EXPECT_EQ(std::string(buffer, sizeof(buffer)), "6789----");
    EXPECT_EQ(_lread(file, buffer, sizeof(buffer)), 0u);
    EXPECT_EQ(_lread(file, nullptr, 0), 0u);
    EXPECT_EQ(_lread(file, nullptr, 4), static_cast<UINT>(HFILE_ERROR));
    EXPECT_EQ(_lclose(file), 0);
}

TEST_F(KernelFiles, FileCallsRefuseUnknownAndClosedHandles) {
    WriteFile("one.bin", "1");
    OFSTRUCT ofs{};
    HFILE file = OpenFile("one.bin", &ofs, OF_READ);
    ASSERT_GT(file, 0);
    ASSERT_EQ(_lclose(file), 0);
    char byte;
    for (HFILE bad : {file, HFILE{0}, HFILE{1}, HFILE_ERROR, HFILE{12345}}) {
        SCOPED_TRACE(bad);
        SetLastError(0);
        EXPECT_EQ(_lread(bad, &byte, 1), static_cast<UINT>(HFILE_ERROR));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(_llseek(bad, 0, FILE_BEGIN), HFILE_ERROR);
        EXPECT_EQ(_lclose(bad), HFILE_ERROR);
    }
    // A new file never takes the closed file's number.
    HFILE again = OpenFile("one.bin", &ofs, OF_READ);
    EXPECT_NE(again, file);
    EXPECT_EQ(_lclose(again), 0);
}

} // namespace
