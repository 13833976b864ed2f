// SPDX-License-Identifier: GPL-3.0-or-later
// Any file up to 65,000 bytes: opened and saved unchanged, it comes back as the
// same bytes plus the one appended line break (when its line breaks are all of
// one kind and it holds no Unicode line or paragraph separator), and a second
// round trip never changes what the first one wrote. An input whose first
// byte is 0xF0 to 0xF3 is made a UTF-16 file of its other bytes (little- or
// big-endian, whole or cut by a byte), as Windows writes "Unicode" text.

#include "FuzzSupport.h"
#include "documents/TextCodec.h"
#include "editing/EditControl.h"

#include <QStringDecoder>

using namespace quillora;

namespace {

// Saved unchanged; `appended`: the line break the save adds, as it is encoded.
QByteArray roundTrip(const QByteArray &bytes, QByteArray *appended) {
  DecodedText decoded = DecodeText(bytes);
  EditControl edit;
  edit.setLineBreak(decoded.lineBreak);
  edit.setPlainText(decoded.text);
  TextFormat bare = decoded.format;
  bare.byteOrderMark = false;
  *appended = EncodeText(QString(), decoded.lineBreak, bare);
  if (bare.encoding == Encoding::Utf16LE || bare.encoding == Encoding::Utf16BE) appended->remove(0, 2);
  return EncodeText(edit.text(), edit.lineBreak(), decoded.format);
}

bool oneKindOfBreak(const QString &text) {
  const qsizetype crlf = text.count(QStringLiteral("\r\n"));
  const qsizetype cr = text.count(u'\r') - crlf, lf = text.count(u'\n') - crlf;
  return (crlf ? 1 : 0) + (cr ? 1 : 0) + (lf ? 1 : 0) <= 1;
}

QByteArray drawn(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  if (size == 0 || (data[0] & 0xFC) != 0xF0) return bytes;
  QByteArray utf16 = (data[0] & 1) ? QByteArray("\xfe\xff") : QByteArray("\xff\xfe");
  utf16 += bytes.mid(1);
  if ((data[0] & 2) == 0 && utf16.size() % 2) utf16.chop(1);  // whole, or cut by a byte
  return utf16;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  StartHeadlessApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 65000) return 0;
  const QByteArray bytes = drawn(data, size);
  QByteArray appended;
  const QByteArray saved = roundTrip(bytes, &appended);
  const QString decoded = DecodeText(bytes).text;
  const bool separators = decoded.contains(QChar(0x2028)) || decoded.contains(QChar(0x2029));
  // The characters of the file, breaks and all (a byte a character but in UTF-16).
  const Encoding encoding = DecodeText(bytes).format.encoding;
  QString characters = QString::fromLatin1(bytes);
  if (encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE)
    characters = QStringDecoder(encoding == Encoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE)
                     .decode(bytes.mid(2));
  if (oneKindOfBreak(characters) && !separators) FUZZ_CHECK(saved == bytes + appended);
  // Read back in the encoding it was written in (a Windows-1252 text that
  // starts with "\xfe\xff" of an odd length reads as UTF-16 once a save made
  // it even: the bytes are the same, the reading differs).
  QByteArray again;
  if (DecodeText(saved).format.encoding == encoding) FUZZ_CHECK(roundTrip(saved, &again) == saved + again);
  return 0;
}
