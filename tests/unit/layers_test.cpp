// The folders are layers: a file includes from its own folder and from the
// layers below it, never upwards. The engine and the player are reached only
// through their C contracts and never reach each other or the program.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// src/'s folders, highest first.
const QStringList kLayers = {"app", "skin", "controls", "clips", "encoder", "profiles", "platform"};

bool Allowed(const QString &from, const QString &include)
{
    const QString to = include.section('/', 0, 0);
    if (from == to)
        return true;
    if (from == "engine" || from == "player")
        return false;
    if (include == "engine/encoder.h" || include == "player/playfile.h")
        return true;
    if (from == "bench") // benchmarks drive the program and its tools
        return kLayers.contains(to) || to == "tools";
    if (from == "cli" || from == "tools")
        return kLayers.contains(to);
    return kLayers.indexOf(to) > kLayers.indexOf(from) && kLayers.contains(to);
}

TEST(Layers, IncludesRunOneWay)
{
    // Quotes or angle brackets alike: <app/...> is as much an include of
    // the program's own as "app/...". Other angle-bracket paths are the
    // system's and Qt's.
    const QRegularExpression includeLine(R"re(^\s*#\s*include\s*["<]([^">]+/[^">]+)[">])re",
                                         QRegularExpression::MultilineOption);
    const QStringList ours =
        kLayers + QStringList{"engine", "player", "cli", "tools", "bench", "tests"};
    // The QtCore-only folders never show a box or a dialog themselves.
    const QRegularExpression widgetInclude(
        R"re(^\s*#\s*include\s*<(QtWidgets/)?(QApplication|QMessageBox|QFileDialog|QWidget)>)re",
        QRegularExpression::MultilineOption);
    const QStringList coreOnly = {"clips", "encoder", "profiles", "platform"};
    int files = 0;
    const QString root = QStringLiteral(ZELO_TEST_SOURCE_DIR "/");
    for (const QString top : {"src", "cli", "tools", "engine", "player", "bench"}) {
        QDirIterator dir(root + top, {"*.h", "*.cpp", "*.c"}, QDir::Files,
                         QDirIterator::Subdirectories);
        while (dir.hasNext()) {
            QFile file(dir.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            ++files;
            const QString path = file.fileName().mid(root.size());
            const QString from = top == QLatin1String("src") ? path.section('/', 1, 1) : top;
            const QString text = QString::fromUtf8(file.readAll());
            for (const auto &m : includeLine.globalMatch(text)) {
                if (ours.contains(m.captured(1).section('/', 0, 0))) {
                    EXPECT_TRUE(Allowed(from, m.captured(1)))
                        << path.toStdString() << " includes " << m.captured(1).toStdString();
                }
            }
            EXPECT_FALSE(coreOnly.contains(from) && text.contains(widgetInclude))
                << path.toStdString();
            // The engine's command line is the batch's: no window reads it.
            EXPECT_FALSE(from == "app" && text.contains("MyConvertDef")) << path.toStdString();
        }
    }
    EXPECT_GT(files, 150);
}

} // namespace
