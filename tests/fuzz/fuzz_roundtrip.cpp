// Any file up to 65,000 bytes: opened and saved unchanged, it comes back as the
// same bytes plus the one appended line break (when its line breaks are all of
// one kind and it holds no Unicode line or paragraph separator), and a second
// round trip never changes what the first one wrote.

#include "FuzzSupport.h"
#include "documents/TextCodec.h"
#include "editing/EditControl.h"

using namespace quillora;

namespace {

QByteArray roundTrip(const QByteArray &bytes, LineBreak *style) {
  DecodedText decoded = DecodeText(bytes);
  EditControl edit;
  edit.setLineBreak(decoded.format.lineBreak);
  edit.setPlainText(decoded.text);
  *style = decoded.format.lineBreak;
  return EncodeText(edit.text(), decoded.format);
}

bool oneKindOfBreak(const QByteArray &bytes) {
  const qsizetype crlf = bytes.count("\r\n");
  const qsizetype cr = bytes.count('\r') - crlf, lf = bytes.count('\n') - crlf;
  return (crlf ? 1 : 0) + (cr ? 1 : 0) + (lf ? 1 : 0) <= 1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  StartHeadlessApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 65000) return 0;
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  LineBreak style;
  const QByteArray saved = roundTrip(bytes, &style);
  const QString decoded = DecodeText(bytes).text;
  const bool separators = decoded.contains(QChar(0x2028)) || decoded.contains(QChar(0x2029));
  if (oneKindOfBreak(bytes) && !separators) FUZZ_CHECK(saved == bytes + LineBreakText(style).toLatin1());
  LineBreak again;
  FUZZ_CHECK(roundTrip(saved, &again) == saved + LineBreakText(again).toLatin1());
  return 0;
}
