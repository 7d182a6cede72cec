#ifndef GLMFACES_H
#define GLMFACES_H

// Face statements: corner references in one of four forms, read like "%d",
// "%d/%d", "%d/%d/%d" or "%d//%d" (the first reference, which must be on the
// "f" line, decides the form) for as long as the next text reads as a
// reference, and cut into a fan of triangles.

#include "glmtokens.h"

// One face corner as written: vertex, texture coordinate and normal index,
// 0 where the reference gives none.
struct GLMref {
    long long v, t, n;
};

// The four face forms; the first reference of a face decides which one.
enum GLMfaceForm { GLM_FACE_V, GLM_FACE_VT, GLM_FACE_VTN, GLM_FACE_VN };

// One corner reference in the given form; returns how many of its values
// were read (0: this is not a reference), as the matching scanf format would.
// Within the first token of a face, the reference ends with the token: no
// whitespace is skipped there.
template <bool kInToken = false> GLM_HOT int _glmReadRef(GLMcursor& c, GLMfaceForm form, GLMref& ref)
{
    const auto readInt = [&c](long long& value) {
        return kInToken ? _glmReadIntHere(c, value) : _glmReadInt(c, value);
    };
    ref = GLMref{0, 0, 0};
    if (!readInt(ref.v))
        return 0;
    switch (form) {
    case GLM_FACE_V:
        return 1;
    case GLM_FACE_VN:
        return _glmExpect(c, '/') && _glmExpect(c, '/') && readInt(ref.n) ? 2 : 1;
    case GLM_FACE_VT:
        return _glmExpect(c, '/') && readInt(ref.t) ? 2 : 1;
    case GLM_FACE_VTN:
        if (!_glmExpect(c, '/') || !readInt(ref.t))
            return 1;
        return _glmExpect(c, '/') && readInt(ref.n) ? 3 : 2;
    }
    return 1;
}

// The form of a face and its first corner, from the face's first token: "//"
// anywhere makes it vertex and normal; otherwise the longest of "%d/%d/%d",
// "%d/%d" and "%d" that the token matches.
inline GLMfaceForm _glmFirstCorner(std::string_view token, GLMref& corner, bool& read)
{
    GLMcursor c{token.data(), token.data() + token.size()};
    if (token.find("//") != std::string_view::npos) {
        read = _glmReadRef<true>(c, GLM_FACE_VN, corner) > 0;
        return GLM_FACE_VN;
    }
    const int values = _glmReadRef<true>(c, GLM_FACE_VTN, corner);
    read = values > 0;
    if (values == 3)
        return GLM_FACE_VTN;
    corner.n = 0;
    return values == 2 ? GLM_FACE_VT : GLM_FACE_V;
}

// Reads the references of one face, just after its "f", and hands each
// triangle of its fan to emit(corner 0, corner 1, corner 2): (1, 2, 3),
// (1, 3, 4), (1, 4, 5), ... A face whose first three references are not all
// there makes no triangle; an "f" with nothing after it on its line leaves
// the next line alone.
template <typename Emit> void _glmReadFace(GLMcursor& c, Emit&& emit)
{
    _glmSkipBlanks(c);
    if (c.p == c.end || *c.p == '\n')
        return;
    std::string_view token;
    _glmNextToken(c, token);
    GLMref corner0{}, previous{}, next{};
    bool read0 = false;
    const GLMfaceForm form = _glmFirstCorner(token, corner0, read0);
    const bool read1 = _glmReadRef(c, form, previous) > 0;
    const bool whole = read0 && read1 && _glmReadRef(c, form, next) > 0;
    if (whole)
        emit(corner0, previous, next);
    previous = next;
    while (_glmReadRef(c, form, next) > 0) {
        if (whole)
            emit(corner0, previous, next);
        previous = next;
    }
}

// An upper bound for the triangles of a face, counted without reading its
// numbers: the first pass needs no more to size the arrays, and the second
// pass, which reads every reference, then trims them. It applies to a face
// whose line after the "f" holds only digits, single slashes and blanks and
// whose next line does not start with a number, as "f 1/1/1 2/2/2 3/3/3".
// There a reference can only start at the start of a token (a sign, or the
// "%d//%d" form, could start one inside a token), and the face ends with its
// line; a malformed reference ends it sooner, hence a bound. True, with the
// cursor at the next line, when it applies; false, with the cursor where it
// was, for any other face, which must then be read.
// The set bits of a 16-bit mask (without a library call where the target
// has no population count instruction).
GLM_HOT unsigned _glmCountBits16(unsigned bits)
{
    bits = bits - ((bits >> 1) & 0x5555u);
    bits = (bits & 0x3333u) + ((bits >> 2) & 0x3333u);
    bits = (bits + (bits >> 4)) & 0x0F0Fu;
    return (bits + (bits >> 8)) & 0x1Fu;
}

GLM_HOT bool _glmBoundSimpleFace(GLMcursor& c, GLuint& triangles)
{
#ifdef __SSE2__
    const char* p = c.p;
    unsigned tokens = 0, blankBefore = 1, slashBefore = 0;  // the "f" ended at whitespace
    for (;; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const auto is = [&block](char ch) { return _mm_cmpeq_epi8(block, _mm_set1_epi8(ch)); };
        const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8('0' - 1)),
                                            _mm_cmplt_epi8(block, _mm_set1_epi8('9' + 1)));
        const unsigned slash = unsigned(_mm_movemask_epi8(is('/')));
        const unsigned word = unsigned(_mm_movemask_epi8(digit)) | slash;
        const unsigned blank = unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(is(' '), is('\t')), is('\r'))));
        const unsigned newline = unsigned(_mm_movemask_epi8(is('\n')));
        const unsigned line = newline ? (newline & (0u - newline)) - 1 : 0xFFFFu;  // the bytes before it
        if (((word | blank) & line) != line || (slash & ((slash << 1) | slashBefore) & line))
            return false;  // another character, "//", or the end of the text
        tokens += _glmCountBits16(word & ((blank << 1) | blankBefore) & line);
        if (newline) {
            p += __builtin_ctz(newline) + 1;
            break;
        }
        blankBefore = blank >> 15;
        slashBefore = slash >> 15;
    }
    GLMcursor next{p, c.end};
    _glmSkipSpace(next);
    if (_glmIsDigit(*next.p) || *next.p == '-' || *next.p == '+')
        return false;  // the face may go on there
    triangles = tokens >= 3 ? tokens - 2 : 0;
    c.p = p;
    return true;
#else
    (void)c;
    (void)triangles;
    return false;
#endif
}

#endif
