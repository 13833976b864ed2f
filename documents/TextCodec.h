// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of a document and its bytes on disk: UTF-16 (little- or
// big-endian) when the bytes start with its byte-order mark, as Windows
// writes "Unicode" text; UTF-8 when they are valid UTF-8; else Windows-1252.
// Each file is written back in the encoding and line-break style it came with.

#include "common/LineBreaks.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillora {

enum class Encoding { Utf8, Windows1252, Utf16LE, Utf16BE };

// How a document's text goes to disk; the line-break style is the text's own.
struct TextFormat {
  Encoding encoding = Encoding::Utf8;
  bool byteOrderMark = false;  // UTF-8's; UTF-16 is always written with its own
};

struct DecodedText {
  QString text;  // line breaks as Qt's LF
  TextFormat format;
  LineBreak lineBreak = LineBreak::CrLf;  // the style the file's lines had
};

// UTF-16 behind its byte-order mark when the rest is whole UTF-16 (an even
// number of bytes, no unpaired surrogate); else UTF-8 when the bytes are
// valid UTF-8; else Windows-1252. The line-break style is that of the first
// line break (CR LF when there is none).
DecodedText DecodeText(const QByteArray &bytes);

// The text (line breaks already in the style given) and one appended line
// break of that style, encoded. A Windows-1252 text holding a character that
// Windows-1252 cannot hold is written as UTF-8, and the format says so from
// then on.
QByteArray EncodeText(const QString &text, LineBreak style, TextFormat &format);

QString DecodeWindows1252(const QByteArray &bytes);
// Nothing when a character has no Windows-1252 byte.
std::optional<QByteArray> EncodeWindows1252(const QString &text);

}  // namespace quillora
