// Reads each input as an OBJ file (with its MTL library), checks that the
// record is well formed, runs the utilities over it, and reads back what the
// writer makes of it.

#include "fuzzinput.h"
#include "glm.h"

#include <math.h>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Every index lies inside its array, every number is finite, every group
// entry names a triangle and the groups hold every triangle once.
void checkRecord(const GLMmodel* model)
{
    for (size_t i = 0; i < 3 * (size_t(model->numvertices) + 1); ++i)
        require(isfinite(model->vertices[i]));
    for (GLuint i = 0; i < model->numtriangles; ++i) {
        for (int k = 0; k < 3; ++k) {
            require(model->triangles[i].vindices[k] <= model->numvertices);
            require(model->triangles[i].nindices[k] <= model->numnormals);
            require(model->triangles[i].tindices[k] <= model->numtexcoords);
        }
    }
    size_t grouped = 0;
    for (const GLMgroup* group = model->groups; group; group = group->next) {
        require(group->name && (group->material == 0 || group->material < model->nummaterials));
        for (GLuint i = 0; i < group->numtriangles; ++i)
            require(group->triangles[i] < model->numtriangles);
        grouped += group->numtriangles;
    }
    require(grouped == model->numtriangles);
    for (GLuint i = 0; i < model->nummaterials; ++i)
        require(model->materials[i].name != nullptr);
}

void runUtilities(GLMmodel* model)
{
    glmFacetNormals(model);
    glmVertexNormals(model, 45.0f);
    glmSpheremapTexture(model);
    glmUnitize(model);
    glmWeld(model, 0.001f);
    glmLinearTexture(model);
    glmReverseWinding(model);
}

// What the writer writes reads back as the same vertices and triangles.
void checkWrittenBack(GLMmodel* model)
{
    const std::string out = FuzzInput::outputPath();
    glmWriteOBJ(model, out.c_str(), GLM_SMOOTH | GLM_TEXTURE);
    GLMmodel* written = glmReadOBJ(out.c_str());
    require(written != nullptr);
    checkRecord(written);
    require(written->numvertices == model->numvertices);
    require(written->numtriangles == model->numtriangles);
    glmDelete(written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzInput input(data, size);
    const std::string_view text = input.model();
    GLMmodel* model = glmReadOBJMemory(text.data(), text.size(), FuzzInput::objPath().c_str());
    if (!model)
        return 0;  // an unreadable library or an unknown "v" keyword
    checkRecord(model);
    runUtilities(model);
    checkWrittenBack(model);
    glmDelete(model);
    return 0;
}
