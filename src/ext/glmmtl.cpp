// The MTL reader: a material library into the model's materials.

#include "glmreader.h"

#include <string>

// The index of the first material of that name, or 0 after a message.
GLuint _glmFindMaterial(GLMreader& reader, std::string_view name)
{
    const auto found = reader.materials.find(name);
    if (found != reader.materials.end())
        return found->second;
    const std::string copy(name);
    printf("_glmFindMaterial():  can't find material \"%s\".\n", copy.c_str());
    return 0;
}

void _glmIndexMaterials(GLMreader& reader)
{
    const GLMmodel* model = reader.model;
    reader.materials.clear();
    for (GLuint i = 0; i < model->nummaterials; ++i)
        reader.materials.emplace(model->materials[i].name, i);
}

void _glmFreeMaterials(GLMmodel* model)
{
    for (GLuint i = 0; i < model->nummaterials; ++i)
        free(model->materials[i].name);
    free(model->materials);
    model->materials = nullptr;
    model->nummaterials = 0;
}

namespace {

void _glmDefaultMaterial(GLMmaterial& material)
{
    const GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    memcpy(material.diffuse, diffuse, sizeof diffuse);
    memcpy(material.ambient, ambient, sizeof ambient);
    memcpy(material.specular, specular, sizeof specular);
    material.shininess = 0.0f;
}

// Every MTL statement takes exactly one line, in the counting pass as in the
// reading pass, so "newmtl" is counted exactly where it is read.
GLuint _glmCountMaterials(GLMcursor c)
{
    GLuint count = 1;  // "default"
    std::string_view token;
    while (_glmNextToken(c, token)) {
        if (token[0] == 'n')
            ++count;
        _glmSkipLine(c);
    }
    return count;
}

// One statement of a library into `material` (the current one).
void _glmReadMaterialStatement(std::string_view keyword, GLMcursor& c, GLMmaterial& material)
{
    if (keyword[0] == 'N') {
        if (_glmReadFloat(c, material.shininess))
            material.shininess = material.shininess / 1000.0f * 128.0f;
    } else if (keyword == "Kd") {
        _glmReadFloats(c, material.diffuse, 3);
    } else if (keyword == "Ks") {
        _glmReadFloats(c, material.specular, 3);
    } else if (keyword == "Ka") {
        _glmReadFloats(c, material.ambient, 3);
    }
    _glmSkipLine(c);
}

// Replaces the model's materials by those of a library text. Statements
// before the first "newmtl" apply to "default".
void _glmParseMTL(GLMmodel* model, const char* data, size_t size)
{
    const GLMcursor start{data, data + size};
    _glmFreeMaterials(model);
    model->nummaterials = _glmCountMaterials(start);
    model->materials = _glmAllocate<GLMmaterial>(model->nummaterials);
    for (GLuint i = 0; i < model->nummaterials; ++i)
        _glmDefaultMaterial(model->materials[i]);
    model->materials[0].name = _glmCopy("default");

    GLuint current = 0;
    GLMcursor c = start;
    std::string_view keyword;
    while (_glmNextToken(c, keyword)) {
        if (keyword[0] == 'n' && current + 1 < model->nummaterials)
            model->materials[++current].name = _glmCopy(_glmFirstWord(c));
        else
            _glmReadMaterialStatement(keyword, c, model->materials[current]);
    }
}

}  // namespace

// Reads the library `name`, looked up beside the model file. A statement
// without a name names no library.
bool _glmReadMTL(GLMmodel* model, std::string_view name)
{
    if (name.empty())
        return true;
    char* dir = _glmDirName(model->pathname);
    const std::string path = std::string(dir) + std::string(name);
    free(dir);
    GLMfileText file;
    if (!file.read(path.c_str())) {
        fprintf(stderr, "_glmReadMTL() failed: can't open material file \"%s\".\n", path.c_str());
        return _glmFatal();
    }
    free(model->mtllibname);
    model->mtllibname = _glmCopy(name);
    _glmParseMTL(model, file.data(), file.size());
    return true;
}
