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
inline int _glmReadRef(GLMcursor& c, GLMfaceForm form, GLMref& ref)
{
    ref = GLMref{0, 0, 0};
    if (!_glmReadInt(c, ref.v))
        return 0;
    switch (form) {
    case GLM_FACE_V:
        return 1;
    case GLM_FACE_VN:
        return _glmExpect(c, '/') && _glmExpect(c, '/') && _glmReadInt(c, ref.n) ? 2 : 1;
    case GLM_FACE_VT:
        return _glmExpect(c, '/') && _glmReadInt(c, ref.t) ? 2 : 1;
    case GLM_FACE_VTN:
        if (!_glmExpect(c, '/') || !_glmReadInt(c, ref.t))
            return 1;
        return _glmExpect(c, '/') && _glmReadInt(c, ref.n) ? 3 : 2;
    }
    return 1;
}

inline GLMfaceForm _glmFaceForm(std::string_view token)
{
    if (token.find("//") != std::string_view::npos)
        return GLM_FACE_VN;
    GLMref ref;
    GLMcursor c{token.data(), token.data() + token.size()};
    if (_glmReadRef(c, GLM_FACE_VTN, ref) == 3)
        return GLM_FACE_VTN;
    c.p = token.data();
    if (_glmReadRef(c, GLM_FACE_VT, ref) == 2)
        return GLM_FACE_VT;
    return GLM_FACE_V;
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
    const GLMfaceForm form = _glmFaceForm(token);
    GLMcursor first{token.data(), token.data() + token.size()};
    GLMref corner0{}, previous{}, next{};
    const bool read0 = _glmReadRef(first, form, corner0) > 0;
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

#endif
