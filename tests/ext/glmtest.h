#ifndef GLMTEST_H
#define GLMTEST_H

// Helpers for the OBJ code's tests: models from text, readable summaries of
// their records, captured standard output and child processes for the
// operations that end the process.

#include "glm.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>

#include <memory>
#include <stdio.h>
#include <unistd.h>

struct GLMmodelDeleter {
    void operator()(GLMmodel* model) const { glmDelete(model); }
};
using ModelPtr = std::unique_ptr<GLMmodel, GLMmodelDeleter>;

// Reads OBJ text as if it were the file `dir`/model.obj.
inline ModelPtr readObj(const QByteArray& text, const QString& dir = QStringLiteral("."))
{
    const QByteArray path = QFile::encodeName(dir + QStringLiteral("/model.obj"));
    return ModelPtr(glmReadOBJMemory(text.constData(), size_t(text.size()), path.constData()));
}

inline bool writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "name:count" per group, in list order: "b:1 a:1 default:0".
inline QString groupSummary(const GLMmodel* model)
{
    QStringList parts;
    for (const GLMgroup* group = model->groups; group; group = group->next)
        parts << QStringLiteral("%1:%2").arg(QString::fromLatin1(group->name)).arg(group->numtriangles);
    return parts.join(' ');
}

// The triangles in group order, each as "v/t/n v/t/n v/t/n", separated by " | ".
inline QString triangleSummary(const GLMmodel* model)
{
    QStringList triangles;
    for (const GLMgroup* group = model->groups; group; group = group->next) {
        for (GLuint i = 0; i < group->numtriangles; ++i) {
            const GLMtriangle& t = model->triangles[group->triangles[i]];
            QStringList corners;
            for (int k = 0; k < 3; ++k)
                corners << QStringLiteral("%1/%2/%3").arg(t.vindices[k]).arg(t.tindices[k]).arg(t.nindices[k]);
            triangles << corners.join(' ');
        }
    }
    return triangles.join(QStringLiteral(" | "));
}

// Sends everything written on standard output to a file until text() is called.
class StdoutCapture
{
public:
    StdoutCapture()
    {
        m_file.open();
        fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        dup2(m_file.handle(), STDOUT_FILENO);
    }
    ~StdoutCapture() { restore(); }

    QString text()
    {
        restore();
        m_file.seek(0);
        return QString::fromLatin1(m_file.readAll());
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        fflush(stdout);
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
        m_saved = -1;
    }

    QTemporaryFile m_file;
    int m_saved = -1;
};

// Runs this test executable again with `arguments` (its main() hands them to
// the operation under test) and reports how it ended.
struct ChildResult {
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QString out;
    QString err;
};

inline ChildResult runChild(const QStringList& arguments)
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), arguments);
    process.waitForFinished(30000);
    ChildResult result;
    result.exitCode = process.exitCode();
    result.exitStatus = process.exitStatus();
    result.out = QString::fromLatin1(process.readAllStandardOutput());
    result.err = QString::fromLatin1(process.readAllStandardError());
    return result;
}

#endif
