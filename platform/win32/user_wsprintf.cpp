// USER32 wsprintfA: Windows' own small formatter, not the C library's.
//
// A conversion is %[-][#][0][width][.precision][size]type, the size being
// h, l, w, I, I32 or I64. Types: c C d i u x X p s S. There is no floating
// point: "%f" is not a conversion, so the f is copied like text, as is
// any character that is not a type (that is how "%%" gives "%"). Output
// stops at 1,024 characters including the terminator.
#include <cstdarg>
#include <cstdint>
#include <cstring>

#include <windows.h>

namespace {

constexpr int kMaxOutput = 1024; // characters, terminator included

struct ArgList {
    va_list list;
};

class Output {
  public:
    explicit Output(char* buffer) : buffer_(buffer) {}
    void Put(char c) {
        if (length_ < kMaxOutput - 1) buffer_[length_++] = c;
    }
    void Repeat(char c, int count) {
        for (int i = 0; i < count; i++)
            Put(c);
    }
    int Finish() {
        buffer_[length_] = '\0';
        return length_;
    }

  private:
    char* buffer_;
    int length_ = 0;
};

enum class Size { Default, Short, Long, Wide, Int64, IntPtr };

struct Conversion {
    bool left = false;
    bool prefix = false; // '#': 0x / 0X before hexadecimal
    bool zero = false;
    int width = 0;
    int precision = 0; // 0: none given
    Size size = Size::Default;
    char type = 0;
};

// Widths and precisions beyond the output's size change nothing.
const char* ParseNumber(const char* p, int* value) {
    while (*p >= '0' && *p <= '9') {
        if (*value < kMaxOutput) *value = *value * 10 + (*p - '0');
        p++;
    }
    return p;
}

const char* ParseSize(const char* p, Size* size) {
    switch (*p) {
    case 'h':
        *size = Size::Short;
        return p + 1;
    case 'l':
        *size = Size::Long;
        return p + 1;
    case 'w':
        *size = Size::Wide;
        return p + 1;
    case 'I':
        if (p[1] == '6' && p[2] == '4') {
            *size = Size::Int64;
            return p + 3;
        }
        if (p[1] == '3' && p[2] == '2') return p + 3;
        *size = Size::IntPtr;
        return p + 1;
    default:
        return p;
    }
}

// Reads the conversion after '%'. Returns where the text continues: past
// the type, or at the character that turned out not to be one.
const char* ParseConversion(const char* p, Conversion* conv) {
    if (*p == '-') {
        conv->left = true;
        p++;
    }
    if (*p == '#') {
        conv->prefix = true;
        p++;
    }
    if (*p == '0') {
        conv->zero = true;
        p++;
    }
    p = ParseNumber(p, &conv->width);
    if (*p == '.') p = ParseNumber(p + 1, &conv->precision);
    p = ParseSize(p, &conv->size);
    if (*p && std::strchr("cCdiuxXpsS", *p)) {
        conv->type = *p;
        return p + 1;
    }
    return p;
}

// A UTF-16 unit in this system's ANSI code page: ASCII, else '?'.
char Narrow(unsigned unit) {
    return unit < 0x80 ? static_cast<char>(unit) : '?';
}

bool IsWide(const Conversion& conv, bool upperType) {
    if (conv.size == Size::Long || conv.size == Size::Wide) return true;
    if (conv.size == Size::Short) return false;
    return upperType; // %C and %S are the other width than %c and %s
}

void Pad(Output& out, const Conversion& conv, int length, bool before) {
    if (conv.left != before && conv.width > length) out.Repeat(' ', conv.width - length);
}

// A character whose value is zero writes nothing.
void FormatChar(Output& out, const Conversion& conv, ArgList& args) {
    int value = va_arg(args.list, int);
    char c = IsWide(conv, conv.type == 'C') ? Narrow(static_cast<unsigned>(value) & 0xFFFF)
                                            : static_cast<char>(value);
    if (c == '\0') return;
    Pad(out, conv, 1, true);
    out.Put(c);
    Pad(out, conv, 1, false);
}

// The precision is the most characters taken; NULL prints "(null)".
void FormatString(Output& out, const Conversion& conv, ArgList& args) {
    bool wide = IsWide(conv, conv.type == 'S');
    const void* pointer = va_arg(args.list, const void*);
    const auto* narrow = static_cast<const char*>(pointer);
    const auto* units = static_cast<const uint16_t*>(pointer);
    if (!pointer) {
        narrow = "(null)";
        wide = false;
    }
    int length = 0;
    while ((conv.precision == 0 || length < conv.precision) && length < kMaxOutput &&
           (wide ? units[length] != 0 : narrow[length] != '\0'))
        length++;
    Pad(out, conv, length, true);
    for (int i = 0; i < length; i++)
        out.Put(wide ? Narrow(units[i]) : narrow[i]);
    Pad(out, conv, length, false);
}

struct Number {
    uint64_t magnitude = 0;
    bool negative = false;
};

// 'l' is 32 bits as in Windows; 'h' cuts to 16; 'I' is pointer-sized.
Number ReadNumber(const Conversion& conv, ArgList& args) {
    bool isSigned = conv.type == 'd' || conv.type == 'i';
    int64_t value = 0;
    if (conv.size == Size::Int64)
        value = va_arg(args.list, long long);
    else if (conv.size == Size::IntPtr || conv.type == 'p')
        value = va_arg(args.list, intptr_t);
    else if (conv.size == Size::Short)
        value = isSigned ? int64_t{static_cast<int16_t>(va_arg(args.list, int))}
                         : int64_t{static_cast<uint16_t>(va_arg(args.list, int))};
    else
        value = isSigned ? int64_t{va_arg(args.list, int)} : int64_t{va_arg(args.list, unsigned)};
    if (isSigned && value < 0) return {0 - static_cast<uint64_t>(value), true};
    return {static_cast<uint64_t>(value), false};
}

// The precision is the least number of digits (at least one); '0' fills
// the width with zeros after the sign and the 0x prefix.
void FormatInteger(Output& out, Conversion conv, ArgList& args) {
    Number number = ReadNumber(conv, args);
    bool hex = conv.type == 'x' || conv.type == 'X' || conv.type == 'p';
    const char* digitSet = conv.type == 'x' ? "0123456789abcdef" : "0123456789ABCDEF";
    char digits[24];
    int count = 0;
    do {
        digits[count++] = digitSet[number.magnitude % (hex ? 16 : 10)];
        number.magnitude /= hex ? 16 : 10;
    } while (number.magnitude);
    int prefix = (conv.prefix && hex) ? 2 : 0;
    int zeros = conv.precision > count ? conv.precision - count : 0;
    int length = (number.negative ? 1 : 0) + prefix + zeros + count;
    if (conv.zero && !conv.left && conv.width > length) {
        zeros += conv.width - length;
        length = conv.width;
    }
    Pad(out, conv, length, true);
    if (number.negative) out.Put('-');
    if (prefix) {
        out.Put('0');
        out.Put(conv.type == 'x' ? 'x' : 'X');
    }
    out.Repeat('0', zeros);
    while (count > 0)
        out.Put(digits[--count]);
    Pad(out, conv, length, false);
}

void FormatArgument(Output& out, Conversion& conv, ArgList& args) {
    switch (conv.type) {
    case 'c':
    case 'C':
        FormatChar(out, conv, args);
        break;
    case 's':
    case 'S':
        FormatString(out, conv, args);
        break;
    case 'p':
        // A pointer: upper-case hexadecimal, all its digits.
        conv.zero = true;
        conv.width = 2 * static_cast<int>(sizeof(void*));
        FormatInteger(out, conv, args);
        break;
    default:
        FormatInteger(out, conv, args);
        break;
    }
}

int Format(char* buffer, const char* format, va_list list) {
    Output out(buffer);
    ArgList args;
    va_copy(args.list, list);
    const char* p = format;
    while (*p) {
        if (*p != '%') {
            out.Put(*p++);
            continue;
        }
        Conversion conv;
        p = ParseConversion(p + 1, &conv);
        if (conv.type)
            FormatArgument(out, conv, args);
        else if (*p)
            out.Put(*p++); // not a type: the character itself, '%' included
    }
    va_end(args.list);
    return out.Finish();
}

} // namespace

// wsprintfA returns the number of characters stored, the terminator not
// counted; output that does not fit in 1,024 characters is cut off there.
// No buffer fails with ERROR_NOACCESS (-1); no format stores "".
extern "C" int wsprintfA(LPSTR buffer, LPCSTR format, ...) {
    if (!buffer) {
        SetLastError(ERROR_NOACCESS);
        return -1;
    }
    if (!format) {
        buffer[0] = '\0';
        return 0;
    }
    va_list list;
    va_start(list, format);
    int length = Format(buffer, format, list);
    va_end(list);
    return length;
}
