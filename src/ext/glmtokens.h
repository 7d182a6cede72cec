#ifndef GLMTOKENS_H
#define GLMTOKENS_H

// The tokeniser of the OBJ and MTL reader: a cursor over text in memory,
// whitespace-delimited tokens, the rest of a line, and numbers, under the
// rules that a scanf-based reader would apply:
// - tokens and lines may be of any length: a long token is read whole and a
//   skipped line is skipped up to its newline, however long it is;
// - a number that is missing or does not parse leaves its slot alone, and
//   "nan", "inf" or out-of-range numbers read as 0;
// - integers skip leading whitespace, newlines included, as "%d" does.
//
// Numbers are parsed with std::from_chars, which always takes a point as the
// decimal separator. The reader therefore leaves the process locale alone:
// setting LC_NUMERIC would change number formatting for the whole program,
// and the "en_US" locale is not installed everywhere.

#include <GL/gl.h>

#include <charconv>
#include <cmath>
#include <string.h>
#include <string_view>

// A read position in a text buffer.
struct GLMcursor {
    const char* p;    // next character
    const char* end;  // one past the last character
};

// Indices beyond this are out of range of any model anyway; saturating here
// keeps the arithmetic on them defined.
const long long kGlmIndexLimit = 1LL << 40;

// Character classes of the C locale, by table: the tokeniser asks for every byte.
struct GLMcharClasses {
    bool space[256] = {};
    constexpr GLMcharClasses()
    {
        for (unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'})
            space[c] = true;
    }
};
constexpr GLMcharClasses kGlmClasses;

inline bool _glmIsSpace(char c)
{
    return kGlmClasses.space[static_cast<unsigned char>(c)];
}

inline bool _glmIsDigit(char c)
{
    return static_cast<unsigned char>(c - '0') < 10;
}

// Whitespace within a line.
inline bool _glmIsBlank(char c)
{
    return c != '\n' && _glmIsSpace(c);
}

inline void _glmSkipBlanks(GLMcursor& c)
{
    while (c.p < c.end && _glmIsBlank(*c.p))
        ++c.p;
}

inline void _glmSkipLine(GLMcursor& c)
{
    // The cursor never passes the end; the test only tells the compiler so.
    const void* newline = c.p < c.end ? memchr(c.p, '\n', size_t(c.end - c.p)) : nullptr;
    c.p = newline ? static_cast<const char*>(newline) + 1 : c.end;
}

// The next whitespace-delimited token; false at the end of the text.
inline bool _glmNextToken(GLMcursor& c, std::string_view& token)
{
    while (c.p < c.end && _glmIsSpace(*c.p))
        ++c.p;
    const char* start = c.p;
    while (c.p < c.end && !_glmIsSpace(*c.p))
        ++c.p;
    token = std::string_view(start, size_t(c.p - start));
    return c.p != start;
}

// The first word of the rest of the line ("" if there is none); the cursor
// moves past the whole line.
inline std::string_view _glmFirstWord(GLMcursor& c)
{
    _glmSkipBlanks(c);
    const char* start = c.p;
    while (c.p < c.end && !_glmIsSpace(*c.p))
        ++c.p;
    const std::string_view word(start, size_t(c.p - start));
    _glmSkipLine(c);
    return word;
}

// Powers of ten that a float holds exactly.
constexpr float kGlmPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// The common "-12.345678" with at most 2^24 as its digits and at most ten
// decimals: one exact float division gives the correctly rounded value.
// Anything else (exponents, long mantissas, "nan", ...) returns false.
inline bool _glmReadSimpleFloat(GLMcursor& c, GLfloat& value)
{
    const char* s = c.p;
    const bool negative = s < c.end && *s == '-';
    if (s < c.end && (*s == '-' || *s == '+'))
        ++s;
    unsigned long mantissa = 0;
    int digits = 0, decimals = 0;
    for (; s < c.end && _glmIsDigit(*s); ++s, ++digits)
        mantissa = mantissa * 10 + unsigned(*s - '0');
    if (s < c.end && *s == '.')
        for (++s; s < c.end && _glmIsDigit(*s); ++s, ++digits, ++decimals)
            mantissa = mantissa * 10 + unsigned(*s - '0');
    if (digits == 0 || digits > 9 || decimals > 10 || mantissa > (1ul << 24)
        || (s < c.end && (*s == 'e' || *s == 'E')))
        return false;
    const float magnitude = float(mantissa) / kGlmPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    c.p = s;
    return true;
}

// One number of the current line. False, with nothing consumed but blanks,
// when no number starts here; a number that is not finite reads as 0.
inline bool _glmReadFloat(GLMcursor& c, GLfloat& value)
{
    _glmSkipBlanks(c);
    if (_glmReadSimpleFloat(c, value))
        return true;
    const char* start = c.p;
    if (start < c.end && *start == '+' && !(start + 1 < c.end && start[1] == '-'))
        ++start;  // from_chars takes no plus sign; "%f" does
    float number = 0.0f;
    const std::from_chars_result result = std::from_chars(start, c.end, number);
    if (result.ec == std::errc::invalid_argument)
        return false;
    c.p = result.ptr;
    value = (result.ec == std::errc() && std::isfinite(number)) ? number : 0.0f;
    return true;
}

// Up to `count` numbers of the current line into `values`; stops at the first
// that does not parse, leaving the remaining values as they are.
inline void _glmReadFloats(GLMcursor& c, GLfloat* values, int count)
{
    for (int i = 0; i < count; ++i)
        if (!_glmReadFloat(c, values[i]))
            return;
}

// One integer as "%d" reads it: leading whitespace, newlines included, is
// consumed even when no number follows.
inline bool _glmReadInt(GLMcursor& c, long long& value)
{
    while (c.p < c.end && _glmIsSpace(*c.p))
        ++c.p;
    const char* s = c.p;
    const bool negative = s < c.end && *s == '-';
    if (s < c.end && (*s == '-' || *s == '+'))
        ++s;
    if (s == c.end || !_glmIsDigit(*s))
        return false;
    long long number = 0;
    for (; s < c.end && _glmIsDigit(*s); ++s)
        if (number < kGlmIndexLimit)
            number = number * 10 + (*s - '0');
    value = negative ? -number : number;
    c.p = s;
    return true;
}

inline bool _glmExpect(GLMcursor& c, char expected)
{
    if (c.p == c.end || *c.p != expected)
        return false;
    ++c.p;
    return true;
}

#endif
