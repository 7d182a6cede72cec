// The numbers that the tokeniser's short path leaves: long mantissas,
// exponents, "nan" and "inf", or nothing that reads as a number at all.

#include "glmtokens.h"

namespace {

// Up to nine digits, at most 2^24 as their value and at most ten decimals:
// one exact float division still gives the correctly rounded value.
bool _glmReadSimpleFloat(GLMcursor& c, GLfloat& value)
{
    const char* s = c.p;
    const bool negative = *s == '-';
    if (*s == '-' || *s == '+')
        ++s;
    unsigned long mantissa = 0;
    int digits = 0, decimals = 0;
    for (; _glmIsDigit(*s); ++s, ++digits)
        mantissa = mantissa * 10 + unsigned(*s - '0');
    if (*s == '.')
        for (++s; _glmIsDigit(*s); ++s, ++digits, ++decimals)
            mantissa = mantissa * 10 + unsigned(*s - '0');
    if (digits == 0 || digits > 9 || decimals > 10 || mantissa > (1ul << 24) || *s == 'e' || *s == 'E')
        return false;
    const float magnitude = float(mantissa) / kGlmPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    c.p = s;
    return true;
}

}  // namespace

bool _glmReadOtherFloat(GLMcursor& c, GLfloat& value)
{
    if (_glmReadSimpleFloat(c, value))
        return true;
    const char* start = c.p;
    if (*start == '+' && start[1] != '-')
        ++start;  // from_chars takes no plus sign; "%f" does
    float number = 0.0f;
    const std::from_chars_result result = std::from_chars(start, c.end, number);
    if (result.ec == std::errc::invalid_argument)
        return false;
    c.p = result.ptr;
    value = (result.ec == std::errc() && std::isfinite(number)) ? number : 0.0f;
    return true;
}
