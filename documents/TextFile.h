#pragma once
// Files on disk and the text of a document: reading and writing whole files,
// and the decoding that gives back exactly the bytes read.

#include "common/LineBreaks.h"

#include <QByteArray>
#include <QString>
#include <functional>
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
// number of the call that failed, or one of these of our own.
inline constexpr int NotARegularFile = -1;   // a device, a pipe or a socket
inline constexpr int ChangedMeanwhile = -2;  // while it was read, or before the save replaced it
inline constexpr int TooLarge = -3;
inline constexpr int DanglingLink = -4;    // a save is not written through a link to nothing
inline constexpr int OtherUsersFile = -5;  // in a folder that everyone may write, such as /tmp
inline constexpr int FolderTakesNoFiles = -6;

struct ReadResult {
  QByteArray bytes;
  int error = 0;  // 0 when the whole file was read
};

// The whole file, of at most `limit` bytes; a file that is not a regular
// file, is larger, or whose length changes while it is read is refused.
ReadResult ReadWholeFile(const QString &path, qint64 limit);
// Writes the bytes through a temporary file beside the file the path leads
// to, flushed to disk and renamed over it, so the old file stays as it was
// when anything fails. The kernel follows the links, so its protections for
// shared folders apply; a symbolic link keeps pointing at the file it names,
// and the file keeps its owner, group and permissions. A file with several
// names, or whose owner or group a new file cannot take, is written in place.
// Refused: a link to nothing, anything but a regular file, another user's
// file in a folder that everyone may write. Returns 0 or the error of the
// call that failed.
int WriteWholeFile(const QString &path, const QByteArray &bytes);
// For tests: sees a save's new file when it has been made, and again when
// its text is about to be written.
enum class SaveStep { TemporaryMade, TextWritten };
void SetSaveObserver(std::function<void(SaveStep, int fd)> observer);

enum class FileAccess { Reading, Writing };
// The cause of a failure in plain words, one sentence.
QString FileErrorCause(int error, FileAccess access);

}  // namespace quillora
