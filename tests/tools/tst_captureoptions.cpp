#include "captureoptions.h"

#include <QtTest>

Q_DECLARE_METATYPE(CaptureOptions::Output)

class TestCaptureOptions : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void rejected_data();
    void rejected();
    void helpIsNotAnError();
};

void TestCaptureOptions::accepted_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("fps");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<CaptureOptions::Output>("output");
    QTest::addColumn<bool>("audio");
    QTest::addColumn<QString>("preset");

    using O = CaptureOptions::Output;
    QTest::newRow("defaults: the whole demo")
        << QStringList{"--out", "frames"} << 0 << 46000 << 50 << QSize(1280, 720)
        << O::PngDirectory << true << "superfast";
    QTest::newRow("video, range, size, preset")
        << QStringList{"--out", "a/demo.MP4", "--from", "5000", "--to", "9000", "--fps", "30",
                       "--size", "640x360", "--preset", "medium"}
        << 5000 << 9000 << 30 << QSize(640, 360) << O::Mp4Video << true << "medium";
    QTest::newRow("odd size for frames, silent")
        << QStringList{"--out=f", "--size=321x181", "--no-audio", "--fps=1000"}
        << 0 << 46000 << 1000 << QSize(321, 181) << O::PngDirectory << false << "superfast";
    QTest::newRow("one millisecond after the end")
        << QStringList{"--out", "f", "--from", "47000", "--to", "47001"} << 47000 << 47001 << 50
        << QSize(1280, 720) << O::PngDirectory << true << "superfast";
}

void TestCaptureOptions::accepted()
{
    QFETCH(QStringList, args);
    CaptureOptions options;
    QString error;
    QCOMPARE(CaptureOptions::parse(QStringList{"quenvarix-capture"} + args, &options, &error),
             CaptureOptions::Status::Ok);
    QCOMPARE(error, QString());
    QTEST(options.from, "from");
    QTEST(options.to, "to");
    QTEST(options.fps, "fps");
    QTEST(options.size, "size");
    QTEST(options.output, "output");
    QTEST(options.audio, "audio");
    QTEST(options.preset, "preset");
}

void TestCaptureOptions::rejected_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");

    const QStringList out = {"--out", "f"};
    QTest::newRow("no output") << QStringList{}
        << "--out is missing: give a directory for PNG frames or FILE.mp4";
    QTest::newRow("empty output") << QStringList{"--out", ""}
        << "--out is missing: give a directory for PNG frames or FILE.mp4";
    QTest::newRow("from after to") << out + QStringList{"--from", "9000", "--to", "8000"}
        << "--from (9000) must be before --to (8000)";
    QTest::newRow("empty range") << out + QStringList{"--from", "9000", "--to", "9000"}
        << "--from (9000) must be before --to (9000)";
    QTest::newRow("to before default from") << out + QStringList{"--to", "0"}
        << "--from (0) must be before --to (0)";
    QTest::newRow("negative time") << out + QStringList{"--from", "-20"}
        << "--from must not be negative, got -20";
    QTest::newRow("time with unit") << out + QStringList{"--to", "5s"}
        << "--to expects a whole number of milliseconds, got '5s'";
    QTest::newRow("fps 0") << out + QStringList{"--fps", "0"}
        << "--fps must be a whole number from 1 to 1000, got '0'";
    QTest::newRow("fps beyond the millisecond") << out + QStringList{"--fps", "1001"}
        << "--fps must be a whole number from 1 to 1000, got '1001'";
    QTest::newRow("fractional fps") << out + QStringList{"--fps", "29.97"}
        << "--fps must be a whole number from 1 to 1000, got '29.97'";
    const QString sizeError = "--size expects WIDTHxHEIGHT, each from 1 to 8192 pixels, "
                              "such as 1280x720; got '%1'";
    for (const char* size : {"1280", "0x720", "1280x", "-5x5", "8193x100", "1280*720", "99999999x1"})
        QTest::newRow(qPrintable(QStringLiteral("size %1").arg(size)))
            << out + QStringList{"--size", size} << sizeError.arg(size);
    QTest::newRow("odd video size") << QStringList{"--out", "x.mp4", "--size", "321x180"}
        << "H.264 video needs an even width and height, got 321x180";
    QTest::newRow("other container") << QStringList{"--out", "x.mkv"}
        << "--out 'x.mkv': only MP4 video is written; give FILE.mp4, or a directory for PNG frames";
    QTest::newRow("unknown option") << out + QStringList{"--frames", "3"}
        << "Unknown option 'frames'.";
    QTest::newRow("unknown preset") << QStringList{"--out", "x.mp4", "--preset", "Fast"}
        << "--preset must be one of ultrafast, superfast, veryfast, faster, fast, medium, slow, "
           "slower, veryslow; got 'Fast'";
    QTest::newRow("stray argument") << out + QStringList{"extra"} << "unexpected argument 'extra'";
}

void TestCaptureOptions::rejected()
{
    QFETCH(QStringList, args);
    QFETCH(QString, error);
    CaptureOptions options;
    options.fps = 7;  // must stay untouched
    QString message;
    QCOMPARE(CaptureOptions::parse(QStringList{"quenvarix-capture"} + args, &options, &message),
             CaptureOptions::Status::Error);
    QCOMPARE(message, error);
    QCOMPARE(options.fps, 7);
}

void TestCaptureOptions::helpIsNotAnError()
{
    CaptureOptions options;
    QString error, text;
    QCOMPARE(CaptureOptions::parse({"quenvarix-capture", "--help"}, &options, &error, &text),
             CaptureOptions::Status::ShowHelp);
    QVERIFY(text.contains("--fps <n>"));
    QCOMPARE(error, QString());
}

QTEST_GUILESS_MAIN(TestCaptureOptions)
#include "tst_captureoptions.moc"
