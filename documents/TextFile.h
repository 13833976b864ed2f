#pragma once
// Files on disk and the text of a document: reading and writing whole files,
// and the decoding that gives back exactly the bytes read.

#include "editing/EditControl.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillora {

enum class Encoding { Utf8, Windows1252 };

// How a document's text goes to disk.
struct TextFormat {
  Encoding encoding = Encoding::Utf8;
  bool byteOrderMark = false;
  LineBreak lineBreak = LineBreak::CrLf;
};

struct DecodedText {
  QString text;  // line breaks as Qt's LF
  TextFormat format;
};

// UTF-8 when the bytes are valid UTF-8, else Windows-1252; the line-break
// style is that of the first line break (CR LF when there is none).
DecodedText DecodeText(const QByteArray &bytes);

// The text (line breaks already in the format's style) and one appended line
// break, encoded. A Windows-1252 text holding a character that Windows-1252
// cannot hold is written as UTF-8, and the format says so from then on.
QByteArray EncodeText(const QString &text, TextFormat &format);

QString DecodeWindows1252(const QByteArray &bytes);
// Nothing when a character has no Windows-1252 byte.
std::optional<QByteArray> EncodeWindows1252(const QString &text);

// Why a file could not be read or written: the operating system's error
// number of the call that failed, or one of these two of our own.
inline constexpr int NotARegularFile = -1;  // a device, a pipe or a socket
inline constexpr int ChangedWhileRead = -2;

struct ReadResult {
  QByteArray bytes;
  int error = 0;  // 0 when the whole file was read
};

// The whole file; a file that is not a regular file or whose length changes
// while it is read is refused.
ReadResult ReadWholeFile(const QString &path);
// Writes the bytes through a temporary file in the same folder, flushed to
// disk and renamed over the old one, so the old file stays as it was when
// anything fails; a symbolic link keeps pointing at the file it names, and the
// file keeps its permissions. Returns 0 or the error of the call that failed.
int WriteWholeFile(const QString &path, const QByteArray &bytes);

enum class FileAccess { Reading, Writing };
// The cause of a failure in plain words, one sentence.
QString FileErrorCause(int error, FileAccess access);

}  // namespace quillora
