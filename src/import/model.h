#ifndef MODEL_H
#define MODEL_H

#include "modelgroup.h"

#include <QOpenGLShaderProgram>
#include <QMatrix4x4>
#include <QString>
#include <QVector>

struct GLMgroup;
struct GLMmodel;
struct GLMtriangle;

// A mesh read from a Wavefront OBJ file as groups of triangles, newest group
// of the file first and "default" last. It can draw itself with a shader
// program: set both shader files, link, look up the locations, set a texture,
// then draw with the OpenGL context current.
class Model
{
public:
    Model();
    explicit Model(QString file);
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // Reads the file and appends its groups. An unreadable file ends the process.
    void load(QString file);

    void setTexture(GLuint texture);
    bool setVertexShaderFile(QString file);
    bool setFragmentShaderFile(QString file);
    void linkShaderProgram();
    void initShaderProgram();
    void draw(QMatrix4x4 matrix);

    GLMmodel* glmModel = nullptr;  // the record read by load; released with the model
    QVector<ModelGroup> groups;
    GLuint texture = 0;
    QOpenGLShaderProgram program;
    int vertexLocation = -1;
    int normalLocation = -1;
    int matrixLocation = -1;
    int texCoordLocation = -1;
    int texLocation = -1;

private:
    bool addShaderFile(QOpenGLShader::ShaderType type, const QString& file);
    ModelGroup convertGroup(const GLMgroup* group) const;
    ModelTriangle convertTriangle(const GLMtriangle& triangle) const;
    void drawTriangle(const ModelTriangle& triangle);
    void setAttribute(int location, const QVector<QVector3D>& values);
};

#endif
