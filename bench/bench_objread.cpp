// OBJ reading: glmReadOBJ against the classic stream reader, on the same
// generated ~60 MB file and on the demo's box read 314 times (as the demo's
// props are, without the model cache), in one run. Both readers are checked
// to agree on every array before anything is timed.

#include "benchmain.h"
#include "glm.h"
#include "objfilegenerator.h"
#include "path.h"
#include "streamobjreader.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

using Reader = GLMmodel* (*)(const char*);

GLMmodel* readWithGlm(const char* file) { return glmReadOBJ(file); }
GLMmodel* readWithStream(const char* file) { return StreamObjReader::read(file); }

const int kDemoBoxReads = 314;  // 300 bouncing, 2 pulsing and 12 trail boxes

std::string generatedFile()
{
    static const std::string path = ObjFileGenerator::standard().ensure(
        QUENVARIX_BENCH_DATA_DIR, "quads-60mb");
    return path;
}

std::string demoBoxFile()
{
    return (PATH + "/data/box.obj").toStdString();
}

long long fileSize(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_size : -1;
}

bool sameFloats(const GLfloat* a, const GLfloat* b, size_t count)
{
    return (!a && !b) || (a && b && memcmp(a, b, count * sizeof(GLfloat)) == 0);
}

bool sameGroups(const GLMgroup* a, const GLMgroup* b)
{
    for (; a && b; a = a->next, b = b->next)
        if (strcmp(a->name, b->name) != 0 || a->numtriangles != b->numtriangles
            || a->material != b->material
            || memcmp(a->triangles, b->triangles, a->numtriangles * sizeof(GLuint)) != 0)
            return false;
    return !a && !b;
}

// Empty when both readers made the same model out of `file`.
std::string compareReaders(const std::string& file)
{
    GLMmodel* fast = glmReadOBJ(file.c_str());
    GLMmodel* classic = StreamObjReader::read(file.c_str());
    std::string problem;
    if (!classic)
        problem = "the stream reader cannot read " + file;
    else if (fast->numvertices != classic->numvertices || fast->numnormals != classic->numnormals
             || fast->numtexcoords != classic->numtexcoords
             || fast->numtriangles != classic->numtriangles || fast->numgroups != classic->numgroups
             || fast->nummaterials != classic->nummaterials)
        problem = "the readers count differently in " + file;
    else if (!sameFloats(fast->vertices, classic->vertices, 3 * (fast->numvertices + 1))
             || !sameFloats(fast->normals, classic->normals, 3 * (fast->numnormals + 1))
             || !sameFloats(fast->texcoords, classic->texcoords, 2 * (fast->numtexcoords + 1))
             || memcmp(fast->triangles, classic->triangles,
                       fast->numtriangles * sizeof(GLMtriangle)) != 0
             || !sameGroups(fast->groups, classic->groups))
        problem = "the readers fill different values from " + file;
    glmDelete(fast);
    glmDelete(classic);
    return problem;
}

void reportModel(benchmark::State& state, const GLMmodel* model, long long bytes, int reads)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes * reads);
    state.counters["MB"] = benchmark::Counter(double(bytes) * reads / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
    state.counters["triangles"] = double(model->numtriangles);
    state.counters["groups"] = double(model->numgroups);
}

void BM_ReadGenerated(benchmark::State& state, Reader reader)
{
    const std::string file = generatedFile();
    if (file.empty()) {
        state.SkipWithError("cannot write the generated OBJ file");
        return;
    }
    const std::string problem = compareReaders(file);
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    GLMmodel* last = nullptr;
    for (auto _ : state) {
        glmDelete(last);
        last = reader(file.c_str());
        benchmark::DoNotOptimize(last);
    }
    reportModel(state, last, fileSize(file), 1);
    state.counters["file_MB"] = double(fileSize(file)) / 1e6;
    glmDelete(last);
}

void BM_ReadDemoBox314(benchmark::State& state, Reader reader)
{
    const std::string file = demoBoxFile();
    const std::string problem = compareReaders(file);
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    for (auto _ : state) {
        for (int i = 0; i < kDemoBoxReads; ++i) {
            GLMmodel* model = reader(file.c_str());
            benchmark::DoNotOptimize(model);
            glmDelete(model);
        }
    }
    GLMmodel* model = reader(file.c_str());
    reportModel(state, model, fileSize(file), kDemoBoxReads);
    glmDelete(model);
}

}  // namespace

BENCHMARK_CAPTURE(BM_ReadGenerated, glmReadOBJ, readWithGlm)
    ->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ReadGenerated, stream_reader, readWithStream)
    ->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ReadDemoBox314, glmReadOBJ, readWithGlm)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadDemoBox314, stream_reader, readWithStream)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv, Display::NotNeeded);
}
