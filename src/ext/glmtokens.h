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
// Numbers are parsed here or, when unusual, with std::from_chars; both always
// take a point as the decimal separator. The reader therefore leaves the process locale alone:
// setting LC_NUMERIC would change number formatting for the whole program,
// and the "en_US" locale is not installed everywhere.
//
// Every text is followed by kGlmPadding zero bytes, and that is
// what makes the scanning loops short: no loop needs to test for the end, as
// a zero byte stops every one of them (it is neither whitespace nor a digit),
// and eight or sixteen bytes can be read at once anywhere up to the end. A zero byte
// inside the text is an ordinary character of a token; only the token loop
// has to tell the two apart.

#include <GL/gl.h>

#include <charconv>
#include <cmath>
#include <stdint.h>
#include <string.h>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The scanning functions run for every character of a model; they are
// inlined into the passes whatever the compiler's own estimate.
#define GLM_HOT inline __attribute__((always_inline))

// Zero bytes after the end of every text the reader scans.
const size_t kGlmPadding = 64;

// A read position in a padded text.
struct GLMcursor {
    const char* p;    // next character
    const char* end;  // one past the last character; kGlmPadding zero bytes follow
};

// Indices beyond this are out of range of any model anyway; saturating here
// keeps the arithmetic on them defined.
const long long kGlmIndexLimit = 1LL << 40;

// Character classes of the C locale, by table: the tokeniser asks for every byte.
struct GLMcharClasses {
    bool space[256] = {};
    bool tokenEnd[256] = {};  // whitespace, and the zero byte that may be the end
    constexpr GLMcharClasses()
    {
        for (unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'})
            space[c] = tokenEnd[c] = true;
        tokenEnd[0] = true;
    }
};
constexpr GLMcharClasses kGlmClasses;

GLM_HOT bool _glmIsSpace(char c)
{
    return kGlmClasses.space[static_cast<unsigned char>(c)];
}

GLM_HOT bool _glmIsDigit(char c)
{
    return static_cast<unsigned char>(c - '0') < 10;
}

// Whitespace within a line.
GLM_HOT bool _glmIsBlank(char c)
{
    return c != '\n' && _glmIsSpace(c);
}

GLM_HOT void _glmSkipSpace(GLMcursor& c)
{
    while (_glmIsSpace(*c.p))
        ++c.p;
}

GLM_HOT void _glmSkipBlanks(GLMcursor& c)
{
    while (_glmIsBlank(*c.p))
        ++c.p;
}

GLM_HOT void _glmSkipLine(GLMcursor& c)
{
#ifdef __SSE2__
    // Most lines are short: sixteen characters at a time, inline.
    for (const char* p = c.p; p < c.end; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        if (const unsigned newline = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8('\n'))))) {
            p += __builtin_ctz(newline);
            c.p = p < c.end ? p + 1 : c.end;
            return;
        }
    }
    c.p = c.end;
#else
    // The cursor never passes the end; the test only tells the compiler so.
    const void* newline = c.p < c.end ? memchr(c.p, '\n', size_t(c.end - c.p)) : nullptr;
    c.p = newline ? static_cast<const char*>(newline) + 1 : c.end;
#endif
}

// Moves past the token that starts here (possibly empty).
GLM_HOT void _glmSkipTokenChars(GLMcursor& c)
{
    for (;;) {
        while (!kGlmClasses.tokenEnd[static_cast<unsigned char>(*c.p)])
            ++c.p;
        if (*c.p != '\0' || c.p == c.end)
            return;
        ++c.p;  // a zero byte inside the text belongs to the token
    }
}

// The next whitespace-delimited token; false at the end of the text.
GLM_HOT bool _glmNextToken(GLMcursor& c, std::string_view& token)
{
    _glmSkipSpace(c);
    const char* start = c.p;
    _glmSkipTokenChars(c);
    token = std::string_view(start, size_t(c.p - start));
    return c.p != start;
}

// The first word of the rest of the line ("" if there is none); the cursor
// moves past the whole line.
inline std::string_view _glmFirstWord(GLMcursor& c)
{
    _glmSkipBlanks(c);
    const char* start = c.p;
    _glmSkipTokenChars(c);
    const std::string_view word(start, size_t(c.p - start));
    _glmSkipLine(c);
    return word;
}

// Eight characters as one little-endian word.
GLM_HOT uint64_t _glmLoad8(const char* p)
{
    uint64_t word;
    memcpy(&word, p, sizeof word);
    return word;
}

// How many of the word's characters, from the first, are decimal digits (0 to 8).
// Carries and borrows of the additions only run towards later characters,
// so they cannot disturb the digits before the first non-digit.
GLM_HOT int _glmDigitRun(uint64_t word)
{
    const uint64_t nibbles = 0xF0F0F0F0F0F0F0F0ull, threes = 0x3030303030303030ull;
    const uint64_t notDigit = ((word & nibbles) ^ threes) | (((word + 0x0606060606060606ull) & nibbles) ^ threes);
    return notDigit ? __builtin_ctzll(notDigit) / 8 : 8;
}

// The value of the first `count` (1 to 8) digits of the word, in three
// multiplications: pairs of digits, then pairs of pairs, then the halves.
GLM_HOT uint32_t _glmDigitValue(uint64_t word, int count)
{
    uint64_t v = (word - 0x3030303030303030ull) << (8 * (8 - count));
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32)))
         + (((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >> 32;
    return uint32_t(v);
}

// Past a leading "-" or "+", as "%d" and "%f" read them.
GLM_HOT const char* _glmSkipSign(const char* s, bool& negative)
{
    negative = *s == '-';
    return s + (*s == '-' || *s == '+');
}

// Powers of ten that a float holds exactly.
constexpr float kGlmPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
constexpr uint64_t kGlmIntPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

// Any number that _glmReadShortFloat does not take, read as "%f" would
// read it (glmtokens.cpp); false when no number starts here.
bool _glmReadOtherFloat(GLMcursor& c, GLfloat& value);

// The common "-12.345678": up to seven digits on either side of the point,
// at most 2^24 as its digits and at most nine digits in all, read eight
// characters at a time. One exact float division then gives the correctly
// rounded value. False for anything else (exponents, long mantissas, "nan").
GLM_HOT bool _glmReadShortFloat(GLMcursor& c, GLfloat& value)
{
    bool negative = false;
    const char* s = _glmSkipSign(c.p, negative);
    const uint64_t whole = _glmLoad8(s);
    const int digits = _glmDigitRun(whole);
    if (digits == 8)
        return false;
    uint64_t mantissa = digits ? _glmDigitValue(whole, digits) : 0;
    s += digits;
    int decimals = 0;
    if (*s == '.') {
        const uint64_t fraction = _glmLoad8(++s);
        decimals = _glmDigitRun(fraction);
        if (decimals == 8)
            return false;
        if (decimals)
            mantissa = mantissa * kGlmIntPowersOfTen[decimals] + _glmDigitValue(fraction, decimals);
        s += decimals;
    }
    if (digits + decimals == 0 || digits + decimals > 9 || mantissa > (1ul << 24) || *s == 'e' || *s == 'E')
        return false;
    const float magnitude = float(mantissa) / kGlmPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    c.p = s;
    return true;
}

// One number of the current line. False, with nothing consumed but blanks,
// when no number starts here; a number that is not finite reads as 0.
GLM_HOT bool _glmReadFloat(GLMcursor& c, GLfloat& value)
{
    _glmSkipBlanks(c);
    return _glmReadShortFloat(c, value) || _glmReadOtherFloat(c, value);
}

// Up to `count` numbers of the current line into `values`; stops at the first
// that does not parse, leaving the remaining values as they are.
GLM_HOT void _glmReadFloats(GLMcursor& c, GLfloat* values, int count)
{
    for (int i = 0; i < count; ++i)
        if (!_glmReadFloat(c, values[i]))
            return;
}

// One integer as "%d" reads it, without the leading whitespace (see
// _glmReadInt); indices of up to seven digits are read eight characters at a time.
GLM_HOT bool _glmReadIntHere(GLMcursor& c, long long& value)
{
    bool negative = false;
    const char* s = _glmSkipSign(c.p, negative);
    const uint64_t word = _glmLoad8(s);
    const int digits = _glmDigitRun(word);
    if (digits == 0)
        return false;
    long long number = _glmDigitValue(word, digits);
    s += digits;
    if (digits == 8)
        for (; _glmIsDigit(*s); ++s)
            if (number < kGlmIndexLimit)
                number = number * 10 + (*s - '0');
    value = negative ? -number : number;
    c.p = s;
    return true;
}

// One integer as "%d" reads it: leading whitespace, newlines included, is
// consumed even when no number follows.
GLM_HOT bool _glmReadInt(GLMcursor& c, long long& value)
{
    _glmSkipSpace(c);
    return _glmReadIntHere(c, value);
}

GLM_HOT bool _glmExpect(GLMcursor& c, char expected)
{
    if (*c.p != expected)
        return false;
    ++c.p;
    return true;
}

#endif
