// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a desktop installs it: the files of `cmake --install` in
// their places, the menu entry as the desktop's validator reads it, the
// problem file type as the desktop's MIME tools see a saved problem, the
// software centre's description as its validator reads it, and the Debian
// package with its files and dependencies as the distribution's checker sees it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "AuxWindows.h"
#include "ToolRun.h"
#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Every file an installed copy has, relative to its prefix.
QStringList InstalledFiles() {
    QStringList files = {
        "bin/optimara",
        QString::fromUtf8("share/optimara/Léame.txt"),
        "share/applications/optimara.desktop",
        "share/mime/packages/optimara.xml",
        "share/icons/hicolor/scalable/apps/optimara.svg",
        "share/metainfo/org.optimara.optimara.metainfo.xml",
        "share/man/man1/optimara.1.gz",
        "share/doc/optimara/copyright",
        "share/doc/optimara/changelog.gz",
    };
    for (int size : kIconSizes) files << QString("share/icons/hicolor/%1x%1/apps/optimara.png").arg(size);
    return files;
}

// Installs the build into a temporary DESTDIR under the given prefix.
class Installed : public ::testing::Test {
protected:
    void Install(const QString& prefix) {
        ASSERT_TRUE(stage.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", stage.path());
        const ToolRun run =
            RunTool(QStringLiteral(CMAKE_EXECUTABLE), {"--install", OPTIMARA_BUILD_DIR, "--prefix", prefix}, env);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        root = QDir(stage.path() + prefix);
    }
    QByteArray Read(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir stage;
    QDir root;
};

TEST_F(Installed, EveryFileIsInPlaceUnderThePrefixGiven) {
    for (const QString prefix : {"/usr", "/opt/optimara"}) {
        SCOPED_TRACE(prefix.toStdString());
        Install(prefix);
        for (const QString& file : InstalledFiles())
            EXPECT_TRUE(QFileInfo(root.filePath(file)).isFile()) << file.toStdString();
        EXPECT_TRUE(QFileInfo(root.filePath("bin/optimara")).isExecutable());
        EXPECT_EQ(Read(root.filePath(QString::fromUtf8("share/optimara/Léame.txt"))),
                  Read(QString::fromUtf8(OPTIMARA_SOURCE_DIR "/Léame.txt")));
    }
}

TEST_F(Installed, IconFilesAreTheWindowIconAtEachSize) {
    Install("/usr");
    for (int size : kIconSizes) {
        const QImage png(root.filePath(QString("share/icons/hicolor/%1x%1/apps/optimara.png").arg(size)));
        ASSERT_EQ(png.size(), QSize(size, size));
        EXPECT_EQ(png.convertToFormat(QImage::Format_ARGB32),
                  ProgramPixmap(size).toImage().convertToFormat(QImage::Format_ARGB32))
            << size;
    }
    const QByteArray svg = Read(root.filePath("share/icons/hicolor/scalable/apps/optimara.svg"));
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 64 64\""));
    // The same shapes: the polygon of the region is there.
    EXPECT_TRUE(svg.contains("<path")) << svg.toStdString();
}

TEST_F(Installed, MenuEntryPassesTheDesktopValidator) {
    Install("/usr");
    const QString entry = root.filePath("share/applications/optimara.desktop");
    const ToolRun run = RunTool("desktop-file-validate", {entry});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_EQ(run.out + run.err, "");
    const QStringList lines = QString::fromUtf8(Read(entry)).split('\n');
    for (const char* line : {"Name=Optimara", "Exec=optimara %f", "Icon=optimara", "Categories=Education;Math;",
                             "MimeType=application/x-optimara-problem;", "Type=Application", "StartupNotify=true",
                             "Comment=Solve linear programming problems with the simplex method, step by step",
                             "Comment[es]=Resuelve problemas de programación lineal con el método símplex, paso a paso"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
}

// A tool of the distribution that may be missing: the check is then skipped.
bool ToolInstalled(const char* tool) { return !QStandardPaths::findExecutable(QString::fromUtf8(tool)).isEmpty(); }

TEST_F(Installed, SoftwareCentreDescriptionPassesItsValidator) {
    if (!ToolInstalled("appstreamcli")) GTEST_SKIP() << "appstreamcli is not installed";
    Install("/usr");
    const QString metainfo = root.filePath("share/metainfo/org.optimara.optimara.metainfo.xml");
    // The screenshot's address is not fetched: the tests use no network.
    const ToolRun run = RunTool("appstreamcli", {"validate", "--no-net", "--pedantic", metainfo});
    EXPECT_TRUE(run.exitCode == 0 && run.out.contains("Validation was successful.")) << run.out.toStdString();
    const QByteArray xml = Read(metainfo);
    EXPECT_TRUE(xml.contains("<launchable type=\"desktop-id\">optimara.desktop</launchable>"));
    EXPECT_TRUE(xml.contains("<mediatype>application/x-optimara-problem</mediatype>"));
}

// A problem saved through the window, as a user saves it.
void SaveProblem(const QString& fileName) {
    auto questions = std::make_unique<ScriptedQuestions>();
    questions->saveFile = [&](const QString&) { return fileName; };
    TForm1 form(std::move(questions));
    const WindowProbe probe(&form);
    probe.Edit1()->setText("3x+2y");
    probe.RichEdit1()->setPlainText("x+y<4\nx>0");
    form.Saveas1Click();
    ASSERT_TRUE(QFileInfo::exists(fileName));
}

TEST_F(Installed, SavedProblemIsRecognisedAsTheProblemType) {
    Install("/usr");
    const QString share = root.filePath("share");
    const ToolRun update = RunTool("update-mime-database", {share + "/mime"});
    ASSERT_EQ(update.exitCode, 0) << update.err.toStdString();
    EXPECT_TRUE(Read(share + "/mime/globs2").contains("application/x-optimara-problem:*.lpf"));
    EXPECT_TRUE(Read(share + "/mime/magic").contains("application/x-optimara-problem"));

    const QString problem = stage.filePath("dieta.lpf");
    SaveProblem(problem);
    ASSERT_TRUE(Read(problem).startsWith("{\\rtf"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The generic desktop: no desktop's own MIME service answers instead.
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
        env.remove(name);
    env.insert("XDG_DATA_HOME", share);
    env.insert("XDG_DATA_DIRS", share + ":/usr/share");
    const ToolRun query = RunTool("xdg-mime", {"query", "filetype", problem}, env);
    EXPECT_EQ(query.exitCode, 0) << query.err.toStdString();
    EXPECT_EQ(query.out.trimmed(), "application/x-optimara-problem");
}

TEST(Package, DebianPackageHoldsTheFilesAndNamesItsDependencies) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const ToolRun cpack = RunTool(QStringLiteral(CPACK_EXECUTABLE),
                                  {"-G", "DEB", "--config", OPTIMARA_BUILD_DIR "/CPackConfig.cmake", "-B", out.path()});
    ASSERT_EQ(cpack.exitCode, 0) << cpack.out.toStdString() << cpack.err.toStdString();
    const QString deb = out.filePath("optimara_" + ProgramVersion() + "_amd64.deb");
    ASSERT_TRUE(QFileInfo::exists(deb)) << cpack.out.toStdString();

    const ToolRun contents = RunTool("dpkg-deb", {"--contents", deb});
    ASSERT_EQ(contents.exitCode, 0);
    for (const QString& file : InstalledFiles())
        EXPECT_TRUE(contents.out.contains(" ./usr/" + file + "\n")) << file.toStdString();

    const ToolRun info = RunTool("dpkg-deb", {"--info", deb});
    ASSERT_EQ(info.exitCode, 0);
    EXPECT_TRUE(info.out.contains(" Package: optimara\n"));
    EXPECT_TRUE(info.out.contains(" Version: 4.0\n"));
    EXPECT_TRUE(info.out.contains(" Architecture: amd64\n"));
    const ToolRun depends = RunTool("dpkg-deb", {"--field", deb, "Depends"});
    QStringList names;
    for (const QString& item : depends.out.trimmed().split(',')) names << item.trimmed().section(' ', 0, 0);
    for (const char* name : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "fonts-liberation"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(name))) << name << " in " << depends.out.toStdString();
    // The program runs without Qt's own Spanish texts.
    EXPECT_FALSE(names.contains("qt6-translations-l10n"));
    EXPECT_EQ(RunTool("dpkg-deb", {"--field", deb, "Recommends"}).out.trimmed(), "qt6-translations-l10n");

    if (!ToolInstalled("lintian")) GTEST_SKIP() << "lintian is not installed";
    // Its default run: errors and warnings, none of which may be left.
    const ToolRun lintian = RunTool("lintian", {deb});
    EXPECT_EQ(lintian.exitCode, 0) << lintian.out.toStdString() << lintian.err.toStdString();
    EXPECT_EQ(lintian.out, "");
}

} // namespace
} // namespace optimara::uitest
