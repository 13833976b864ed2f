// SPDX-License-Identifier: GPL-3.0-or-later
// Printing to the default printer and mailing through the user's mail client:
// what arrives there, and what the user is told when it cannot.

#include "TestSupport.h"
#include "documents/DocumentWindow.h"
#include "documents/Mail.h"
#include "documents/Printing.h"
#include "editing/EditControl.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

#include <cups/cups.h>

using namespace quillora;
using namespace quillora::test;

namespace {

// A word of letters, without a blank: a to z again and again.
QString Run(int length) {
  QString run(length, Qt::Uninitialized);
  for (int i = 0; i < length; ++i) run[i] = QChar(u'a' + i % 26);
  return run;
}

// A mail client of our own, registered for mailto: in a private data folder.
struct MailHandler {
  QTemporaryDir dir;
  QString received() const { return dir.filePath("received"); }

  void install(bool registered, int exitCode = 0, int delaySeconds = 0) {
    const QString apps = dir.filePath("data/applications");
    QDir().mkpath(apps);
    QDir().mkpath(dir.filePath("config"));
    QDir().mkpath(dir.filePath("empty"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dir.filePath("empty")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
    qputenv("DISPLAY", ":99");  // xdg-open reads desktop files only then; no server is needed
    qputenv("BROWSER", "false");
    if (!registered) return;
    // Written whole, then renamed: the test reads the file as soon as it is there.
    WriteFile(dir.filePath("record.sh"),
              QStringLiteral("#!/bin/sh\nsleep %3\nprintf '%s' \"$1\" > '%1.part' && mv '%1.part' '%1'\nexit %2\n")
                  .arg(received())
                  .arg(exitCode)
                  .arg(delaySeconds)
                  .toUtf8());
    QFile::setPermissions(dir.filePath("record.sh"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteFile(apps + "/quillora-test-mail.desktop",
              QStringLiteral("[Desktop Entry]\nType=Application\nName=Test mail\nExec=%1 %u\n"
                             "MimeType=x-scheme-handler/mailto;\n")
                  .arg(dir.filePath("record.sh"))
                  .toUtf8());
  }
};

QByteArray field(const QByteArray &url, const QByteArray &name) {
  const qsizetype start = url.indexOf(name + '=');
  if (start < 0) return {};
  qsizetype end = url.indexOf('&', start);
  if (end < 0) end = url.size();
  return QByteArray::fromPercentEncoding(url.mid(start + name.size() + 1, end - start - name.size() - 1));
}

QStringList spooledDocuments() { return QDir("/var/spool/cups").entryList({"d*-001"}, QDir::Files, QDir::Name); }

}  // namespace

class PrintMailTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    IsolateSettings();
    if (QStandardPaths::findExecutable("xdg-email").isEmpty()) QSKIP("xdg-utils is not installed");
  }

  void mailCarriesTheCaptionAndTheTextExactly() {
    MailHandler handler;
    handler.install(true);
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    const QString body = QString::fromUtf8("back\\slash \"quotes\" & 100% + plus\r\nGrüße, 東京\r\n\r\nend");
    doc->Text1()->setText(body);
    doc->setChanged(false);
    Trigger(doc, "mnuFSend");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(handler.received()), 10000);
    const QByteArray url = ReadFile(handler.received());
    QVERIFY(url.startsWith("mailto:?"));
    QCOMPARE(field(url, "subject"), QByteArray("Untitled"));
    QCOMPARE(field(url, "body"), body.toUtf8());
    QCOMPARE(doc->caption(), QStringLiteral("Untitled"));
    QVERIFY(!doc->changed());
    QVERIFY(f.prompts().messages.isEmpty());
  }

  void anEmptyBodyAndANewDocumentsCaption() {
    MailHandler handler;
    handler.install(true);
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuFNew");
    Trigger(f.frame().activeDocument(), "mnuGDEmail");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(handler.received()), 10000);
    const QByteArray url = ReadFile(handler.received());
    QCOMPARE(field(url, "subject"), QByteArray("Untitled:2"));
    QCOMPARE(field(url, "body"), QByteArray());
  }

  void failuresAreTitledByTheTreesLanguage() {
    MailHandler handler;
    handler.install(false);  // no mail client at all
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    Trigger(doc, "mnuLanguagesItem", French);
    Trigger(doc, "mnuEnvoyer");
    QTRY_COMPARE_WITH_TIMEOUT(f.prompts().messages.size(), 1, 10000);
    QCOMPARE(f.prompts().messages.at(0).title, QStringLiteral("Erreur d'envoi 3"));
    QCOMPARE(f.prompts().messages.at(0).code, msg::Critical);
    QCOMPARE(f.prompts().messages.at(0).text, QStringLiteral("No mail program is set up for this user."));
    Trigger(doc, "mnuLanguesItem", German);
    Trigger(doc, "mnuGDEmail");
    QTRY_COMPARE_WITH_TIMEOUT(f.prompts().messages.size(), 2, 10000);
    QCOMPARE(f.prompts().messages.at(1).title, QStringLiteral("Mail Send Error 3"));
  }

  void aMailClientThatFails() {
    MailHandler handler;
    handler.install(true, 1);
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuFSend");
    QTRY_COMPARE_WITH_TIMEOUT(f.prompts().messages.size(), 1, 10000);
    QCOMPARE(f.prompts().messages.at(0).title, QStringLiteral("Mail Send Error 4"));
  }

  void aFrameThatClosesWhileTheMailClientStartsSaysNothing() {
    MailHandler handler;
    handler.install(true, 0, 5);
    auto f = std::make_unique<Fixture>();
    ScriptedPrompts watch;  // outlives the frame
    Trigger(f->frame().activeDocument(), "mnuFSend");
    f.reset();  // the launcher is still running
    QVERIFY(watch.messages.isEmpty());
  }

  void theLongestBodyFitsAndALongerOneIsRefused() {
    MailHandler handler;
    handler.install(true);
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    doc->Text1()->setText(QString(65000, u'a'));  // unreserved: one byte each in the URL
    Trigger(doc, "mnuFSend");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(handler.received()), 10000);
    QCOMPARE(field(ReadFile(handler.received()), "body").size(), 65000);
    QFile::remove(handler.received());
    doc->Text1()->setText(QString(65000, u' '));  // three bytes each: too long for one argument
    Trigger(doc, "mnuFSend");
    QCOMPARE(f.prompts().messages.size(), 1);  // refused before anything started
    QCOMPARE(f.prompts().messages.at(0).title, QStringLiteral("Mail Send Error 1"));
    QTest::qWait(300);
    QVERIFY(!QFile::exists(handler.received()));
  }

  void aMissingPrintModuleIsReported() {
    QTemporaryDir empty;
    PrintJob job({empty.path(), empty.filePath("nothing")});
    QCOMPARE(job.print("text"), QStringLiteral("The print module (quillora_printing) cannot be loaded."));
    QCOMPARE(job.finish(), QString());  // no job was started, so nothing is refused
  }

  void withoutAPrinterTheUserIsTold() {
    qputenv("CUPS_SERVER", "/nonexistent.sock");
    cupsSetServer(nullptr);
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    doc->Text1()->setText("text");
    doc->setChanged(false);
    Trigger(doc, "mnuFPrint");
    qunsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
    QCOMPARE(f.prompts().messages.size(), 1);
    QVERIFY(f.prompts().messages.at(0).text.startsWith("The text cannot be printed."));
    QCOMPARE(f.prompts().messages.at(0).code, msg::Exclamation);
    QCOMPARE(f.prompts().messages.at(0).title, QStringLiteral("Quillora"));
    QVERIFY(!doc->changed());
    QCOMPARE(doc->Text1()->text(), QStringLiteral("text"));
  }

  void aHungPrintServiceDoesNotHoldTheWindow() {
    // A service that takes the connection and never answers.
    QTemporaryDir dir;
    QLocalServer hung;
    QVERIFY(hung.listen(dir.filePath("cups.sock")));
    qputenv("CUPS_SERVER", QFile::encodeName(dir.filePath("cups.sock")));
    cupsSetServer(nullptr);
    Fixture f;
    f.frame().activeDocument()->Text1()->setText("text");
    Trigger(f.frame().activeDocument(), "mnuFPrint");
    qunsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
    QCOMPARE(f.prompts().messages.size(), 1);
    QVERIFY(f.prompts().messages.at(0).text.contains("does not answer"));
  }

  void aQueueThatRejectsTheJobIsReported() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) QSKIP("no default printer: tests/cups.sh sets one up as root");
    if (QProcess::execute("cupsreject", {printer.printerName()}) != 0) QSKIP("the queue cannot be told to reject");
    {
      Fixture f;
      DocumentWindow *doc = f.frame().activeDocument();
      doc->Text1()->setText("refused text");
      Trigger(doc, "mnuFPrint");
      doc->setChanged(false);
      Trigger(doc, "mnuFExit");
      QProcess::execute("cupsaccept", {printer.printerName()});
      QCOMPARE(f.prompts().messages.size(), 1);
      QVERIFY2(f.prompts().messages.at(0).text.contains("printer"), qPrintable(f.prompts().messages.at(0).text));
      QCOMPARE(f.prompts().messages.at(0).code, msg::Exclamation);
      QCOMPARE(f.terminated, 1);  // told, then the program ends as asked
    }
    QProcess::execute("cupsaccept", {printer.printerName()});
  }

  void twoPrintsMakeOneJobThatLeavesAtTheEnd() {
    if (QPrinterInfo::defaultPrinter().isNull()) QSKIP("no default printer: tests/cups.sh sets one up as root");
    if (!QFileInfo("/var/spool/cups").isReadable()) QSKIP("the spool folder cannot be read");
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext is not installed");
    const QStringList before = spooledDocuments();
    {
      Fixture f;
      DocumentWindow *doc = f.frame().activeDocument();
      doc->Text1()->setText("First printed text");
      Trigger(doc, "mnuFPrint");
      doc->Text1()->setText("Second printed text\r\nwith two lines");
      Trigger(doc, "mnuImprimer");
      doc->Text1()->setText(Run(2000) + "\r\n" + Run(70000));  // words wider than the page
      Trigger(doc, "mnuFPrint");
      QVERIFY(f.prompts().messages.isEmpty());
      QVERIFY(spooledDocuments() == before);  // nothing leaves before the end
      doc->setChanged(false);
      Trigger(doc, "mnuFClose");
      Trigger(&f.frame(), "mnuFExit");  // ends the program at once: the job goes now
      QCOMPARE(f.terminated, 1);
      QVERIFY(f.prompts().messages.isEmpty());
    }
    QStringList added;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
          added = spooledDocuments();
          for (const QString &old : before) added.removeAll(old);
          QProcess lpstat;
          lpstat.start("lpstat", {"-o"});
          lpstat.waitForFinished();
          return !added.isEmpty() && lpstat.readAllStandardOutput().trimmed().isEmpty();
        }(),
        30000);
    QCOMPARE(added.size(), 1);
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"/var/spool/cups/" + added.first(), "-"});
    QVERIFY(pdftotext.waitForFinished());
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    const qsizetype first = text.indexOf("First printed text");
    const qsizetype second = text.indexOf("Second printed text");
    QVERIFY2(first >= 0 && second > first && text.indexOf("with two lines") > second, qPrintable(text.left(300)));
    // Every character reaches the paper once, in order.
    const QString runs = text.mid(text.indexOf("with two lines") + 14).remove(QRegularExpression("\\s"));
    QCOMPARE(runs, Run(2000) + Run(70000));
  }
};

QTEST_MAIN(PrintMailTest)
#include "test_printmail.moc"
