// quenvarix-assetgen: paints, models and composes every asset of the demo.
//
//   quenvarix-assetgen OUTDIR [--previews DIR] [--icons DIR]
//
// OUTDIR receives the fifteen images of the texture catalogue, the twelve
// props (OBJ with MTL) and "tavrenQuisk.mp3" (encoded by lame). With
// --previews, DIR also receives contact sheets of the textures and props;
// with --icons, DIR receives the application icon as a hicolor icon tree.

#include "materialtextures.h"
#include "preview.h"
#include "props.h"
#include "soundtrack.h"
#include "titlecards.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const int kJpegQuality = 88;

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "quenvarix-assetgen: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    std::printf("  %-28s %8lld bytes\n", qPrintable(QFileInfo(path).fileName()), qlonglong(bytes.size()));
    return true;
}

bool writeImage(const QString& path, const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool jpeg = path.endsWith(QLatin1String(".jpg"));
    if (!image.save(&buffer, jpeg ? "JPEG" : "PNG", jpeg ? kJpegQuality : -1)) {
        std::fprintf(stderr, "quenvarix-assetgen: cannot encode %s\n", qPrintable(path));
        return false;
    }
    return writeFile(path, bytes);
}

// The material textures by file name, painted once and shared with previews.
QMap<QString, QImage> paintMaterials()
{
    return {{"box.jpg", materialtextures::box()},
            {"cogwheel_01_dif.jpg", materialtextures::cogwheel()},
            {"can_02.jpg", materialtextures::can()},
            {"cargoContainer.jpg", materialtextures::cargoContainer()},
            {"sentrygun_01.jpg", materialtextures::sentryGun()},
            {"spider.jpg", materialtextures::spider()},
            {"stairs.jpg", materialtextures::stairs()},
            {"traffic_cone_01.jpg", materialtextures::trafficCone()}};
}

const char* const kCaptions[] = {"graphics", "code", "music", "brokkan", "tervald", "pemo"};

// Every picture is painted at twice the size it ships at and scaled down
// smoothly: edges come out anti-aliased twice over, and the demo decodes,
// keeps and uploads a quarter of the pixels at start-up (the largest share
// of its start-up time). None is shown larger than its shipped size on a
// 1280 x 720 screen.
QImage shipped(const QImage& painted)
{
    return painted.scaled(painted.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool writeImages(const QDir& out, const QMap<QString, QImage>& materials)
{
    bool ok = writeImage(out.filePath("kvo-screen.png"), shipped(titlecards::titleScreen()));
    for (auto it = materials.constBegin(); it != materials.constEnd(); ++it)
        ok = writeImage(out.filePath(it.key()), shipped(it.value())) && ok;
    if (!out.mkpath("texts"))
        return false;
    for (const char* word : kCaptions) {
        const QString path = out.filePath(QStringLiteral("texts/%1.png").arg(word));
        ok = writeImage(path, shipped(titlecards::caption(word))) && ok;
    }
    return ok;
}

bool writeProps(const QDir& out, const std::vector<MeshBuilder>& props)
{
    bool ok = true;
    for (const MeshBuilder& mesh : props) {
        ok = writeFile(out.filePath(mesh.name() + ".obj"), mesh.objText()) && ok;
        ok = writeFile(out.filePath(mesh.name() + ".mtl"), mesh.mtlText()) && ok;
        std::printf("  %-28s %8d triangles\n", qPrintable(mesh.name()), mesh.triangleCount());
    }
    return ok;
}

// Synthesises the soundtrack and encodes it with lame at a constant 128 kbit/s.
// lame writes no tag but its own info frame, so equal input gives equal bytes.
bool writeSoundtrack(const QDir& out)
{
    const QString lame = QStandardPaths::findExecutable("lame");
    if (lame.isEmpty()) {
        std::fprintf(stderr, "quenvarix-assetgen: lame not found (install the Debian package lame)\n");
        return false;
    }
    QTemporaryDir scratch;
    const QString wav = scratch.filePath("tavrenQuisk.wav");
    if (!scratch.isValid() || !writeFile(wav, soundtrack::renderWav()))
        return false;
    const QString mp3 = out.filePath("tavrenQuisk.mp3");
    QProcess encoder;
    encoder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    encoder.start(lame, {"--quiet", "--noreplaygain", "-b", "128", "--cbr", "-q", "2", "-m", "j", wav, mp3});
    if (!encoder.waitForFinished(120000) || encoder.exitStatus() != QProcess::NormalExit || encoder.exitCode() != 0) {
        std::fprintf(stderr, "quenvarix-assetgen: lame failed to encode %s\n", qPrintable(mp3));
        return false;
    }
    std::printf("  %-28s %8lld bytes\n", "tavrenQuisk.mp3", QFileInfo(mp3).size());
    return true;
}

// Which way a prop is turned in its preview: its show side towards the viewer.
float previewYaw(const QString& name)
{
    if (name == "spider" || name == "stairs" || name == "SentryGun")
        return 215.0f;
    return 35.0f;
}

bool writePreviews(const QDir& out, const QMap<QString, QImage>& materials, const std::vector<MeshBuilder>& props)
{
    QVector<QPair<QString, QImage>> textures = {{"kvo-screen.png", titlecards::titleScreen()}};
    for (auto it = materials.constBegin(); it != materials.constEnd(); ++it)
        textures.append({it.key(), it.value()});
    for (const char* word : kCaptions)
        textures.append({QStringLiteral("texts/%1.png").arg(word), titlecards::caption(word)});
    QVector<QPair<QString, QImage>> models;
    for (const MeshBuilder& mesh : props)
        models.append({QStringLiteral("%1 (%2)").arg(mesh.name()).arg(mesh.triangleCount()),
                       preview::prop(mesh, materials, 360, previewYaw(mesh.name()))});
    return out.mkpath(".") &&
           writeImage(out.filePath("assets-textures.png"),
                      preview::contactSheet(textures, 5, 180).convertToFormat(QImage::Format_Indexed8)) &&
           writeImage(out.filePath("assets-props.png"),
                      preview::contactSheet(models, 4, 220).convertToFormat(QImage::Format_Indexed8));
}

// hicolor/<n>x<n>/apps/<id>.png at every size the desktop entry ships.
bool writeIcons(const QDir& out)
{
    const QImage painted = titlecards::appIcon();
    bool ok = true;
    for (int size : {48, 128, 256}) {
        const QString dir = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        const QImage icon = painted.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        ok = out.mkpath(dir) && writeImage(out.filePath(dir + QStringLiteral("/" QUENVARIX_APP_ID ".png")), icon) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    // Painting needs no display; the offscreen platform keeps it that way.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("quenvarix-assetgen");
    QCommandLineParser parser;
    parser.setApplicationDescription("Generates the images, models and soundtrack of the Quenvarix demo.");
    parser.addHelpOption();
    parser.addPositionalArgument("OUTDIR", "Directory that receives the assets (created if missing).");
    QCommandLineOption previews("previews", "Also write contact sheets of the assets into <dir>.", "dir");
    parser.addOption(previews);
    QCommandLineOption icons("icons", "Also write the application icon as a hicolor tree into <dir>.", "dir");
    parser.addOption(icons);
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    const QDir out(parser.positionalArguments().first());
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "quenvarix-assetgen: cannot create %s\n", qPrintable(out.path()));
        return 1;
    }
    std::printf("Writing assets to %s\n", qPrintable(out.absolutePath()));
    const QMap<QString, QImage> materials = paintMaterials();
    const std::vector<MeshBuilder> models = props::all();
    bool ok = writeImages(out, materials) && writeProps(out, models) && writeSoundtrack(out);
    if (ok && parser.isSet(previews))
        ok = writePreviews(QDir(parser.value(previews)), materials, models);
    if (ok && parser.isSet(icons))
        ok = writeIcons(QDir(parser.value(icons)));
    return ok ? 0 : 1;
}
