// Reads each input as a material library named by a small fixed model,
// checks the materials, and reads back what the writer makes of them.

#include "fuzzinput.h"
#include "glm.h"

#include <string.h>

namespace {

const std::string_view kModel = "mtllib fuzz.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// "default" comes first, then one material per "newmtl", each with a name.
void checkMaterials(const GLMmodel* model)
{
    require(model->nummaterials >= 1 && strcmp(model->materials[0].name, "default") == 0);
    for (GLuint i = 0; i < model->nummaterials; ++i)
        require(model->materials[i].name != nullptr);
}

// The writer lists every material, "default" included; reading that library
// gives a fresh "default" followed by the same names in the same order.
void checkWrittenBack(GLMmodel* model)
{
    const std::string out = FuzzInput::outputPath();
    glmWriteOBJ(model, out.c_str(), GLM_MATERIAL);
    GLMmodel* written = glmReadOBJ(out.c_str());
    require(written != nullptr);
    checkMaterials(written);
    require(written->nummaterials == model->nummaterials + 1);
    for (GLuint i = 0; i < model->nummaterials; ++i)
        require(strcmp(written->materials[i + 1].name, model->materials[i].name) == 0);
    glmDelete(written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput::writeFile(FuzzInput::mtlPath(), std::string_view(reinterpret_cast<const char*>(data), size));
    GLMmodel* model = glmReadOBJMemory(kModel.data(), kModel.size(), FuzzInput::objPath().c_str());
    require(model != nullptr);
    checkMaterials(model);
    checkWrittenBack(model);
    glmDelete(model);
    return 0;
}
