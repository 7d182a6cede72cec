// OBJ reading: glmReadOBJ against its peers, Debian's tinyobjloader and
// assimp, and against the classic stream reader written here, on the same
// generated ~60 MB file in one run; and the demo's box read 314 times (as the
// demo's props are, without the model cache). The stream reader is checked to
// fill the same record as glmReadOBJ, and the peers to read as many
// coordinates and triangles, before anything is timed. The digest of the
// glmReadOBJ record of the big file is printed on standard error, so that a
// change of the reader can be shown to leave every array as it was.

#include "benchmain.h"
#include "glm.h"
#include "objfilegenerator.h"
#include "path.h"
#include "peerobjreaders.h"
#include "recorddigest.h"
#include "streamobjreader.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

using Reader = GLMmodel* (*)(const char*);
using PeerRead = bool (*)(const std::string&, PeerObjReaders::Counts&, std::string&);

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

// Empty when the peer read as many triangles as glmReadOBJ and, if it keeps
// shared coordinate lists as glmReadOBJ does, as many coordinates. (assimp
// keeps each face's corners in its mesh instead.)
std::string comparePeer(const std::string& file, PeerRead peer, bool sharedLists)
{
    PeerObjReaders::Counts counts;
    std::string error;
    if (!peer(file, counts, error))
        return "the peer cannot read " + file + ": " + error;
    GLMmodel* model = glmReadOBJ(file.c_str());
    const bool same = sharedLists
        ? counts.vertices == model->numvertices && counts.normals == model->numnormals
              && counts.texcoords == model->numtexcoords && counts.triangles == model->numtriangles
        : counts.triangles == model->numtriangles;
    glmDelete(model);
    return same ? std::string() : "the peer reads different counts from " + file;
}

void BM_ReadGeneratedPeer(benchmark::State& state, PeerRead peer, bool sharedLists)
{
    const std::string file = generatedFile();
    const std::string problem = file.empty() ? "cannot write the generated OBJ file"
                                             : comparePeer(file, peer, sharedLists);
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    PeerObjReaders::Counts counts;
    std::string error;
    for (auto _ : state) {
        peer(file, counts, error);
        benchmark::DoNotOptimize(counts);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * fileSize(file));
    state.counters["MB"] = benchmark::Counter(double(fileSize(file)) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
    state.counters["triangles"] = double(counts.triangles);
    state.counters["file_MB"] = double(fileSize(file)) / 1e6;
}

// The digest of each array of the record, then of the whole record.
void printDigests(const std::string& file)
{
    GLMmodel* m = glmReadOBJ(file.c_str());
    const auto hex = [](const RecordDigest& d) { return d.result(); };
    fprintf(stderr,
            "glmReadOBJ record of %s:\n  vertices %016" PRIx64 "  normals %016" PRIx64
            "  texcoords %016" PRIx64 "\n  triangles %016" PRIx64 "  whole record %016" PRIx64 "\n",
            file.c_str(), hex(RecordDigest().array(m->vertices, 3 * (size_t(m->numvertices) + 1))),
            hex(RecordDigest().array(m->normals, 3 * (size_t(m->numnormals) + 1))),
            hex(RecordDigest().array(m->texcoords, 2 * (size_t(m->numtexcoords) + 1))),
            hex(RecordDigest().array(m->triangles, m->numtriangles)), hex(RecordDigest().model(m)));
    glmDelete(m);
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
BENCHMARK_CAPTURE(BM_ReadGeneratedPeer, tinyobjloader, PeerObjReaders::readTinyObj, true)
    ->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ReadGeneratedPeer, assimp, PeerObjReaders::readAssimp, false)
    ->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ReadDemoBox314, glmReadOBJ, readWithGlm)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadDemoBox314, stream_reader, readWithStream)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (!generatedFile().empty())
        printDigests(generatedFile());
    return runBenchmarks(argc, argv, DisplayUse::NotNeeded);
}
