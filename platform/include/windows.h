// windows.h for non-Windows hosts: the part of the Win32 API that the game
// calls, with Win32's type sizes and values. Declarations only; the functions
// live in platform/win32 and draw on the host chosen at link time.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Calling conventions and basic types --------------------------------

#define WINAPI
#define CALLBACK
#define APIENTRY
#define FAR
#define NEAR
#define CONST const

typedef void VOID;
typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int INT;
typedef unsigned int UINT;
typedef char CHAR;
typedef float FLOAT;
typedef int32_t HRESULT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef uintptr_t SIZE_T;

typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef BOOL* LPBOOL;

#define TRUE 1
#define FALSE 0
#ifndef NULL
#define NULL nullptr
#endif

static_assert(sizeof(BYTE) == 1, "BYTE is 8-bit");
static_assert(sizeof(WORD) == 2 && sizeof(SHORT) == 2, "WORD and SHORT are 16-bit");
static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4, "DWORD and LONG are 32-bit");
static_assert(sizeof(UINT) == 4 && sizeof(INT) == 4 && sizeof(BOOL) == 4, "UINT, INT, BOOL are 32-bit");
static_assert(sizeof(HRESULT) == 4, "HRESULT is 32-bit");
static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*),
              "WPARAM and LPARAM are pointer-sized");

// ---- Structures ----------------------------------------------------------

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *PRECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *PPOINT, *LPPOINT;

static_assert(sizeof(RECT) == 16, "RECT is four LONGs");
static_assert(sizeof(POINT) == 8, "POINT is two LONGs");

// ---- Virtual-key codes ---------------------------------------------------

#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5

// ---- KERNEL32 ------------------------------------------------------------

extern "C" {

// Milliseconds since the host started, wrapping at 2^32.
DWORD WINAPI GetTickCount(void);

// ---- USER32 --------------------------------------------------------------

// High bit (0x8000) while the key is down; low bit (1) when the key was
// pressed since the previous query of that key. 0 for codes outside 0..255.
SHORT WINAPI GetAsyncKeyState(int vKey);

} // extern "C"
