// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing whole files with the error texts the user sees.
// Writes go to a temporary file in the target's folder that replaces the
// target only once it is complete, so a failed or interrupted save never
// destroys the file it would replace.
#include <QByteArray>
#include <QString>
#include <stdexcept>

#include "RichText.h"

namespace optimara::files {

// A file operation that failed; text() is what the application's error box
// shows (followed by "."). what() holds the same text in UTF-8.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& text);
    const QString& text() const { return text_; }

private:
    QString text_;
};

// Texts of the four failures; the file name stands as given by the caller.
QString CannotOpenText(const QString& fileName);    // "Cannot open file %s"
QString CannotCreateText(const QString& fileName);  // "Cannot create file %s"
inline constexpr const char* kFailedToLoad = "Failed to Load Stream";
inline constexpr const char* kFailedToSave = "Failed to Save Stream";

// Larger files are no problem files. Refusing them, before anything of the
// window is cleared, keeps a wrong choice in the open dialog from freezing
// the window: the editor needs about a second per megabyte to lay out.
inline constexpr qint64 kMaxReadSize = 2LL * 1024 * 1024;

// Whole content of a file. Throws FileError "Cannot open file <name>" when
// it cannot be opened (missing, not a regular file, no permission) and "Failed to
// Load Stream" when reading fails part way or the file exceeds kMaxReadSize.
QByteArray ReadWholeFile(const QString& fileName);

// Replaces the file with the bytes, through a temporary file. Throws
// FileError "Cannot create file <name>" when it cannot be created (no such
// folder, no permission, a folder in its place) and "Failed to Save Stream"
// when writing or the final replacement fails; the old file is then intact.
// In a folder where no file can be created but the file itself may be
// changed, it is written in place instead (a failure then still throws).
void WriteWholeFile(const QString& fileName, const QByteArray& bytes);

// A rich-text file (plain lines when it is not RTF), and its writing as RTF.
RichDocument ReadRichTextFile(const QString& fileName);
void WriteRichTextFile(const QString& fileName, const RichDocument& document);

} // namespace optimara::files
