// Model utilities: measuring, normalising, normals, texture coordinates,
// welding. Every index taken from a triangle is checked against its array;
// one that falls outside reads the zero vector and is never written through.

#include "glm.h"
#include "glmprivate.h"

#include <math.h>
#include <string.h>
#include <vector>

namespace {

const GLfloat kZero[3] = {0.0f, 0.0f, 0.0f};

// Triple i (1-based) of a 3-float array of `count` entries, or the zero vector.
const GLfloat* _glmTriple(const GLfloat* array, GLuint count, GLuint i)
{
    return array && i >= 1 && i <= count ? &array[3 * size_t(i)] : kZero;
}

const GLfloat* _glmVertex(const GLMmodel* model, GLuint i)
{
    return _glmTriple(model->vertices, model->numvertices, i);
}

const GLfloat* _glmFacetNormal(const GLMmodel* model, GLuint i)
{
    return _glmTriple(model->facetnorms, model->numfacetnorms, i);
}

GLfloat _glmDot(const GLfloat* u, const GLfloat* v)
{
    return u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
}

// Scales v to unit length. A zero vector stays zero rather than turning into
// NaN; the sums are taken in double so that large coordinates cannot overflow.
void _glmNormalize(const double* v, GLfloat* out)
{
    const double length = sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int i = 0; i < 3; ++i)
        out[i] = length > 0.0 ? GLfloat(v[i] / length) : 0.0f;
}

// Normal of the plane through p0, p1, p2: normalise((p1 - p0) x (p2 - p0)).
void _glmPlaneNormal(const GLfloat* p0, const GLfloat* p1, const GLfloat* p2, GLfloat* out)
{
    const double u[3] = {double(p1[0]) - p0[0], double(p1[1]) - p0[1], double(p1[2]) - p0[2]};
    const double v[3] = {double(p2[0]) - p0[0], double(p2[1]) - p0[1], double(p2[2]) - p0[2]};
    const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    _glmNormalize(n, out);
}

// The bounding box of vertices 1..numvertices (at least one).
void _glmExtents(const GLMmodel* model, GLfloat* max, GLfloat* min)
{
    for (int axis = 0; axis < 3; ++axis)
        max[axis] = min[axis] = model->vertices[3 + axis];
    for (GLuint i = 1; i <= model->numvertices; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            const GLfloat value = model->vertices[3 * size_t(i) + axis];
            max[axis] = value > max[axis] ? value : max[axis];
            min[axis] = value < min[axis] ? value : min[axis];
        }
    }
}

GLfloat _glmLargest(const GLfloat* values)
{
    GLfloat largest = values[0] > values[1] ? values[0] : values[1];
    return largest > values[2] ? largest : values[2];
}

// Calls visit(triangle) for every triangle that a group lists; indices beyond
// the triangle array are passed over.
template <typename Visit> void _glmForGroupedTriangles(GLMmodel* model, Visit visit)
{
    for (GLMgroup* group = model->groups; group; group = group->next)
        for (GLuint i = 0; i < group->numtriangles; ++i)
            if (group->triangles[i] < model->numtriangles)
                visit(model->triangles[group->triangles[i]]);
}

void _glmSwap(GLuint* indices)
{
    const GLuint first = indices[0];
    indices[0] = indices[2];
    indices[2] = first;
}

void _glmNegate(GLfloat* array, GLuint count)
{
    if (!array)
        return;
    for (size_t i = 3; i < 3 * (size_t(count) + 1); ++i)
        array[i] = -array[i];
}

// One corner of one triangle that uses a vertex.
struct GLMcorner {
    GLuint triangle;
    GLuint corner;
    bool averaged;
};

// For each vertex the corners that use it, latest triangle first, stored as
// one array sliced by vertex (first[v] .. first[v + 1]).
struct GLMcornerLists {
    std::vector<GLuint> first;
    std::vector<GLMcorner> corners;
};

GLMcornerLists _glmCornersByVertex(const GLMmodel* model)
{
    GLMcornerLists lists;
    lists.first.assign(size_t(model->numvertices) + 2, 0);
    for (GLuint i = 0; i < model->numtriangles; ++i)
        for (GLuint v : model->triangles[i].vindices)
            if (v >= 1 && v <= model->numvertices)
                ++lists.first[v + 1];
    for (size_t v = 1; v < lists.first.size(); ++v)
        lists.first[v] += lists.first[v - 1];
    lists.corners.resize(lists.first.back());
    std::vector<GLuint> next(lists.first.begin(), lists.first.end() - 1);
    for (GLuint i = model->numtriangles; i-- > 0;) {
        for (GLuint k = 3; k-- > 0;) {
            const GLuint v = model->triangles[i].vindices[k];
            if (v >= 1 && v <= model->numvertices)
                lists.corners[next[v]++] = GLMcorner{i, k, false};
        }
    }
    return lists;
}

// Smooths the normals of one vertex's corners into `normals` from entry m on;
// returns the next free entry.
GLuint _glmSmoothVertex(GLMmodel* model, GLMcorner* begin, GLMcorner* end, GLfloat threshold,
                        GLfloat* normals, GLuint m)
{
    const GLfloat* reference = _glmFacetNormal(model, model->triangles[begin->triangle].findex);
    double sum[3] = {0.0, 0.0, 0.0};
    bool anyAveraged = false;
    for (GLMcorner* c = begin; c != end; ++c) {
        const GLfloat* facet = _glmFacetNormal(model, model->triangles[c->triangle].findex);
        c->averaged = _glmDot(facet, reference) > threshold;
        for (int axis = 0; c->averaged && axis < 3; ++axis)
            sum[axis] += facet[axis];
        anyAveraged = anyAveraged || c->averaged;
    }
    const GLuint average = m;
    if (anyAveraged)
        _glmNormalize(sum, &normals[3 * size_t(m++)]);
    for (GLMcorner* c = begin; c != end; ++c) {
        GLMtriangle& triangle = model->triangles[c->triangle];
        if (c->averaged) {
            triangle.nindices[c->corner] = average;
        } else {
            memcpy(&normals[3 * size_t(m)], _glmFacetNormal(model, triangle.findex), 3 * sizeof(GLfloat));
            triangle.nindices[c->corner] = m++;
        }
    }
    return m;
}

// Welds vectors 1..*numvectors: returns the unique ones (1-based) and turns
// the x of each input vector into the index of its unique vector.
GLfloat* _glmWeldVectors(GLfloat* vectors, GLuint* numvectors, GLfloat epsilon)
{
    const size_t floats = 3 * (size_t(*numvectors) + 1);
    GLfloat* unique = _glmAllocate<GLfloat>(floats);
    memcpy(unique, vectors, floats * sizeof(GLfloat));
    GLuint count = 0;
    for (GLuint i = 1; i <= *numvectors; ++i) {
        GLfloat* vector = &vectors[3 * size_t(i)];
        GLuint j = 1;
        for (; j <= count; ++j) {
            const GLfloat* candidate = &unique[3 * size_t(j)];
            if (fabsf(vector[0] - candidate[0]) < epsilon && fabsf(vector[1] - candidate[1]) < epsilon
                && fabsf(vector[2] - candidate[2]) < epsilon)
                break;
        }
        if (j > count)
            memcpy(&unique[3 * size_t(j = ++count)], vector, 3 * sizeof(GLfloat));
        vector[0] = GLfloat(j);
    }
    *numvectors = count;
    return unique;
}

}  // namespace

GLvoid glmDimensions(GLMmodel* model, GLfloat* dimensions)
{
    GLM_REQUIRE(model);
    GLM_REQUIRE(model->vertices);
    GLM_REQUIRE(dimensions);
    if (model->numvertices == 0) {
        dimensions[0] = dimensions[1] = dimensions[2] = 0.0f;
        return;
    }
    GLfloat max[3], min[3];
    _glmExtents(model, max, min);
    for (int axis = 0; axis < 3; ++axis)
        dimensions[axis] = fabsf(max[axis]) + fabsf(min[axis]);
}

// A model whose every vertex lies at the origin has no extent to scale by:
// it keeps scale 1 instead of dividing by zero. A model without vertices
// is left alone.
GLfloat glmUnitize(GLMmodel* model)
{
    GLM_REQUIRE(model);
    GLM_REQUIRE(model->vertices);
    if (model->numvertices == 0)
        return 1.0f;
    GLfloat max[3], min[3], extent[3], centre[3];
    _glmExtents(model, max, min);
    for (int axis = 0; axis < 3; ++axis) {
        extent[axis] = fabsf(max[axis]) + fabsf(min[axis]);
        centre[axis] = (max[axis] + min[axis]) * 0.5f;
    }
    const GLfloat largest = _glmLargest(extent);
    const GLfloat scale = largest > 0.0f ? 2.0f / largest : 1.0f;
    for (GLuint i = 1; i <= model->numvertices; ++i)
        for (int axis = 0; axis < 3; ++axis)
            model->vertices[3 * size_t(i) + axis] = (model->vertices[3 * size_t(i) + axis] - centre[axis]) * scale;
    return scale;
}

GLvoid glmScale(GLMmodel* model, GLfloat scale)
{
    GLM_REQUIRE(model);
    if (!model->vertices)
        return;
    for (size_t i = 3; i < 3 * (size_t(model->numvertices) + 1); ++i)
        model->vertices[i] *= scale;
}

GLvoid glmReverseWinding(GLMmodel* model)
{
    GLM_REQUIRE(model);
    for (GLuint i = 0; i < model->numtriangles; ++i) {
        GLMtriangle& triangle = model->triangles[i];
        _glmSwap(triangle.vindices);
        if (model->numnormals)
            _glmSwap(triangle.nindices);
        if (model->numtexcoords)
            _glmSwap(triangle.tindices);
    }
    _glmNegate(model->facetnorms, model->numfacetnorms);
    _glmNegate(model->normals, model->numnormals);
}

GLvoid glmFacetNormals(GLMmodel* model)
{
    GLM_REQUIRE(model);
    GLM_REQUIRE(model->vertices);
    free(model->facetnorms);
    model->numfacetnorms = model->numtriangles;
    model->facetnorms = _glmAllocate<GLfloat>(3 * (size_t(model->numfacetnorms) + 1));
    for (GLuint i = 0; i < model->numtriangles; ++i) {
        GLMtriangle& triangle = model->triangles[i];
        triangle.findex = i + 1;
        _glmPlaneNormal(_glmVertex(model, triangle.vindices[0]), _glmVertex(model, triangle.vindices[1]),
                        _glmVertex(model, triangle.vindices[2]), &model->facetnorms[3 * size_t(i + 1)]);
    }
}

// Each corner that uses a vertex gets the vertex's averaged normal when its
// face lies within `angle` of the reference face, else its own face normal.
// Corners whose vertex index is out of range get normal index 0.
GLvoid glmVertexNormals(GLMmodel* model, GLfloat angle)
{
    GLM_REQUIRE(model);
    GLM_REQUIRE(model->facetnorms);
    const GLfloat threshold = GLfloat(cos(angle * 3.141592653589793 / 180.0));
    free(model->normals);
    GLfloat* normals = _glmAllocate<GLfloat>(3 * (3 * size_t(model->numtriangles) + 1));
    for (GLuint i = 0; i < model->numtriangles; ++i)
        memset(model->triangles[i].nindices, 0, sizeof model->triangles[i].nindices);

    GLMcornerLists lists = _glmCornersByVertex(model);
    GLuint m = 1;
    for (GLuint v = 1; v <= model->numvertices; ++v) {
        GLMcorner* begin = lists.corners.data() + lists.first[v];
        GLMcorner* end = lists.corners.data() + lists.first[v + 1];
        if (begin == end)
            fprintf(stderr, "glmVertexNormals(): vertex w/o a triangle\n");
        else
            m = _glmSmoothVertex(model, begin, end, threshold, normals, m);
    }
    model->numnormals = m - 1;
    model->normals = _glmAllocate<GLfloat>(3 * size_t(m));
    memcpy(model->normals, normals, 3 * size_t(m) * sizeof(GLfloat));
    free(normals);
    printf("glmVertexNormals(): %d normals generated\n", int(model->numnormals));
}

GLvoid glmLinearTexture(GLMmodel* model)
{
    GLM_REQUIRE(model);
    GLM_REQUIRE(model->vertices);
    free(model->texcoords);
    model->numtexcoords = model->numvertices;
    model->texcoords = _glmAllocate<GLfloat>(2 * (size_t(model->numtexcoords) + 1));
    GLfloat dimensions[3];
    glmDimensions(model, dimensions);
    const GLfloat largest = fabsf(_glmLargest(dimensions));
    const GLfloat scale = largest > 0.0f ? 2.0f / largest : 1.0f;  // all at the origin: u = v = 0.5
    for (GLuint i = 1; i <= model->numvertices; ++i) {
        model->texcoords[2 * size_t(i)] = (scale * model->vertices[3 * size_t(i)] + 1.0f) * 0.5f;
        model->texcoords[2 * size_t(i) + 1] = (scale * model->vertices[3 * size_t(i) + 2] + 1.0f) * 0.5f;
    }
    _glmForGroupedTriangles(model, [](GLMtriangle& t) { memcpy(t.tindices, t.vindices, sizeof t.tindices); });
}

GLvoid glmSpheremapTexture(GLMmodel* model)
{
    GLM_REQUIRE(model);
    GLM_REQUIRE(model->normals);
    free(model->texcoords);
    model->numtexcoords = model->numnormals;
    model->texcoords = _glmAllocate<GLfloat>(2 * (size_t(model->numtexcoords) + 1));
    for (GLuint i = 1; i <= model->numnormals; ++i) {
        const GLfloat* n = &model->normals[3 * size_t(i)];
        const double r = sqrt(double(n[2]) * n[2] + double(n[1]) * n[1]);
        const double rho = sqrt(r * r + double(n[0]) * n[0]);
        double theta = 0.0, phi = 0.0;
        if (r != 0.0) {
            phi = n[0] == 0.0f ? 1.570796325 : acos(n[0] / rho);
            theta = n[1] == 0.0f ? 1.570796325 : asin(n[1] / r) + 1.570796325;
        }
        model->texcoords[2 * size_t(i)] = GLfloat(theta / 3.14159265);
        model->texcoords[2 * size_t(i) + 1] = GLfloat(phi / 3.14159265);
    }
    _glmForGroupedTriangles(model, [](GLMtriangle& t) { memcpy(t.tindices, t.nindices, sizeof t.tindices); });
}

GLvoid glmWeld(GLMmodel* model, GLfloat epsilon)
{
    GLM_REQUIRE(model);
    GLM_REQUIRE(model->vertices);
    const GLuint before = model->numvertices;
    GLuint after = before;
    GLfloat* unique = _glmWeldVectors(model->vertices, &after, epsilon);
    printf("glmWeld(): %d redundant vertices.\n", int(before - after));
    for (GLuint i = 0; i < model->numtriangles; ++i)
        for (GLuint& v : model->triangles[i].vindices)
            v = v >= 1 && v <= before ? GLuint(model->vertices[3 * size_t(v)]) : 0;
    free(model->vertices);
    model->numvertices = after;
    model->vertices = _glmAllocate<GLfloat>(3 * (size_t(after) + 1));
    memcpy(model->vertices, unique, 3 * (size_t(after) + 1) * sizeof(GLfloat));
    free(unique);
}
