#ifndef STREAMOBJREADER_H
#define STREAMOBJREADER_H

#include "glm.h"

#include <cstdio>

// The baseline for the reader benchmark: the classic way of reading OBJ
// files, straight off a buffered stream. Two passes over the FILE* (count,
// rewind, fill), keywords read with fscanf("%s"), skipped lines eaten with
// fgets into a 128-byte buffer, coordinates read with "%f %f %f", and the
// four face forms ("%d//%d", "%d/%d/%d", "%d/%d", "%d") told apart with
// sscanf on the first corner. It fills the same GLMmodel record, so its
// result can be checked against glmReadOBJ and released with glmDelete.
//
// Only for well-formed input: no index checks, tokens of at most 127
// characters. Numbers are read in the process locale (the benchmark runs
// in "C"). Returns null when the model or its library cannot be opened.
class StreamObjReader
{
public:
    static GLMmodel* read(const char* filename);

private:
    static bool firstPass(GLMmodel* model, FILE* file);
    static void secondPass(GLMmodel* model, FILE* file);
    static bool readMtl(GLMmodel* model, const char* name);
    static void allocateArrays(GLMmodel* model);
    static GLMgroup* findGroup(GLMmodel* model, const char* name);
    static GLMgroup* addGroup(GLMmodel* model, const char* name);
    static GLuint findMaterial(GLMmodel* model, const char* name);
};

#endif
