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

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

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
    QTest::newRow("missing") << QStringLiteral("missing.txt");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("fifo") << QStringLiteral("fifo");
    QTest::newRow("device") << QStringLiteral("/dev/zero");
    QTest::newRow("not a folder") << QStringLiteral("plain.txt/inner.txt");
  }
  void whatCannotBeReadLeavesNoWindow() {
    QFETCH(QString, name);
    Fixture f;
    QDir(f.dir()).mkdir("folder");
    QCOMPARE(mkfifo(QFile::encodeName(f.path("fifo")).constData(), 0600), 0);
    WriteFile(f.path("plain.txt"), "x");
    const QString path = name.startsWith('/') ? name : f.path(name);
    Trigger(f.frame().activeDocument(), "mnuFClose");
    QVERIFY(!openThroughMenu(f, path));
    QCOMPARE(f.prompts().messages.size(), 1);
    QCOMPARE(f.prompts().messages.at(0).text, QStringLiteral("Can't open file: ") + path);
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

  void failedWritesKeepTheOldFileAndTheState_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("missing folder") << QStringLiteral("missing/x.txt");
    QTest::newRow("a folder") << QStringLiteral("folder");
    QTest::newRow("read-only file system") << QStringLiteral("/proc/version");
  }
  void failedWritesKeepTheOldFileAndTheState() {
    QFETCH(QString, target);
    Fixture f;
    QDir(f.dir()).mkdir("folder");
    const QString path = target.startsWith('/') ? target : f.path(target);
    const QByteArray before = ReadFile(path);
    DocumentWindow *doc = f.frame().activeDocument();
    QTest::keyClicks(doc->Text1(), "abc");
    f.prompts().files = {path};
    Trigger(doc, "mnuFSaveAs");
    QCOMPARE(f.prompts().messages.size(), 1);
    QVERIFY(!f.prompts().messages.at(0).text.isEmpty());
    QCOMPARE(doc->caption(), QStringLiteral("Untitled"));
    QVERIFY(doc->changed());
    QCOMPARE(ReadFile(path), before);
  }

  void aFullDiskLeavesTheOldFileByteForByte() {
    QTemporaryDir dir;
    const QString path = dir.filePath("big.txt");
    const QByteArray old(3000, 'o');
    WriteFile(path, old);
    const pid_t child = fork();
    if (child == 0) {
      signal(SIGXFSZ, SIG_IGN);
      rlimit limit{1024, 1024};
      setrlimit(RLIMIT_FSIZE, &limit);
      const QString error = WriteWholeFile(path, QByteArray(5000, 'n'));
      _exit(error.isEmpty() ? 0 : 3);
    }
    int status = 0;
    waitpid(child, &status, 0);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 3);  // reported, not taken for success
    QCOMPARE(ReadFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"big.txt"});  // no temporary left behind
  }

  void savingKeepsLinksAndPermissions() {
    QTemporaryDir dir;
    const QString target = dir.filePath("target.txt"), link = dir.filePath("link.txt");
    WriteFile(target, "old");
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(QFile::link(target, link));
    const QFile::Permissions before = QFile::permissions(target);
    QCOMPARE(WriteWholeFile(link, "new"), QString());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(ReadFile(target), QByteArray("new"));
    QCOMPARE(QFile::permissions(target), before);
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
