// wsprintfA: Windows' formatter, its conversions and flags. The 1,024-character
// limit is in the API suite (tests/platform/api), which Wine runs too.
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

namespace {

template <typename... Args> std::string Formatted(const char* format, Args... args) {
    char buffer[1100];
    int length = wsprintfA(buffer, format, args...);
    EXPECT_EQ(length, static_cast<int>(std::string(buffer).size()));
    return buffer;
}

} // namespace

TEST(WsprintfA, FormatsAsWindowsDoes) {
    const char* nothing = nullptr;
    struct Case {
        std::string got;
        const char* expected;
    } const cases[] = {
        {Formatted("Attach lpDDSBack Failed"), "Attach lpDDSBack Failed"},
        {Formatted("100%%"), "100%"},
        {Formatted("%d %i %u", -42, 17, 4000000000u), "-42 17 4000000000"},
        {Formatted("%x %X %#x %#X", 255, 255, 255, 0), "ff FF 0xff 0X0"},
        {Formatted("%ld %lu %lx %li", -5, 5u, 0xABCu, 9), "-5 5 abc 9"},
        {Formatted("%hd %hu", 70000, 70000), "4464 4464"},
        {Formatted("[%5d] [%-5d] [%05d]", 42, 42, 42), "[   42] [42   ] [00042]"},
        {Formatted("%010ld", -1), "-000000001"},
        {Formatted("%.3d %.0d", 7, 0), "007 0"},
        {Formatted("%#06x", 0x1F), "0x001f"},
        {Formatted("%c%c", 'o', 'k'), "ok"},
        {Formatted("[%s] [%6s] [%-6s] [%.2s]", "abc", "abc", "abc", "abc"),
         "[abc] [   abc] [abc   ] [ab]"},
        {Formatted("%s", nothing), "(null)"},
        {Formatted("%f %5.2f %y", 3), "f f y"}, // no floating point; unknown types are text
        {Formatted("%I64d", -1234567890123LL), "-1234567890123"},
        {Formatted("trailing %"), "trailing "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected);
}

TEST(WsprintfA, WideStringsAndCharactersAreNarrowed) {
    const uint16_t wide[] = {'h', 'i', 0x263A, 0};
    EXPECT_EQ(Formatted("%ls %S %lc", wide, wide, 0x41), "hi? hi? A");
}

TEST(WsprintfA, NoBufferIsRefused) {
    SetLastError(0);
    EXPECT_EQ(wsprintfA(nullptr, "x"), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOACCESS));
}
