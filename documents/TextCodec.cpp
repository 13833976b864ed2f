// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/TextCodec.h"

#include <QStringDecoder>
#include <utility>

namespace quillora {

namespace {

// Bytes 0x80 to 0x9F of Windows-1252; the five it leaves undefined map to the
// control characters of the same value, so that every byte comes back.
constexpr char16_t Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const QByteArray Utf8Bom("\xEF\xBB\xBF", 3);

// Qt's text document takes U+FDD0 and U+FDD1 for the edges of a frame and
// makes line breaks of them: a text holding one would not come back as it
// was read, so it is read byte by byte instead, every byte kept.
bool holdsFrameMarks(const QString &text) { return text.contains(QChar(0xFDD0)) || text.contains(QChar(0xFDD1)); }
const QByteArray Utf16LEBom("\xFF\xFE", 2);
const QByteArray Utf16BEBom("\xFE\xFF", 2);

// The UTF-16 text behind a byte-order mark, when every unit pairs up.
std::optional<QString> decodeUtf16Exactly(const QByteArray &bytes, QStringDecoder::Encoding encoding) {
  const QByteArray body = bytes.mid(2);
  if (body.size() % 2 != 0) return std::nullopt;
  QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  QString text = decoder.decode(body);
  if (decoder.hasError()) return std::nullopt;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
      ++i;
    else if (text.at(i).isSurrogate())
      return std::nullopt;
  }
  if (holdsFrameMarks(text)) return std::nullopt;
  return text;
}

// The UTF-8 text, when decoding and encoding again gives the same bytes.
std::optional<QString> decodeUtf8Exactly(const QByteArray &bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  if (text.toUtf8() != bytes || holdsFrameMarks(text)) return std::nullopt;
  return text;
}

}  // namespace

QString DecodeWindows1252(const QByteArray &bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar *out = text.data();
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    *out++ = (b >= 0x80 && b < 0xA0) ? QChar(Cp1252High[b - 0x80]) : QChar(b);
  }
  return text;
}

std::optional<QByteArray> EncodeWindows1252(const QString &text) {
  QByteArray bytes(text.size(), Qt::Uninitialized);
  char *out = bytes.data();
  for (const QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      *out++ = char(u);
      continue;
    }
    int found = -1;
    for (int i = 0; i < 32; ++i)
      if (Cp1252High[i] == u) found = i;
    if (found < 0) return std::nullopt;
    *out++ = char(0x80 + found);
  }
  return bytes;
}

DecodedText DecodeText(const QByteArray &bytes) {
  DecodedText result;
  const bool bom = bytes.startsWith(Utf8Bom);
  const QByteArray body = bom ? bytes.mid(3) : bytes;
  std::optional<QString> utf16;
  if (bytes.startsWith(Utf16LEBom) && (utf16 = decodeUtf16Exactly(bytes, QStringDecoder::Utf16LE))) {
    result.text = std::move(*utf16);
    result.format.encoding = Encoding::Utf16LE;
  } else if (bytes.startsWith(Utf16BEBom) && (utf16 = decodeUtf16Exactly(bytes, QStringDecoder::Utf16BE))) {
    result.text = std::move(*utf16);
    result.format.encoding = Encoding::Utf16BE;
  } else if (auto utf8 = decodeUtf8Exactly(body)) {
    result.text = std::move(*utf8);
    result.format.encoding = Encoding::Utf8;
    result.format.byteOrderMark = bom;
  } else {
    result.text = DecodeWindows1252(bytes);
    result.format.encoding = Encoding::Windows1252;
  }
  result.lineBreak = FirstLineBreak(result.text);
  result.text = ToQtBreaks(result.text);
  return result;
}

QByteArray EncodeText(const QString &text, LineBreak style, TextFormat &format) {
  const QString whole = text + LineBreakText(style);
  if (format.encoding == Encoding::Utf16LE || format.encoding == Encoding::Utf16BE) {
    const bool little = format.encoding == Encoding::Utf16LE;
    QStringEncoder encoder(little ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
    return (little ? Utf16LEBom : Utf16BEBom) + QByteArray(encoder.encode(whole));
  }
  if (format.encoding == Encoding::Windows1252) {
    if (auto bytes = EncodeWindows1252(whole)) return *bytes;
    format.encoding = Encoding::Utf8;  // keeps what the user typed
  }
  QByteArray bytes = whole.toUtf8();
  if (format.byteOrderMark) bytes.prepend(Utf8Bom);
  return bytes;
}

}  // namespace quillora
