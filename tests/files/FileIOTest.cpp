// SPDX-License-Identifier: GPL-3.0-or-later
// File errors with the texts the user sees, and saves that never destroy
// the file they would replace.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

#include "FileIO.h"
#include "ProblemFile.h"
#include "Support.h"

using namespace optimara::files;
using namespace optimara::files::test;

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), error.text().toStdString());
        return error.text();
    }
    return "<no error>";
}

// Lowers the largest file this process may write, so that a write fails
// part way as on a full disk, even for a user whom permissions do not stop.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
    bool active_ = false;
};

const QByteArray kOldContent = "{\\rtf1 1Maximizar\\par x\\par Sujeto a:\\par x<1\\par}";

} // namespace

TEST(FileErrors, OpeningTextsNameTheFileAsGiven) {
    EXPECT_EQ(ErrorOf([] { ReadWholeFile("no-such-file.lpf"); }), "Cannot open file no-such-file.lpf");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath("Mis problemas/dieta.lpf");
    EXPECT_EQ(ErrorOf([&] { ReadProblemFile(missing); }), "Cannot open file " + missing);
    EXPECT_EQ(ErrorOf([&] { ReadRichTextFile(dir.path()); }), "Cannot open file " + dir.path());
    EXPECT_EQ(ErrorOf([] { ReadWholeFile(""); }), "Cannot open file ");
}

TEST(FileErrors, PipesAndDevicesAreNotOpened) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath("pipe.lpf");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    // Opening would block for ever waiting for a writer.
    EXPECT_EQ(ErrorOf([&] { ReadRichTextFile(fifo); }), "Cannot open file " + fifo);
    EXPECT_EQ(ErrorOf([] { ReadWholeFile("/dev/zero"); }), "Cannot open file /dev/zero");
}

TEST(FileErrors, AFileTooLargeToBeAProblemFails) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("huge.lpf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(kMaxReadSize + 1));  // sparse: costs no disk
    file.close();
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(path); }), "Failed to Load Stream");
}

TEST(FileErrors, AFolderInPlaceOfTheFileIsKept) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath("p.lpf");
    ASSERT_TRUE(QDir(dir.path()).mkpath("p.lpf/inner"));
    EXPECT_EQ(ErrorOf([&] { WriteRichTextFile(target, {Typed("x<1")}); }), "Cannot create file " + target);
    EXPECT_TRUE(QDir(target + "/inner").exists());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"p.lpf"});
}

TEST(FileErrors, AMissingFolderCannotBeCreatedInto) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath("missing/p.lpf");
    EXPECT_EQ(ErrorOf([&] { WriteWholeFile(target, "x"); }), "Cannot create file " + target);
    EXPECT_FALSE(QFile::exists(target));
}

TEST(FileErrors, AWriteThatFailsPartWayKeepsTheOldFileByteForByte) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath("p.lpf");
    WriteBytes(target, kOldContent);
    RichDocument large;
    for (int k = 0; k < 2000; ++k) large.push_back(Typed(QString("x%1+y<%1").arg(k)));
    QString error;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        error = ErrorOf([&] { WriteRichTextFile(target, large); });
    }
    EXPECT_EQ(error, "Failed to Save Stream");
    EXPECT_EQ(Contents(target), kOldContent);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p.lpf"});
}

// A folder where the user may change the files but create none: a save
// goes into the file itself, and what cannot be written is reported.
TEST(FileErrors, AFolderThatAllowsNoNewFileIsWrittenInPlace) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const bool root = geteuid() == 0;
    const QString target = dir.filePath("p.lpf"), locked = dir.filePath("q.lpf"), fresh = dir.filePath("n.lpf");
    WriteBytes(target, kOldContent);
    WriteBytes(locked, kOldContent);
    const mode_t writable = root ? 0666 : 0644, readOnly = 0444, folder = root ? 0755 : 0555;
    ASSERT_EQ(chmod(QFile::encodeName(target).constData(), writable), 0);
    ASSERT_EQ(chmod(QFile::encodeName(locked).constData(), readOnly), 0);
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), folder), 0);
    const RichDocument doc{Typed("x<2")};
    const int result = RunBoundByPermissions([&] {
        int failures = 0;
        if (ErrorOf([&] { WriteRichTextFile(target, doc); }) != "<no error>") failures |= 1;
        if (ErrorOf([&] { WriteRichTextFile(locked, doc); }) != "Cannot create file " + locked) failures |= 2;
        if (ErrorOf([&] { WriteRichTextFile(fresh, doc); }) != "Cannot create file " + fresh) failures |= 4;
        return failures;
    });
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadRichTextFile(target), doc);
    EXPECT_EQ(Contents(locked), kOldContent);
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"p.lpf", "q.lpf"}));
}

TEST(FileSave, ReplacesTheOldContentCompletely) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath("p.lpf");
    WriteBytes(target, QByteArray(10000, 'z'));
    const RichDocument doc{Typed("x<1")};
    WriteRichTextFile(target, doc);
    EXPECT_EQ(Contents(target), WriteRtf(doc));
    EXPECT_EQ(ReadRichTextFile(target), doc);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p.lpf"});
}
