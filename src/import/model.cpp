#include "model.h"

#include "glm.h"

#include <QDebug>
#include <QFile>

#include <utility>

namespace {

// Entry i (1-based) of a 3-float array of `count` entries; the zero vector for
// anything outside it.
QVector3D triple(const GLfloat* array, GLuint count, GLuint i)
{
    if (!array || i > count)
        return QVector3D();
    return QVector3D(array[3 * size_t(i)], array[3 * size_t(i) + 1], array[3 * size_t(i) + 2]);
}

QVector3D pair(const GLfloat* array, GLuint count, GLuint i)
{
    if (!array || i > count)
        return QVector3D();
    return QVector3D(array[2 * size_t(i)], array[2 * size_t(i) + 1], 0.0f);
}

}  // namespace

Model::Model() = default;

Model::Model(QString file)
{
    load(std::move(file));
}

Model::~Model()
{
    glmDelete(glmModel);
}

void Model::load(QString file)
{
    // The file system's encoding (UTF-8 on a UTF-8 system), not Latin-1. The
    // two agree on ASCII paths, which are all the demo uses; beyond ASCII they
    // differ (an accented e is the byte 0xE9 in Latin-1, two bytes in UTF-8),
    // and only the file system's own encoding names the file it holds.
    const QByteArray name = QFile::encodeName(file);
    glmDelete(glmModel);
    glmModel = glmReadOBJ(name.constData());
    if (!glmModel)
        return;  // only a build that returns from the reader's fatal errors gets here
    if (glmModel->numtexcoords == 0)
        qWarning("Missing UV map.");
    for (const GLMgroup* group = glmModel->groups; group; group = group->next)
        groups.append(convertGroup(group));
    qDebug("loading file");
}

ModelGroup Model::convertGroup(const GLMgroup* group) const
{
    ModelGroup converted;
    converted.triangles.reserve(int(group->numtriangles));
    for (GLuint i = 0; i < group->numtriangles; ++i)
        if (group->triangles[i] < glmModel->numtriangles)
            converted.triangles.append(convertTriangle(glmModel->triangles[group->triangles[i]]));
    return converted;
}

ModelTriangle Model::convertTriangle(const GLMtriangle& triangle) const
{
    const GLMmodel* m = glmModel;
    ModelTriangle converted;
    for (int k = 0; k < 3; ++k) {
        converted.positions.append(triple(m->vertices, m->numvertices, triangle.vindices[k]));
        if (m->numnormals > 0)
            converted.normals.append(triple(m->normals, m->numnormals, triangle.nindices[k]));
        if (m->numtexcoords > 0)
            converted.texCoords.append(pair(m->texcoords, m->numtexcoords, triangle.tindices[k]));
    }
    return converted;
}

void Model::setTexture(GLuint texture)
{
    this->texture = texture;
}

bool Model::setVertexShaderFile(QString file)
{
    return addShaderFile(QOpenGLShader::Vertex, file);
}

bool Model::setFragmentShaderFile(QString file)
{
    return addShaderFile(QOpenGLShader::Fragment, file);
}

// The messages are printed as plain text (noquote): the debug stream would
// otherwise put the strings in quotes.
bool Model::addShaderFile(QOpenGLShader::ShaderType type, const QString& file)
{
    if (program.addShaderFromSourceFile(type, file)) {
        qDebug().noquote() << "Loaded " + file + " successfully";
        return true;
    }
    qDebug().noquote() << "Could not load shader file " + file + ": " << program.log();
    return false;
}

void Model::linkShaderProgram()
{
    if (program.link())
        qDebug("Program linked");
    else
        qDebug().noquote() << "Failed to link program:" << program.log();
}

void Model::initShaderProgram()
{
    vertexLocation = program.attributeLocation("vertex");
    normalLocation = program.attributeLocation("normal");
    texCoordLocation = program.attributeLocation("texCoord");
    matrixLocation = program.uniformLocation("matrix");
    texLocation = program.uniformLocation("tex");
}

// Draws every triangle with its own call. The program is released at the
// end, so that the fixed-function drawing that follows is not affected.
void Model::draw(QMatrix4x4 matrix)
{
    program.bind();
    glBindTexture(GL_TEXTURE_2D, texture);
    program.setUniformValue(matrixLocation, matrix);
    for (const ModelGroup& group : std::as_const(groups))
        for (const ModelTriangle& triangle : group.triangles)
            drawTriangle(triangle);
    program.release();
}

void Model::drawTriangle(const ModelTriangle& triangle)
{
    program.setUniformValue(texLocation, 0);
    setAttribute(normalLocation, triangle.normals);
    setAttribute(vertexLocation, triangle.positions);
    setAttribute(texCoordLocation, triangle.texCoords);
    glDrawArrays(GL_TRIANGLES, 0, triangle.positions.size());
    program.disableAttributeArray(normalLocation);
    program.disableAttributeArray(vertexLocation);
    program.disableAttributeArray(texCoordLocation);
}

// Points the attribute at the corner values. A triangle without normals or
// texture coordinates gets the constant (0, 0, 0) instead of an array, so
// that nothing is read beyond its empty vector.
void Model::setAttribute(int location, const QVector<QVector3D>& values)
{
    if (values.size() < 3) {
        program.setAttributeValue(location, QVector3D());
        return;
    }
    program.enableAttributeArray(location);
    program.setAttributeArray(location, values.constData());
}
