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
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <clocale>
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

// One triangle as "v/t/n v/t/n v/t/n".
inline QString triangleCorners(const GLMtriangle& t)
{
    QStringList corners;
    for (int k = 0; k < 3; ++k)
        corners << QStringLiteral("%1/%2/%3").arg(t.vindices[k]).arg(t.tindices[k]).arg(t.nindices[k]);
    return corners.join(' ');
}

// The triangles in group order, each as "v/t/n v/t/n v/t/n", separated by " | ".
inline QString triangleSummary(const GLMmodel* model)
{
    QStringList triangles;
    for (const GLMgroup* group = model->groups; group; group = group->next) {
        for (GLuint i = 0; i < group->numtriangles; ++i)
            triangles << triangleCorners(model->triangles[group->triangles[i]]);
    }
    return triangles.join(QStringLiteral(" | "));
}

// Sends everything written on standard output (or another descriptor) to a
// file until text() is called.
class OutputCapture
{
public:
    explicit OutputCapture(int fd = STDOUT_FILENO) : m_fd(fd)
    {
        m_file.open();
        fflush(stdout);
        fflush(stderr);
        m_saved = dup(m_fd);
        dup2(m_file.handle(), m_fd);
    }
    ~OutputCapture() { restore(); }

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
        fflush(stderr);
        dup2(m_saved, m_fd);
        close(m_saved);
        m_saved = -1;
    }

    QTemporaryFile m_file;
    int m_fd;
    int m_saved = -1;
};

// Switches LC_NUMERIC to a locale whose decimal separator is a comma, built in
// `dir` so that the test does not depend on which locales the machine has.
// False when no such locale can be built; the destructor switches back.
class CommaLocale
{
public:
    explicit CommaLocale(const QTemporaryDir& dir) : m_previous(setlocale(LC_NUMERIC, nullptr))
    {
        writeFile(dir.filePath("comma.src"), "LC_NUMERIC\ndecimal_point \"<U002C>\"\n"
                                             "thousands_sep \"<U002E>\"\ngrouping 3;3\nEND LC_NUMERIC\n");
        QProcess localedef;
        localedef.start("localedef", {"-c", "-i", dir.filePath("comma.src"), "-f", "UTF-8",
                                      dir.filePath("xx_XX.UTF-8")});
        localedef.waitForFinished(60000);
        qputenv("LOCPATH", QFile::encodeName(dir.path()));
        m_active = QFile::exists(dir.filePath("xx_XX.UTF-8/LC_NUMERIC")) && setlocale(LC_NUMERIC, "xx_XX.UTF-8");
    }
    ~CommaLocale()
    {
        setlocale(LC_NUMERIC, m_previous.c_str());
        qunsetenv("LOCPATH");
    }
    bool active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
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
