// Opening, saving and closing files, and the recent-files list: what reaches
// the disk byte for byte, and that nothing a user wrote is lost.

#include "TestSupport.h"
#include "app/Toolbar.h"
#include "documents/DocumentWindow.h"
#include "documents/FileCommands.h"
#include "documents/FileDialog.h"
#include "documents/TextFile.h"
#include "editing/EditControl.h"
#include "settings/RecentFiles.h"
#include "settings/SettingsStore.h"

#include <QAbstractFileIconProvider>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSettings>
#include <QTest>

#include "common/ProcessSignals.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <memory>
#include <thread>

using namespace quillora;
using namespace quillora::test;

namespace {

QString recent(int slot) {
  QSettings store(QSettings::IniFormat, QSettings::UserScope, "VIZIvev");
  return store.value(QStringLiteral("Recent Files/RecentFile%1").arg(slot)).toString();
}

DocumentWindow *openThroughMenu(Fixture &f, const QString &path) {
  f.prompts().files.append(path);
  const int before = int(f.frame().documentWindows().size());
  QWidget *menuOwner = f.frame().activeDocument() ? static_cast<QWidget *>(f.frame().activeDocument()) : &f.frame();
  Trigger(menuOwner, "mnuFOpen");
  if (f.frame().documentWindows().size() == before) return nullptr;
  return f.frame().activeDocument();
}

// What stands in a save's way.
enum class Trap { None, FullDisk, ReadOnly, ImmutableFile, ImmutableFolder };

void setImmutable(const QString &path, bool on) {
  const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
  int flags = 0;
  if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ioctl(fd, FS_IOC_SETFLAGS, &flags);
  }
  if (fd >= 0) close(fd);
}

// Sets the trap around an old file of 21,000 bytes at `path`; the small file
// system is 64 KiB mounted at `mountPoint`. Everything is undone at the end.
class ScratchTrap {
 public:
  ScratchTrap(const QString &mountPoint, const QString &path, Trap trap)
      : m_mountPoint(mountPoint), m_path(path), m_trap(trap) {
    if (trap == Trap::FullDisk || trap == Trap::ReadOnly) {
      QDir().mkpath(mountPoint);
      QCOMPARE(mount("quillora-test", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=64k"), 0);
      m_mounted = true;
    }
    if (trap != Trap::None) WriteFile(path, QByteArray(21000, 'o'));
    switch (trap) {
      case Trap::FullDisk: WriteFile(mountPoint + "/filler", QByteArray(38000, 'f')); break;  // 4 KiB stay free
      case Trap::ReadOnly:
        QCOMPARE(mount(nullptr, QFile::encodeName(mountPoint).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr),
                 0);
        break;
      case Trap::ImmutableFile: setImmutable(path, true); break;
      case Trap::ImmutableFolder: setImmutable(QFileInfo(path).absolutePath(), true); break;
      case Trap::None: break;
    }
  }
  ~ScratchTrap() {
    if (m_trap == Trap::ImmutableFile) setImmutable(m_path, false);
    if (m_trap == Trap::ImmutableFolder) setImmutable(QFileInfo(m_path).absolutePath(), false);
    if (m_mounted) umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH);
  }
  ScratchTrap(const ScratchTrap &) = delete;
  ScratchTrap &operator=(const ScratchTrap &) = delete;

 private:
  QString m_mountPoint, m_path;
  Trap m_trap;
  bool m_mounted = false;
};

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
    QTest::newRow("one long line") << QByteArray(65000, 'x') << QByteArray("\r\n");
    QByteArray all;
    for (int b = 0; b < 256; ++b)
      if (b != '\r' && b != '\n') all.append(char(b));
    all.append('\n');
    QTest::newRow("every byte") << all << QByteArray("\n");
  }
  void openingAndSavingUnchangedGivesTheSameBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, lineBreak);
    Fixture f;
    const QString path = f.path("round.txt");
    WriteFile(path, bytes);
    DocumentWindow *doc = openThroughMenu(f, path);
    QVERIFY(doc);
    QVERIFY(!doc->changed());
    Trigger(doc, "mnuFSave");
    QVERIFY(f.prompts().messages.isEmpty());
    QCOMPARE(ReadFile(path), bytes + lineBreak);
  }

  void mixedLineBreaksTakeTheFirstStyle() {
    const DecodedText d = DecodeText("a\nb\r\nc\rd");
    QCOMPARE(d.format.lineBreak, LineBreak::Lf);
    TextFormat format = d.format;
    QCOMPARE(EncodeText(QStringLiteral("a\nb\nc\nd"), format), QByteArray("a\nb\nc\nd\n"));
  }

  void aWindows1252DocumentThatOutgrowsItIsWrittenAsUtf8() {
    Fixture f;
    const QString path = f.path("latin.txt");
    WriteFile(path, "caf\xe9");
    DocumentWindow *doc = openThroughMenu(f, path);
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
    DocumentWindow *doc = openThroughMenu(f, path);
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
    DocumentWindow *doc = openThroughMenu(f, path);
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
    QVERIFY(openThroughMenu(f, f.path("exact.txt")));
    QVERIFY(!openThroughMenu(f, f.path("over.txt")));
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
  }
  void whatCannotBeReadLeavesNoWindow() {
    QFETCH(QString, name);
    QFETCH(QString, cause);
    Fixture f;
    QDir(f.dir()).mkdir("folder");
    QCOMPARE(mkfifo(QFile::encodeName(f.path("fifo")).constData(), 0600), 0);
    WriteFile(f.path("plain.txt"), "x");
    const QString path = name.startsWith('/') ? name : f.path(name);
    Trigger(f.frame().activeDocument(), "mnuFClose");
    QVERIFY(!openThroughMenu(f, path));
    QCOMPARE(f.prompts().messages.size(), 1);
    QCOMPARE(f.prompts().messages.at(0).text, "Can't open file: " + path + '\n' + cause);
    // The path is still recorded, but with no window the buttons stay hidden.
    QCOMPARE(recent(1), path);
    QVERIFY(f.frame().documents().NoDocumentsOpen);
    QVERIFY(f.frame().toolbar().button("imgCutButton")->isHidden());
  }

  void openAfterTheLastDocumentClosedBringsTheButtonsBack() {
    Fixture f;
    WriteFile(f.path("a.txt"), "a");
    Trigger(f.frame().activeDocument(), "mnuFClose");
    QVERIFY(openThroughMenu(f, f.path("a.txt")));
    QVERIFY(!f.frame().documents().NoDocumentsOpen);
    for (const char *name :
         {"imgFileSaveButton", "imgViewBtn", "imgPrintBtn", "imgCutButton", "imgCopyButton", "imgPasteButton"})
      QVERIFY(!f.frame().toolbar().button(name)->isHidden());
  }

  void saveWritesToTheExactPathItCameFrom() {
    Fixture f;
    QDir(f.dir()).mkdir("lower");
    const QString path = f.path("lower/mixed Case.txt");
    WriteFile(path, "old");
    DocumentWindow *doc = openThroughMenu(f, path);
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

  void aClosingFrameStaysOpenWhenTheSaveDoesNotHappen() {
    Fixture f;
    QTest::keyClicks(f.frame().activeDocument()->Text1(), "x");
    f.prompts().answers = {msg::Yes};
    QVERIFY(!f.frame().close());
    QCOMPARE(f.terminated, 0);
    QCOMPARE(f.frame().documentWindows().size(), 1);
    QVERIFY(f.frame().activeDocument()->changed());
  }

  // Each way a save can fail on this machine: the box names the file and the
  // cause, and the old file, the caption and the changed state survive.
  void failedWritesSayWhyAndKeepTheOldFile_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("trap");
    QTest::addColumn<QString>("cause");
    QTest::newRow("missing folder") << "missing/x.txt" << int(Trap::None) << "The folder does not exist.";
    QTest::newRow("a folder") << "folder" << int(Trap::None) << "The name is that of a folder.";
    QTest::newRow("full disk") << "small/old.txt" << int(Trap::FullDisk) << "The disk (file system) is full.";
    QTest::newRow("read-only file system") << "small/old.txt" << int(Trap::ReadOnly) << "The file system is read-only.";
    const QString immutable =
        QStringLiteral("The operation is not permitted: the file or its folder is immutable or append-only.");
    QTest::newRow("immutable file") << "old.txt" << int(Trap::ImmutableFile) << immutable;
    QTest::newRow("immutable folder") << "folder/old.txt" << int(Trap::ImmutableFolder) << immutable;
  }
  void failedWritesSayWhyAndKeepTheOldFile() {
    QFETCH(QString, target);
    QFETCH(int, trap);
    QFETCH(QString, cause);
    if (trap != int(Trap::None) && geteuid() != 0) QSKIP("mounting and immutable files need root");
    Fixture f;
    QDir(f.dir()).mkdir("folder");
    const QString path = f.path(target);
    ScratchTrap scratch(f.path("small"), path, Trap(trap));
    const QByteArray before = ReadFile(path);
    DocumentWindow *doc = f.frame().activeDocument();
    doc->Text1()->setPlainText(QString(25000, u'n'));
    QTest::keyClicks(doc->Text1(), "abc");
    f.prompts().files = {path};
    Trigger(doc, "mnuFSaveAs");
    QCOMPARE(f.prompts().messages.size(), 1);
    QCOMPARE(f.prompts().messages.at(0).text, "Can't save file: " + path + '\n' + cause);
    QCOMPARE(f.prompts().messages.at(0).code, msg::Exclamation);
    QCOMPARE(doc->caption(), QStringLiteral("Untitled"));
    QVERIFY(doc->changed());
    QCOMPARE(ReadFile(path), before);
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList({".*"}, QDir::Files | QDir::Hidden), QStringList{});
  }

  // Limits that apply to a process: checked in a child of its own, which the
  // failed write must neither kill nor leave with a half-written file.
  void failedWritesUnderProcessLimits_data() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("expected");
    QTest::newRow("file size limit") << 0 << EFBIG;
    QTest::newRow("permission denied") << 1 << EACCES;
  }
  void failedWritesUnderProcessLimits() {
    QFETCH(int, limit);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.txt");
    const QByteArray old(3000, 'o');
    WriteFile(path, old);
    if (limit == 1) {  // neither the file nor its folder may be written
      QCOMPARE(chmod(QFile::encodeName(path).constData(), 0444), 0);
      QCOMPARE(chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    }
    const pid_t child = fork();
    if (child == 0) {
      IgnoreFatalIoSignals();  // as the program does at start-up
      rlimit size{1024, 1024};
      if (limit == 0) setrlimit(RLIMIT_FSIZE, &size);
      if (limit == 1 && geteuid() == 0 && setuid(65534) != 0) _exit(100);
      _exit(WriteWholeFile(path, QByteArray(5000, 'n')));
    }
    int status = 0;
    waitpid(child, &status, 0);
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), expected);
    QVERIFY(FileErrorCause(expected, FileAccess::Writing).contains(limit == 0 ? "size limit" : "Permission denied"));
    QCOMPARE(ReadFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"big.txt"});
  }

  void savingKeepsLinksAndPermissions() {
    QTemporaryDir dir;
    const QString target = dir.filePath("target.txt"), link = dir.filePath("link.txt");
    WriteFile(target, "old");
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(QFile::link(target, link));
    const QFile::Permissions before = QFile::permissions(target);
    QCOMPARE(WriteWholeFile(link, "new"), 0);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(ReadFile(target), QByteArray("new"));
    QCOMPARE(QFile::permissions(target), before);
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
      QVERIFY(openThroughMenu(f, f.path(name)));
    }
    QCOMPARE((QStringList{recent(1), recent(2), recent(3), recent(4)}),
             (QStringList{f.path("E"), f.path("D"), f.path("C"), f.path("B")}));
    QVERIFY(openThroughMenu(f, f.path("E")));
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
    QVERIFY(openThroughMenu(f, f.path("a.txt")));
    QCOMPARE(recent(1), f.path("a.txt"));
  }
};

QTEST_MAIN(FilesTest)
#include "test_files.moc"
