// SPDX-License-Identifier: GPL-3.0-or-later
// Opening, saving and closing files through the menus, the encodings, and
// the recent-files list: what reaches the disk byte for byte. The save
// path's own tables are in test_savepath.

#include "TestSupport.h"
#include "app/Toolbar.h"
#include "documents/DocumentWindow.h"
#include "documents/FileCommands.h"
#include "documents/FileDialog.h"
#include "documents/RescueFolder.h"
#include "documents/TextCodec.h"
#include "documents/TextFile.h"
#include "editing/EditControl.h"
#include "settings/RecentFiles.h"
#include "settings/SettingsStore.h"

#include <QAbstractFileIconProvider>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QLocalServer>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QStringEncoder>
#include <QTest>

#include "common/ProcessSignals.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <memory>
#include <thread>
#include <tuple>
#include <vector>

using namespace quillora;
using namespace quillora::test;

namespace {

QString recent(int slot) {
  FinishRecentFilesUpdates();
  QSettings store(QSettings::IniFormat, QSettings::UserScope, "VIZIvev");
  return store.value(QStringLiteral("Recent Files/RecentFile%1").arg(slot)).toString();
}

QByteArray Utf16(const QString &text, bool little) {
  QStringEncoder encoder(little ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
  return QByteArray(little ? "\xff\xfe" : "\xfe\xff") + QByteArray(encoder.encode(text));
}

}  // namespace

class FilesTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { IsolateSettings(); }

  void openingAndSavingUnchangedGivesTheSameBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("lineBreak");
    QTest::newRow("empty") << QByteArray() << QByteArray("\r\n");
    QTest::newRow("crlf") << QByteArray("one\r\ntwo\r\n\r\nthree") << QByteArray("\r\n");
    QTest::newRow("lf") << QByteArray("one\ntwo\n\nthree\n") << QByteArray("\n");
    QTest::newRow("cr") << QByteArray("one\rtwo\r") << QByteArray("\r");
    QTest::newRow("nul bytes") << QByteArray("a\0b\0\nc", 6) << QByteArray("\n");
    QTest::newRow("utf-8") << QByteArray("Gr\xc3\xbc\xc3\x9f\x65 \xe2\x82\xac \xf0\x9f\x98\x80\n") << QByteArray("\n");
    QTest::newRow("utf-8 bom") << QByteArray("\xef\xbb\xbfhello\r\n") << QByteArray("\r\n");
    QTest::newRow("nbsp 1252") << QByteArray("a\xa0 b\xe9\x80\x81\x8d\x8f\x90\x9d") << QByteArray("\r\n");
    QTest::newRow("overlong") << QByteArray("\xc0\x80x") << QByteArray("\r\n");
    QTest::newRow("truncated") << QByteArray("ab\xe2\x82") << QByteArray("\r\n");
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << QByteArray("\r\n");
    // Characters the text box takes for the edges of a frame.
    QTest::newRow("U+FDD0 and U+FDD1") << QByteArray("a\xef\xb7\x90\xef\xb7\x91\n") << QByteArray("\n");
    QTest::newRow("one long line") << QByteArray(65000, 'x') << QByteArray("\r\n");
    QByteArray all;
    for (int b = 0; b < 256; ++b)
      if (b != '\r' && b != '\n') all.append(char(b));
    all.append('\n');
    QTest::newRow("every byte") << all << QByteArray("\n");
    // Windows' "Unicode" files: UTF-16 behind its byte-order mark, the
    // appended break in UTF-16 too; broken UTF-16 is read as Windows-1252.
    const QString accents = QStringLiteral("\u00c7a, \u00f1, \u00df, \u00e8, \u00f2 \U0001F600\r\nfin");
    QTest::newRow("utf-16le") << Utf16(accents, true) << QByteArray("\r\0\n\0", 4);
    QTest::newRow("utf-16be") << Utf16(accents, false) << QByteArray("\0\r\0\n", 4);
    QTest::newRow("utf-16le, odd length") << QByteArray("\xff\xfe\x41\x00\x42", 5) << QByteArray("\r\n");
    QTest::newRow("utf-16le, unpaired surrogate") << QByteArray("\xff\xfe\x00\xd8\x41\x00", 6) << QByteArray("\r\n");
    QTest::newRow("utf-16be, U+FDD0") << QByteArray("\xfe\xff\x00\x41\xfd\xd0\x00\x0a", 8) << QByteArray("\n");
  }
  void openingAndSavingUnchangedGivesTheSameBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, lineBreak);
    Fixture f;
    const QString path = f.path("round.txt");
    WriteFile(path, bytes);
    DocumentWindow *doc = OpenThroughMenu(f, path);
    QVERIFY(doc);
    QVERIFY(!doc->changed());
    Trigger(doc, "mnuFSave");
    QVERIFY(f.prompts().messages.isEmpty());
    QCOMPARE(ReadFile(path), bytes + lineBreak);
  }

  // A UTF-16 file reads as its text, and everything typed into it is saved in UTF-16.
  void aUtf16FileReadsAsText() {
    for (const bool little : {true, false}) {
      Fixture f;
      const QString path = f.path("unicode.txt");
      WriteFile(path, Utf16(QStringLiteral("Gr\u00fc\u00dfe\r\nzwei"), little));
      DocumentWindow *doc = OpenThroughMenu(f, path);
      QCOMPARE(doc->Text1()->text(), QStringLiteral("Gr\u00fc\u00dfe\r\nzwei"));
      doc->Text1()->setSelStart(doc->Text1()->textLength());
      doc->Text1()->setSelText(QStringLiteral(" \u0416 \U0001F600"));
      Trigger(doc, "mnuFSave");
      QCOMPARE(ReadFile(path), Utf16(QStringLiteral("Gr\u00fc\u00dfe\r\nzwei \u0416 \U0001F600\r\n"), little));
    }
  }

  void mixedLineBreaksTakeTheFirstStyle() {
    const DecodedText d = DecodeText("a\nb\r\nc\rd");
    QCOMPARE(d.lineBreak, LineBreak::Lf);
    TextFormat format = d.format;
    QCOMPARE(EncodeText(QStringLiteral("a\nb\nc\nd"), d.lineBreak, format), QByteArray("a\nb\nc\nd\n"));
  }

  void aWindows1252DocumentThatOutgrowsItIsWrittenAsUtf8() {
    Fixture f;
    const QString path = f.path("latin.txt");
    WriteFile(path, "caf\xe9");
    DocumentWindow *doc = OpenThroughMenu(f, path);
    QVERIFY(doc);
    doc->Text1()->setSelStart(4);
    doc->Text1()->setSelText(QString::fromUtf8(" \xe2\x86\x92 \xe2\x82\xac"));  // an arrow has no 1252 byte
    Trigger(doc, "mnuFSave");
    QCOMPARE(ReadFile(path), QByteArray("caf\xc3\xa9 \xe2\x86\x92 \xe2\x82\xac\r\n"));
    doc->Text1()->setSelText("!");  // stays UTF-8 from then on
    Trigger(doc, "mnuFSave");
    QCOMPARE(ReadFile(path), QByteArray("caf\xc3\xa9 \xe2\x86\x92 \xe2\x82\xac!\r\n"));
  }

  void openShowsTheFileUnderItsUpperCasePath() {
    Fixture f;
    const QString path = f.path("notes é.txt");
    WriteFile(path, "hello\r\nworld");
    DocumentWindow *doc = OpenThroughMenu(f, path);
    QVERIFY(doc);
    QCOMPARE(doc->caption(), path.toUpper());
    QCOMPARE(doc->Text1()->text(), QStringLiteral("hello\r\nworld"));
    QVERIFY(!doc->changed());
    QCOMPARE(recent(1), path);
    const FileDialogRequest &request = f.prompts().requests.last();
    QVERIFY(!request.save);
    QCOMPARE(request.filters, (QStringList{"Text Files (*.txt)", "All Files (*.*)"}));
    QCOMPARE(request.defaultSuffix, QStringLiteral("txt"));
    QCOMPARE(request.folder, QDir::homePath());
    // The next dialog opens where the last one was used.
    Trigger(doc, "mnuFOpen");
    QCOMPARE(f.prompts().requests.last().folder, f.dir());
    // Closing it at once asks nothing.
    Trigger(doc, "mnuFClose");
    QVERIFY(f.prompts().messages.isEmpty());
  }

  void unusualFileNames_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("spaces") << QStringLiteral("my notes  2.txt");
    QTest::newRow("accents") << QString::fromUtf8("Überschrift façade ñ.txt");
    QTest::newRow("newline") << QStringLiteral("two\nlines.txt");
  }
  void unusualFileNames() {
    QFETCH(QString, name);
    Fixture f;
    const QString path = f.path(name);
    WriteFile(path, "x");
    DocumentWindow *doc = OpenThroughMenu(f, path);
    QVERIFY(doc);
    QCOMPARE(doc->caption(), path.toUpper());
    doc->Text1()->setSelText("y");
    Trigger(doc, "mnuFSave");
    QCOMPARE(ReadFile(path), QByteArray("yx\r\n"));
    QCOMPARE(recent(1), path);
  }

  void theSizeLimitIs65000Bytes() {
    Fixture f;
    WriteFile(f.path("exact.txt"), QByteArray(65000, 'a'));
    WriteFile(f.path("over.txt"), QByteArray(65001, 'a'));
    QVERIFY(OpenThroughMenu(f, f.path("exact.txt")));
    QVERIFY(!OpenThroughMenu(f, f.path("over.txt")));
    QCOMPARE(f.prompts().messages.size(), 1);
    QCOMPARE(f.prompts().messages.at(0).text, QStringLiteral("The file is too large to open."));
    QCOMPARE(f.prompts().messages.at(0).title, QStringLiteral("Quillora"));
    QCOMPARE(f.prompts().messages.at(0).code, msg::OkOnly);
    QCOMPARE(recent(1), f.path("exact.txt"));  // a refused file is not recorded
  }

  void cancellingOpenDoesNothing() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuOuvrir");  // any tree runs the same Open
    QCOMPARE(f.frame().documentWindows().size(), 1);
    QVERIFY(f.prompts().messages.isEmpty());
    QVERIFY(recent(1).isEmpty());
  }

  void whatCannotBeReadLeavesNoWindow_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("cause");
    const QString notOrdinary = QStringLiteral("It is not an ordinary file: a device, a pipe or a socket.");
    QTest::newRow("missing") << "missing.txt"
                             << "The file does not exist, or its folder does not.";
    QTest::newRow("folder") << "folder"
                            << "The name is that of a folder.";
    QTest::newRow("fifo") << "fifo" << notOrdinary;
    QTest::newRow("device") << "/dev/zero" << notOrdinary;
    QTest::newRow("not a folder") << "plain.txt/inner.txt"
                                  << "A part of the path is not a folder.";
    QTest::newRow("socket") << "socket" << notOrdinary;
    QTest::newRow("a process's memory") << "/proc/self/mem"
                                        << "It is a file the system makes for a running program, not a text file.";
  }
  void whatCannotBeReadLeavesNoWindow() {
    QFETCH(QString, name);
    QFETCH(QString, cause);
    Fixture f;
    QDir(f.dir()).mkdir("folder");
    QCOMPARE(mkfifo(QFile::encodeName(f.path("fifo")).constData(), 0600), 0);
    WriteFile(f.path("plain.txt"), "x");
    QLocalServer socket;
    QVERIFY(socket.listen(f.path("socket")));
    const QString path = name.startsWith('/') ? name : f.path(name);
    Trigger(f.frame().activeDocument(), "mnuFClose");
    QVERIFY(!OpenThroughMenu(f, path));
    QCOMPARE(f.prompts().messages.size(), 1);
    QCOMPARE(f.prompts().messages.at(0).text, "Can't open file: " + path + '\n' + cause);
    // The path is still recorded, but with no window the buttons stay hidden.
    QCOMPARE(recent(1), path);
    QVERIFY(DocumentsOf(f.frame()).noDocumentsOpen());
    QVERIFY(ToolbarOf(f.frame()).button("imgCutButton")->isHidden());
  }

  void saveWritesToTheExactPathItCameFrom() {
    Fixture f;
    QDir(f.dir()).mkdir("lower");
    const QString path = f.path("lower/mixed Case.txt");
    WriteFile(path, "old");
    DocumentWindow *doc = OpenThroughMenu(f, path);
    doc->Text1()->setSelStart(3);
    doc->Text1()->setSelText(" new");
    QVERIFY(doc->changed());
    const QString before = recent(1);
    Trigger(doc, "mnuSauver");
    QCOMPARE(f.prompts().requests.size(), 1);  // only the Open dialog
    QCOMPARE(ReadFile(path), QByteArray("old new\r\n"));
    QVERIFY(!doc->changed());
    QCOMPARE(doc->caption(), path.toUpper());
    QCOMPARE(recent(1), before);  // Save never touches the list
    QVERIFY(!QFile::exists(path.toUpper()));
  }

  void saveAndSaveAsOfAnUntitledDocument() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    QTest::keyClicks(doc->Text1(), "text");
    // Save asks with an empty name; cancelling changes nothing.
    Trigger(doc, "mnuFSave");
    QCOMPARE(f.prompts().requests.last().fileName, QString());
    QVERIFY(f.prompts().requests.last().save);
    QVERIFY(doc->changed());
    QCOMPARE(doc->caption(), QStringLiteral("Untitled"));
    QVERIFY(recent(1).isEmpty());
    // Save As proposes "Untitled.txt" and records the name.
    const QString path = f.path("chosen.txt");
    f.prompts().files = {path};
    Trigger(doc, "mnuFSaveAs");
    QCOMPARE(f.prompts().requests.last().fileName, QStringLiteral("Untitled.txt"));
    QCOMPARE(ReadFile(path), QByteArray("text\r\n"));
    QCOMPARE(doc->caption(), path.toUpper());
    QCOMPARE(recent(1), path);
    // Save As of a titled document proposes its path, in its folder.
    Trigger(doc, "mnuGDSpeichernUnter");
    QCOMPARE(f.prompts().requests.last().fileName, path);
    QCOMPARE(f.prompts().requests.last().folder, f.dir());
    QCOMPARE(recent(2), QString());
  }

  void theSaveQuestion() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuFNew");
    DocumentWindow *doc = f.frame().activeDocument();
    QTest::keyClicks(doc->Text1(), "keep me");
    // Yes, then a cancelled dialog: the window stays with its text.
    f.prompts().answers = {msg::Yes};
    Trigger(doc, "mnuFClose");
    QCOMPARE(f.prompts().messages.at(0).text,
             QStringLiteral("The text in [Untitled:2] has changed.\n\rDo you want to save the changes?"));
    QCOMPARE(f.prompts().requests.last().fileName, QStringLiteral("untitled.txt"));
    QCOMPARE(f.frame().documentWindows().size(), 2);
    QVERIFY(doc->changed());
    // Yes and a write that fails: the error, and the window stays.
    f.prompts().answers = {msg::Yes};
    f.prompts().files = {f.path("no/such/folder/x.txt")};
    Trigger(doc, "mnuFClose");
    QCOMPARE(f.prompts().messages.size(), 3);
    QCOMPARE(f.prompts().messages.at(2).code, msg::Exclamation);
    QCOMPARE(f.prompts().messages.at(2).title, QStringLiteral("Quillora"));
    QCOMPARE(f.frame().documentWindows().size(), 2);
    // Yes and a good name: saved, then closed.
    f.prompts().answers = {msg::Yes};
    f.prompts().files = {f.path("kept.txt")};
    Trigger(doc, "mnuFClose");
    QCOMPARE(ReadFile(f.path("kept.txt")), QByteArray("keep me\r\n"));
    QCOMPARE(f.frame().documentWindows().size(), 1);
  }

  // Each way a save can fail on this machine: the box names the file and the
  // cause, and the old file, the caption and the changed state survive.
  void openReadsWhatItReachedWithinTheLimit() {
    QCOMPARE(ReadWholeFile("/proc/self/status", OpenSizeLimit).error, 0);  // announced as 0 bytes
    QVERIFY(ReadWholeFile("/proc/self/status", OpenSizeLimit).bytes.startsWith("Name:"));
    QTemporaryDir dir;
    const QString huge = dir.filePath("huge.txt"), link = dir.filePath("link.txt");
    WriteFile(huge, "");
    QVERIFY(QFile::resize(huge, qint64(1) << 40));  // sparse
    QVERIFY(QFile::link(huge, link));
    QCOMPARE(ReadWholeFile(link, OpenSizeLimit).error, TooLarge);
    QCOMPARE(ReadWholeFile(link, LoadSizeLimit).error, TooLarge);
    // Nothing but a regular file is opened: a writer waiting for a reader of a pipe goes on waiting.
    const QByteArray pipe = QFile::encodeName(dir.filePath("pipe"));
    QCOMPARE(mkfifo(pipe.constData(), 0600), 0);
    const pid_t writer = fork();
    if (writer == 0) _exit(open(pipe.constData(), O_WRONLY) >= 0 ? 0 : 1);
    QTest::qWait(100);
    QCOMPARE(ReadWholeFile(dir.filePath("pipe"), OpenSizeLimit).error, NotARegularFile);
    QTest::qWait(100);
    QCOMPARE(waitpid(writer, nullptr, WNOHANG), 0);  // still waiting
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
  }

  // The Open dialog names the types of the files it lists without reading
  // them: /proc/kmsg, whose read waits for the next kernel message, once
  // froze the whole program when the dialog listed /proc.
  void theFileDialogReadsNoFileToNameItsType() {
    const QString blocking = QStringLiteral("/proc/kmsg");
    if (access("/proc/kmsg", R_OK) != 0) QSKIP("needs a file whose read blocks: /proc/kmsg, readable by root");
    const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(nullptr, FileDialogRequest{});
    QAbstractFileIconProvider *types = dialog->iconProvider();
    auto named = std::make_shared<std::atomic<bool>>(false);
    std::thread([types, named, blocking] {
      types->type(QFileInfo(blocking));
      types->icon(QFileInfo(blocking));
      *named = true;
    }).detach();  // a blocked read would keep the thread; the test fails below
    QTRY_VERIFY_WITH_TIMEOUT(*named, 10000);
  }

  void recentFilesShiftAndDropTheFourth() {
    Fixture f;
    for (const char *name : {"A", "B", "C", "D", "E"}) {
      WriteFile(f.path(name), name);
      QVERIFY(OpenThroughMenu(f, f.path(name)));
    }
    QCOMPARE((QStringList{recent(1), recent(2), recent(3), recent(4)}),
             (QStringList{f.path("E"), f.path("D"), f.path("C"), f.path("B")}));
    QVERIFY(OpenThroughMenu(f, f.path("E")));
    QCOMPARE(recent(1), f.path("E"));
    QCOMPARE(recent(2), f.path("E"));
    QCOMPARE(recent(3), f.path("D"));
    // The entries are never shown, in any File menu.
    for (DocumentWindow *w : f.frame().documentWindows())
      for (int i = 0; i <= 4; ++i) QVERIFY(!Item(w, "mnuRecentFile", i)->isVisible());
  }

  void anEmptySlotStopsTheShift() {
    Fixture f;
    {
      SettingsStore store;
      store.SaveSetting("Recent Files", "RecentFile1", "one");
      store.SaveSetting("Recent Files", "RecentFile2", "two");
    }
    UpdateRecentFiles("new", {"RecentFile1", "RecentFile2", "RecentFile3", "RecentFile4"});
    QCOMPARE((QStringList{recent(1), recent(2), recent(3), recent(4)}), (QStringList{"new", "one", "two", ""}));
    QSettings store(QSettings::IniFormat, QSettings::UserScope, "VIZIvev");
    QVERIFY(!store.contains("Recent Files/RecentFile4"));
  }

  void aCorruptStoreDoesNotStopTheProgram() {
    Fixture f;
    WriteFile(SettingsFile(), QByteArray("\x00\xff[[[=\n\x01garbage", 16));
    WriteFile(f.path("a.txt"), "a");
    QVERIFY(OpenThroughMenu(f, f.path("a.txt")));
    QCOMPARE(recent(1), f.path("a.txt"));
  }

  // Run as root with another user's configuration folder, or with a store
  // that is a link, the program writes nothing through it.
};

QTEST_MAIN(FilesTest)
#include "test_files.moc"
