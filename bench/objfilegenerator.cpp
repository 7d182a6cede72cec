#include "objfilegenerator.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace {

// Formatting is locale-independent (std::to_chars), so the file is the same
// whatever the process locale says about decimal separators.
class LineWriter
{
public:
    explicit LineWriter(FILE* file) : m_file(file) {}

    LineWriter& text(const char* s) { m_line += s; return *this; }
    LineWriter& number(long value) { return append(value); }
    LineWriter& fixed(float value)
    {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::fixed, 6);
        m_line.append(buffer, result.ptr);
        return *this;
    }
    void end()
    {
        m_line += '\n';
        fwrite(m_line.data(), 1, m_line.size(), m_file);
        m_line.clear();
    }

private:
    LineWriter& append(long value)
    {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        m_line.append(buffer, result.ptr);
        return *this;
    }

    FILE* m_file;
    std::string m_line;
};

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

ObjFileGenerator::ObjFileGenerator(int rows, int columns, int groups, int materials)
    : m_rows(rows), m_columns(columns), m_groups(groups), m_materials(materials)
{
}

ObjFileGenerator ObjFileGenerator::standard()
{
    return ObjFileGenerator(456, 800, 50, 10);
}

std::string ObjFileGenerator::ensure(const std::string& directory,
                                     const std::string& baseName) const
{
    const std::string obj = directory + "/" + baseName + ".obj";
    const std::string mtl = baseName + ".mtl";
    if (exists(obj) && exists(directory + "/" + mtl))
        return obj;
    // Written under a temporary name first: an interrupted run leaves no
    // truncated file that a later run would take for the real one.
    const std::string partial = obj + ".partial";
    if (!writeMtl(directory + "/" + mtl) || !writeObj(partial, mtl)
        || std::rename(partial.c_str(), obj.c_str()) != 0)
        return std::string();
    return obj;
}

bool ObjFileGenerator::writeMtl(const std::string& path) const
{
    File file(fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    LineWriter line(file.get());
    line.text("# Generated benchmark materials").end();
    for (int m = 0; m < m_materials; ++m) {
        const float shade = float(m + 1) / float(m_materials);
        line.text("newmtl material_").number(m).end();
        line.text("Ns ").fixed(100.0f * float(m)).end();
        line.text("Ka ").fixed(0.1f).text(" ").fixed(0.1f).text(" ").fixed(0.1f).end();
        line.text("Kd ").fixed(shade).text(" ").fixed(0.5f).text(" ").fixed(1.0f - shade).end();
        line.text("Ks ").fixed(0.2f).text(" ").fixed(0.2f).text(" ").fixed(0.2f).end();
        line.text("map_Kd generated.png").end();
    }
    return fflush(file.get()) == 0 && !ferror(file.get());
}

bool ObjFileGenerator::writeObj(const std::string& path, const std::string& mtlName) const
{
    File file(fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    LineWriter line(file.get());
    line.text("# Generated benchmark model: a rippled grid of quads").end();
    line.text("mtllib ").text(mtlName.c_str()).end();
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            const float x = float(c) * 0.01f - 4.0f;
            const float z = float(r) * 0.01f - 2.5f;
            const float y = 0.25f * std::sin(x * 3.0f) * std::cos(z * 2.0f);
            line.text("v ").fixed(x).text(" ").fixed(y).text(" ").fixed(z).end();
        }
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c)
            line.text("vt ").fixed(float(c) / float(m_columns - 1)).text(" ")
                .fixed(float(r) / float(m_rows - 1)).end();
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            const float nx = 0.1f * std::cos(float(c) * 0.03f);
            const float nz = 0.1f * std::sin(float(r) * 0.02f);
            const float length = std::sqrt(nx * nx + 1.0f + nz * nz);
            line.text("vn ").fixed(nx / length).text(" ").fixed(1.0f / length).text(" ")
                .fixed(nz / length).end();
        }
    const int quadRows = m_rows - 1;
    for (int g = 0; g < m_groups; ++g) {
        line.text("g band_").number(g).end();
        line.text("usemtl material_").number(g % m_materials).end();
        line.text("s 1").end();
        const int first = quadRows * g / m_groups, last = quadRows * (g + 1) / m_groups;
        for (int r = first; r < last; ++r)
            for (int c = 0; c + 1 < m_columns; ++c) {
                const long corners[4] = {long(r) * m_columns + c + 1, long(r) * m_columns + c + 2,
                                         long(r + 1) * m_columns + c + 2,
                                         long(r + 1) * m_columns + c + 1};
                line.text("f");
                for (long i : corners)
                    line.text(" ").number(i).text("/").number(i).text("/").number(i);
                line.end();
            }
    }
    return fflush(file.get()) == 0 && !ferror(file.get());
}
