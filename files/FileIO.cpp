// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileIO.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace optimara::files {

FileError::FileError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}

QString CannotOpenText(const QString& fileName) {
    return QStringLiteral("Cannot open file ") + fileName;
}

QString CannotCreateText(const QString& fileName) {
    return QStringLiteral("Cannot create file ") + fileName;
}

QByteArray ReadWholeFile(const QString& fileName) {
    // Only regular files: opening a pipe would wait for a writer for ever and
    // a device may never end.
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) throw FileError(CannotOpenText(fileName));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) throw FileError(CannotOpenText(fileName));
    if (file.size() > kMaxReadSize) throw FileError(QString::fromLatin1(kFailedToLoad));
    QByteArray content;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 count = file.read(buffer, sizeof buffer);
        if (count < 0) throw FileError(QString::fromLatin1(kFailedToLoad));
        if (count == 0) break;
        if (content.size() + count > kMaxReadSize) throw FileError(QString::fromLatin1(kFailedToLoad));
        content.append(buffer, count);
    }
    return content;
}

void WriteWholeFile(const QString& fileName, const QByteArray& bytes) {
    // Renaming over a folder would fail only at the end; say at once that
    // the file cannot be created.
    if (fileName.isEmpty() || QFileInfo(fileName).isDir()) throw FileError(CannotCreateText(fileName));
    QSaveFile file(fileName);
    // Where the folder allows changing the file but not creating one beside
    // it, the file is written in place: then a failure can no longer keep
    // the old content, but it is still reported.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) throw FileError(CannotCreateText(fileName));
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        throw FileError(QString::fromLatin1(kFailedToSave));
    }
    // A write cut short when the buffer goes out (disk full, size limit)
    // shows only here: commit() would still put the cut file in place.
    if (!file.flush()) {
        file.cancelWriting();
        throw FileError(QString::fromLatin1(kFailedToSave));
    }
    if (!file.commit()) throw FileError(QString::fromLatin1(kFailedToSave));
}

RichDocument ReadRichTextFile(const QString& fileName) {
    return ReadRichText(ReadWholeFile(fileName));
}

void WriteRichTextFile(const QString& fileName, const RichDocument& document) {
    WriteWholeFile(fileName, WriteRtf(document));
}

} // namespace optimara::files
