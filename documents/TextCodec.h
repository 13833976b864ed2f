#pragma once
// The text of a document and its bytes on disk: UTF-8 when the bytes are
// valid UTF-8, else Windows-1252, each file written back in the encoding and
// line-break style it came with.

#include "common/LineBreaks.h"

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

}  // namespace quillora
