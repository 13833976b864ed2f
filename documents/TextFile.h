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

// The whole file, or nothing when it is not a regular file or cannot be read in full.
std::optional<QByteArray> ReadWholeFile(const QString &path);
// Writes the bytes through a temporary file renamed over the old one; the
// old file stays as it was when anything fails. Returns the error, or empty.
QString WriteWholeFile(const QString &path, const QByteArray &bytes);

}  // namespace quillora
