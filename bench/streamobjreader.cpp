#include "streamobjreader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int kBufferSize = 128;

void skipLine(char* buffer, FILE* file)
{
    if (!fgets(buffer, kBufferSize, file))
        buffer[0] = '\0';
}

// The first word of the rest of the line, into `word`.
void readFirstWord(char* buffer, char* word, FILE* file)
{
    skipLine(buffer, file);
    if (sscanf(buffer, "%127s", word) != 1)
        word[0] = '\0';
}

template <typename T> T* allocate(size_t count)
{
    return static_cast<T*>(calloc(count ? count : 1, sizeof(T)));
}

enum FaceForm { VertexNormal, VertexTexNormal, VertexTex, VertexOnly };

FaceForm faceForm(const char* first)
{
    int v, t, n;
    if (strstr(first, "//"))
        return VertexNormal;
    if (sscanf(first, "%d/%d/%d", &v, &t, &n) == 3)
        return VertexTexNormal;
    if (sscanf(first, "%d/%d", &v, &t) == 2)
        return VertexTex;
    return VertexOnly;
}

// One corner in the given form, from the first token or from the stream;
// returns what the scanf call returned.
struct Corner {
    int v = 0, t = 0, n = 0;
};

int scanCorner(FaceForm form, const char* token, FILE* file, Corner& c)
{
    switch (form) {
    case VertexNormal:
        return token ? sscanf(token, "%d//%d", &c.v, &c.n) : fscanf(file, "%d//%d", &c.v, &c.n);
    case VertexTexNormal:
        return token ? sscanf(token, "%d/%d/%d", &c.v, &c.t, &c.n)
                     : fscanf(file, "%d/%d/%d", &c.v, &c.t, &c.n);
    case VertexTex:
        return token ? sscanf(token, "%d/%d", &c.v, &c.t) : fscanf(file, "%d/%d", &c.v, &c.t);
    case VertexOnly:
        break;
    }
    return token ? sscanf(token, "%d", &c.v) : fscanf(file, "%d", &c.v);
}

// Reads one face after its "f" and calls emit(a, b, c) per fan triangle.
template <typename Emit> void readFace(char* buffer, FILE* file, Emit&& emit)
{
    if (fscanf(file, "%127s", buffer) != 1)
        return;
    const FaceForm form = faceForm(buffer);
    Corner first, previous, next;
    scanCorner(form, buffer, file, first);
    scanCorner(form, nullptr, file, previous);
    scanCorner(form, nullptr, file, next);
    emit(first, previous, next);
    previous = next;
    while (scanCorner(form, nullptr, file, next) > 0) {
        emit(first, previous, next);
        previous = next;
    }
}

void setCorner(GLMtriangle& triangle, int k, const Corner& c)
{
    triangle.vindices[k] = GLuint(c.v);
    triangle.tindices[k] = GLuint(c.t);
    triangle.nindices[k] = GLuint(c.n);
}

void defaultMaterial(GLMmaterial& m)
{
    const GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    memcpy(m.diffuse, diffuse, sizeof diffuse);
    memcpy(m.ambient, ambient, sizeof ambient);
    memcpy(m.specular, specular, sizeof specular);
    m.shininess = 0.0f;
}

}  // namespace

GLMmodel* StreamObjReader::read(const char* filename)
{
    FILE* file = fopen(filename, "r");
    if (!file)
        return nullptr;
    GLMmodel* model = allocate<GLMmodel>(1);
    model->pathname = strdup(filename);
    if (!firstPass(model, file)) {
        fclose(file);
        glmDelete(model);
        return nullptr;
    }
    allocateArrays(model);
    rewind(file);
    secondPass(model, file);
    fclose(file);
    return model;
}

bool StreamObjReader::firstPass(GLMmodel* model, FILE* file)
{
    char buffer[kBufferSize], word[kBufferSize];
    GLMgroup* group = addGroup(model, "default");
    GLuint vertices = 0, normals = 0, texcoords = 0, triangles = 0;
    auto count = [&](const Corner&, const Corner&, const Corner&) {
        ++triangles;
        ++group->numtriangles;
    };
    while (fscanf(file, "%127s", buffer) == 1) {
        switch (buffer[0]) {
        case 'v':
            if (buffer[1] == '\0')
                ++vertices;
            else if (buffer[1] == 'n')
                ++normals;
            else if (buffer[1] == 't')
                ++texcoords;
            else
                return false;
            skipLine(buffer, file);
            break;
        case 'm':
            readFirstWord(buffer, word, file);
            if (!readMtl(model, word))
                return false;
            break;
        case 'g':
            readFirstWord(buffer, word, file);
            group = addGroup(model, word);
            break;
        case 'f':
            readFace(buffer, file, count);
            break;
        default:
            skipLine(buffer, file);
            break;
        }
    }
    model->numvertices = vertices;
    model->numnormals = normals;
    model->numtexcoords = texcoords;
    model->numtriangles = triangles;
    return true;
}

void StreamObjReader::allocateArrays(GLMmodel* model)
{
    model->vertices = allocate<GLfloat>(3 * (size_t(model->numvertices) + 1));
    if (model->numnormals)
        model->normals = allocate<GLfloat>(3 * (size_t(model->numnormals) + 1));
    if (model->numtexcoords)
        model->texcoords = allocate<GLfloat>(2 * (size_t(model->numtexcoords) + 1));
    model->triangles = allocate<GLMtriangle>(model->numtriangles);
    for (GLMgroup* group = model->groups; group; group = group->next) {
        group->triangles = allocate<GLuint>(group->numtriangles);
        group->numtriangles = 0;
    }
}

void StreamObjReader::secondPass(GLMmodel* model, FILE* file)
{
    char buffer[kBufferSize], word[kBufferSize];
    GLuint vertices = 1, normals = 1, texcoords = 1, triangles = 0, material = 0;
    GLMgroup* group = findGroup(model, "default");
    auto fill = [&](const Corner& a, const Corner& b, const Corner& c) {
        GLMtriangle& triangle = model->triangles[triangles];
        setCorner(triangle, 0, a);
        setCorner(triangle, 1, b);
        setCorner(triangle, 2, c);
        group->triangles[group->numtriangles++] = triangles++;
    };
    while (fscanf(file, "%127s", buffer) == 1) {
        switch (buffer[0]) {
        case 'v': {
            GLfloat* v = buffer[1] == 'n' ? &model->normals[3 * normals++]
                       : buffer[1] == 't' ? &model->texcoords[2 * texcoords++]
                                          : &model->vertices[3 * vertices++];
            if (buffer[1] == 't')
                (void)fscanf(file, "%f %f", &v[0], &v[1]);
            else
                (void)fscanf(file, "%f %f %f", &v[0], &v[1], &v[2]);
            break;
        }
        case 'u':
            readFirstWord(buffer, word, file);
            material = findMaterial(model, word);
            group->material = material;
            break;
        case 'g':
            readFirstWord(buffer, word, file);
            group = findGroup(model, word);
            group->material = material;
            break;
        case 'f':
            readFace(buffer, file, fill);
            break;
        default:
            skipLine(buffer, file);
            break;
        }
    }
}

bool StreamObjReader::readMtl(GLMmodel* model, const char* name)
{
    free(model->mtllibname);
    model->mtllibname = strdup(name);
    // The library sits beside the model: the model's path up to its last '/'.
    const char* slash = strrchr(model->pathname, '/');
    const int dirLength = slash ? int(slash - model->pathname) + 1 : 0;
    char path[4096];
    snprintf(path, sizeof path, "%.*s%s", dirLength, model->pathname, name);
    FILE* file = fopen(path, "r");
    if (!file)
        return false;
    char buffer[kBufferSize], word[kBufferSize];
    GLuint count = 1;
    while (fscanf(file, "%127s", buffer) == 1) {
        if (buffer[0] == 'n')
            ++count;
        skipLine(buffer, file);
    }
    rewind(file);
    model->nummaterials = count;
    model->materials = allocate<GLMmaterial>(count);
    for (GLuint i = 0; i < count; ++i)
        defaultMaterial(model->materials[i]);
    model->materials[0].name = strdup("default");
    GLuint current = 0;
    while (fscanf(file, "%127s", buffer) == 1) {
        GLMmaterial& m = model->materials[current];
        if (buffer[0] == 'n') {
            readFirstWord(buffer, word, file);
            model->materials[++current].name = strdup(word);
        } else if (buffer[0] == 'N') {
            if (fscanf(file, "%f", &m.shininess) == 1)
                m.shininess = m.shininess / 1000.0f * 128.0f;
        } else if (buffer[0] == 'K' && (buffer[1] == 'd' || buffer[1] == 's' || buffer[1] == 'a')) {
            GLfloat* rgb = buffer[1] == 'd' ? m.diffuse : buffer[1] == 's' ? m.specular : m.ambient;
            (void)fscanf(file, "%f %f %f", &rgb[0], &rgb[1], &rgb[2]);
        } else {
            skipLine(buffer, file);
        }
    }
    fclose(file);
    return true;
}

GLMgroup* StreamObjReader::findGroup(GLMmodel* model, const char* name)
{
    for (GLMgroup* group = model->groups; group; group = group->next)
        if (strcmp(name, group->name) == 0)
            return group;
    return nullptr;
}

GLMgroup* StreamObjReader::addGroup(GLMmodel* model, const char* name)
{
    if (GLMgroup* existing = findGroup(model, name))
        return existing;
    GLMgroup* group = allocate<GLMgroup>(1);
    group->name = strdup(name);
    group->next = model->groups;
    model->groups = group;
    ++model->numgroups;
    return group;
}

GLuint StreamObjReader::findMaterial(GLMmodel* model, const char* name)
{
    for (GLuint i = 0; i < model->nummaterials; ++i)
        if (strcmp(model->materials[i].name, name) == 0)
            return i;
    printf("_glmFindMaterial():  can't find material \"%s\".\n", name);
    return 0;
}
