// SPDX-License-Identifier: GPL-3.0-or-later
// Quillora's performance record: start-up beside a bare Qt window (whole
// processes), then New, Open, a language switch, a search and a save inside
// one process, with memory. Prints a table; asserts nothing.

#include "Probe.h"
#include "app/MainFrame.h"
#include "common/Fonts.h"
#include "common/Prompts.h"
#include "documents/DocumentWindow.h"
#include "documents/Documents.h"
#include "documents/FileCommands.h"
#include "documents/TextCodec.h"
#include "editing/EditCommands.h"
#include "editing/EditControl.h"
#include "editing/Search.h"
#include "settings/RecentFiles.h"
#include "settings/SettingsStore.h"

#include <malloc.h>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <functional>
#include <string_view>

using namespace quillora;

namespace {

class SilentPrompts : public Prompts {
 public:
  int messageBox(QWidget *, const QString &, int, const QString &) override { return msg::No; }
  std::optional<QString> fileName(QWidget *, const FileDialogRequest &) override { return std::nullopt; }
};

double median(std::vector<double> v) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &after = {}) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer t;
    t.start();
    work();
    times.push_back(t.nsecsElapsed() / 1e6);
    if (after) after();
  }
  return median(times);
}

void row(const char *what, double value, const char *unit, const char *goal = "") {
  std::printf("| %-52s | %10.3f %-4s | %-12s |\n", what, value, unit, goal);
}

struct ProcessFigures {
  double shown = 0, painted = 0, spawnToPaint = 0, wall = 0, rss = 0;
};

struct ProbeRuns {
  std::vector<double> shown, painted, spawnToPaint, wall, rss;
};

void runProbe(const QString &program, ProbeRuns &runs) {
  QProcess p;
  QElapsedTimer t;
  t.start();
  const auto spawned = std::chrono::steady_clock::now().time_since_epoch();
  p.start(program, {});
  p.waitForFinished(30000);
  const double wall = t.nsecsElapsed() / 1e6;
  const QList<QByteArray> f = p.readAllStandardOutput().trimmed().split(' ');
  if (f.size() < 4) return;
  runs.wall.push_back(wall);
  runs.shown.push_back(f[0].toDouble());
  runs.painted.push_back(f[1].toDouble());
  runs.rss.push_back(f[2].toDouble() / 1024);
  runs.spawnToPaint.push_back(
      (f[3].toDouble() - double(std::chrono::duration_cast<std::chrono::nanoseconds>(spawned).count())) / 1e6);
}

ProcessFigures medians(const ProbeRuns &runs) {
  return {median(runs.shown), median(runs.painted), median(runs.spawnToPaint), median(runs.wall), median(runs.rss)};
}

Documents &documentsOf(MainFrame &frame) { return *frame.findChild<Documents *>(); }

void closeAll(MainFrame &frame) {
  for (DocumentWindow *w : frame.documentWindows()) {
    w->setChanged(false);
    w->closeDocument();
  }
  QCoreApplication::processEvents();
}

double typingMs(QPlainTextEdit *edit, int keys) {
  edit->moveCursor(QTextCursor::End);
  QCoreApplication::processEvents();
  return medianMs(keys, [edit] {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(edit, &release);
    QCoreApplication::processEvents();
  });
}

// Typing at the end of a text, Quillora beside a bare plain-text editor
// holding the same text: an empty one, 1,500 short lines, and one line of
// words of 65 KB, 1 MB and 10 MB; and the paste of the longest line.
void benchTyping(MainFrame &frame) {
  QString lines;
  while (lines.size() < 65000) lines += QStringLiteral("lorem ipsum dolor sit amet consectetur adip\n");
  const QList<std::pair<QString, QString>> texts = {{QStringLiteral("empty document"), QString()},
                                                    {QStringLiteral("1,500 lines"), lines}};
  for (const auto &[label, text] : texts) {
    NewDocument(documentsOf(frame));
    frame.activeDocument()->Text1()->setText(text);
    row(qPrintable(QStringLiteral("typing per key, %1, Quillora").arg(label)),
        typingMs(frame.activeDocument()->Text1(), 50), "ms");
    closeAll(frame);
    QPlainTextEdit bare;
    bare.resize(600, 400);
    bare.show();
    bare.setPlainText(text);
    row(qPrintable(QStringLiteral("typing per key, %1, bare editor").arg(label)), typingMs(&bare, 50), "ms");
  }
  for (const qsizetype size : {qsizetype(65000), qsizetype(1000000), qsizetype(10000000)}) {
    QString words;
    words.reserve(size + 32);
    while (words.size() < size) words += QStringLiteral("lorem ipsum dolor sit amet ");
    words.truncate(size);
    const int keys = size > 2000000 ? 2 : 7;
    NewDocument(documentsOf(frame));
    DocumentWindow *typed = frame.activeDocument();
    typed->Text1()->setText(words);
    const QString label = size >= 1000000 ? QStringLiteral("%1 MB").arg(size / 1000000) : QStringLiteral("65 KB");
    row(qPrintable(QStringLiteral("typing per key, one line of words, %1, Quillora").arg(label)),
        typingMs(typed->Text1(), keys), "ms", size == 1000000 ? "< 50" : (size > 2000000 ? "< 1000" : ""));
    closeAll(frame);
    if (size > 2000000) {
      NewDocument(documentsOf(frame));
      QApplication::clipboard()->setText(words);
      row("paste of a 10 MB line of words, Quillora",
          medianMs(1,
                   [&] {
                     PasteClipboard(frame.activeText());
                     QCoreApplication::processEvents();
                   }),
          "ms", "< 1000");
      row("typing per key after that paste, Quillora", typingMs(frame.activeDocument()->Text1(), keys), "ms", "< 50");
      closeAll(frame);
    }
    QPlainTextEdit bare;
    bare.resize(600, 400);
    bare.show();
    bare.setPlainText(words);
    row(qPrintable(QStringLiteral("typing per key, one line of words, %1, bare editor").arg(label)),
        typingMs(&bare, keys), "ms");
  }
}

// What a screen reader asks at every caret move (the caret, the selection,
// the length) in a document of short lines once a long line was pasted into
// it and undone: it must not grow with the number of lines.
// Open and Save As with a settings store of 10 MB that another program
// grew: what the window waits for, against the recent-files update made on
// the window's own thread; then that nothing in the store was lost.
void benchLargeStore(MainFrame &frame, const QString &folder) {
  class Answers : public SilentPrompts {
   public:
    std::optional<QString> fileName(QWidget *, const FileDialogRequest &) override { return next; }
    QString next;
  } answers;
  Prompts *previous = setPrompts(&answers);
  const QString storePath = folder + QStringLiteral("/VIZIvev.ini");
  QByteArray store("[Recent%20Files]\nRecentFile1=/a.txt\nRecentFile2=/b.txt\n[Other]\n");
  for (int k = 0; store.size() < 10 * 1000 * 1000; ++k)
    store += "key" + QByteArray::number(k) + "=a value another program keeps here " + QByteArray::number(k) + '\n';
  const int keys = int(store.count('\n')) - 4;
  QFile file(storePath);
  file.open(QIODevice::WriteOnly);
  file.write(store);
  file.close();
  const QString text = folder + QStringLiteral("/open.txt");
  QFile doc(text);
  doc.open(QIODevice::WriteOnly);
  doc.write(QByteArray(65000, 'x'));
  doc.close();
  std::vector<double> open, saveAs, background, inline_;
  for (int run = 0; run < 3; ++run) {
    answers.next = text;
    QElapsedTimer t;
    t.start();
    OpenDocumentCommand(documentsOf(frame));
    open.push_back(t.nsecsElapsed() / 1e6);
    t.restart();
    FinishRecentFilesUpdates();
    background.push_back(t.nsecsElapsed() / 1e6);
    answers.next = folder + QStringLiteral("/saved%1.txt").arg(run);
    t.restart();
    SaveAsCommand(*frame.activeDocument());
    saveAs.push_back(t.nsecsElapsed() / 1e6);
    FinishRecentFilesUpdates();
    // The update as it was made before, on the window's own thread.
    t.restart();
    {
      SettingsStore same;
      same.SaveSetting(QStringLiteral("Recent Files"), QStringLiteral("RecentFile1"), text);
    }
    inline_.push_back(t.nsecsElapsed() / 1e6);
  }
  row("Open, 10 MB settings store (the window waits)", median(open), "ms", "< 1000");
  row("Save As, 10 MB settings store (the window waits)", median(saveAs), "ms", "< 1000");
  row("  the store's update, on its own thread", median(background), "ms");
  row("  the same update on the window's thread", median(inline_), "ms");
  QSettings check(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VIZIvev"));
  check.beginGroup(QStringLiteral("Other"));
  row("  keys of another program kept in the store", check.childKeys().size(), "", qPrintable(QString::number(keys)));
  setPrompts(previous);
}

void benchReading(MainFrame &frame) {
  QString longLine;
  while (longLine.size() < 200000) longLine += QStringLiteral("lorem ipsum ");
  for (const int count : {1500, 15000}) {
    QString lines;
    while (lines.size() < count * 43) lines += QStringLiteral("lorem ipsum dolor sit amet consectetur adi\n");
    NewDocument(documentsOf(frame));
    EditControl *text = frame.activeText();
    text->setText(lines);
    QApplication::clipboard()->setText(longLine);
    PasteClipboard(text);
    text->undo();
    text->setSelStart(text->textLength() / 2);
    QCoreApplication::processEvents();
    QAccessibleTextInterface *reader = QAccessible::queryAccessibleInterface(text)->textInterface();
    int sum = 0;
    const double ms = medianMs(5, [&] {
      for (int i = 0; i < 1000; ++i) {
        int start = 0, end = 0;
        reader->selection(0, &start, &end);
        sum += reader->cursorPosition() + reader->characterCount() + start + end;
      }
    });
    row(qPrintable(QStringLiteral("1,000 reader queries, %1 lines, long paste undone").arg(count)), ms, "ms",
        sum ? "flat" : "");
    closeAll(frame);
  }
}

}  // namespace

int main(int argc, char *argv[]) {
  QTemporaryDir dir;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SilentPrompts silent;
  setPrompts(&silent);

  std::printf("| %-52s | %15s | %-12s |\n|---|---|---|\n", "figure", "value", "goal");

  const QStringList args = QCoreApplication::arguments();
  if (args.size() >= 3 && !args.contains(QStringLiteral("--typing"))) {
    // The two run in turn, so that whatever else the machine does weighs on both.
    ProbeRuns oursRuns, bareRuns, warm;
    runProbe(args.at(1), warm);  // warm the caches of both
    runProbe(args.at(2), warm);
    for (int i = 0; i < 21; ++i) {
      runProbe(args.at(1), oursRuns);
      runProbe(args.at(2), bareRuns);
    }
    const ProcessFigures ours = medians(oursRuns), bare = medians(bareRuns);
    row("start to frame painted, from exec, Quillora", ours.spawnToPaint, "ms");
    row("start to frame painted, from exec, bare Qt window", bare.spawnToPaint, "ms");
    row("  ratio", ours.spawnToPaint / qMax(0.001, bare.spawnToPaint), "x", "< 1.15");
    row("  of which from main(), Quillora", ours.painted, "ms");
    row("  of which from main(), bare Qt window", bare.painted, "ms");
    row("whole process start to exit, Quillora", ours.wall, "ms");
    row("whole process start to exit, bare Qt window", bare.wall, "ms");
    row("memory at first paint, Quillora", ours.rss, "MiB");
    row("memory at first paint, bare Qt window", bare.rss, "MiB");
  }
  if (args.size() >= 3 && !args.contains(QStringLiteral("--typing"))) {
    // Twenty different files of 65,000 bytes in some 1,500 lines, opened one
    // by one in a fresh process through the program's own load routine,
    // beside the bare window opening the same in plain-text editors.
    const QString docs = dir.filePath(QStringLiteral("documents"));
    QDir().mkpath(docs);
    for (int k = 0; k < 20; ++k) {
      QByteArray bytes;
      for (int line = 0; bytes.size() < 65000; ++line)
        bytes += QByteArray::number(k) + ' ' + QByteArray(38, char('a' + (line + k) % 26)) + "\r\n";
      bytes.truncate(65000);
      QFile file(QStringLiteral("%1/%2.txt").arg(docs).arg(k, 2, 10, QChar(u'0')));
      file.open(QIODevice::WriteOnly);
      file.write(bytes);
    }
    for (const auto &[who, program] : {std::pair{"Quillora", args.at(1)}, std::pair{"bare Qt window", args.at(2)}}) {
      std::vector<double> empty, perDocument;
      for (int run = 0; run < 3; ++run) {
        QProcess p;
        p.start(program, {QStringLiteral("--documents"), docs});
        p.waitForFinished(60000);
        const QList<QByteArray> f = p.readAllStandardOutput().trimmed().split(' ');
        if (f.size() < 3 || f[2].toDouble() <= 0) continue;
        empty.push_back(f[0].toDouble() / 1024);
        perDocument.push_back((f[1].toDouble() - f[0].toDouble()) / f[2].toDouble() / 1024);
      }
      row(qPrintable(QStringLiteral("fresh process after start-up, %1").arg(QLatin1String(who))), median(empty), "MiB");
      row(qPrintable(QStringLiteral("  per 65,000-byte document of 20, %1").arg(QLatin1String(who))),
          median(perDocument), "MiB", who == std::string_view("Quillora") ? "<= 0.5" : "");
    }
  }
  if (args.size() >= 4 && QGuiApplication::platformName() == QLatin1String("xcb")) {
    // When the window appears on the display, as another X client sees it.
    std::vector<double> ours, bare;
    auto mapped = [&args](const QString &program, std::vector<double> &into) {
      QProcess watch;
      watch.start(args.at(3), {program});
      watch.waitForFinished(30000);
      // The program's own output comes first; the time is the last line.
      const double ms = watch.readAllStandardOutput().trimmed().split('\n').last().toDouble();
      if (ms > 0) into.push_back(ms);
    };
    for (int i = 0; i < 21; ++i) {
      mapped(args.at(1), ours);
      mapped(args.at(2), bare);
    }
    const double oursMs = median(ours), bareMs = median(bare);
    row("start to frame mapped on the display, Quillora", oursMs, "ms");
    row("start to frame mapped on the display, bare window", bareMs, "ms");
    row("  ratio", oursMs / qMax(0.001, bareMs), "x", "< 1.15");
  }

  QElapsedTimer clock;
  clock.start();
  MainFrame frame;
  const double constructed = clock.nsecsElapsed() / 1e6;
  frame.startUp();
  QCoreApplication::processEvents();
  if (args.contains(QStringLiteral("--store"))) {
    benchLargeStore(frame, dir.path());
    setPrompts(nullptr);
    return 0;
  }
  if (args.contains(QStringLiteral("--typing"))) {
    benchReading(frame);
    benchTyping(frame);
    setPrompts(nullptr);
    return 0;
  }
  row("in process: frame constructed", constructed, "ms");
  row("in process: start-up sequence done", clock.nsecsElapsed() / 1e6, "ms");
  const double afterStart = residentKiB() / 1024.0;
  row("memory after start-up", afterStart, "MiB");
  row("installed font families", InstalledFontFamilies().size(), "");

  // New: time and memory per document window with its five menu trees.
  for (int i = 0; i < 5; ++i) NewDocument(documentsOf(frame));
  closeAll(frame);
  const long before = residentKiB();
  const double newMs = medianMs(
      100, [&] { NewDocument(documentsOf(frame)); }, [] { QCoreApplication::processEvents(); });
  const double perDoc = double(residentKiB() - before) / 100;
  row("New document (median)", newMs, "ms", "< 2 (3 fonts)");
  row("memory per document window", perDoc, "KiB", "< 400");
  row("memory with 100 empty documents", residentKiB() / 1024.0, "MiB");
  {
    const std::size_t heapBefore = mallinfo2().uordblks;
    NewDocument(documentsOf(frame));
    QCoreApplication::processEvents();
    DocumentWindow *last = frame.activeDocument();
    row("  heap per document window", double(mallinfo2().uordblks - heapBefore) / 1024, "KiB", "<= 150");
    // The same for a bare plain-text editor in a subwindow of its own area.
    QMdiArea area;
    area.resize(675, 400);
    area.show();
    area.addSubWindow(new QPlainTextEdit)->show();  // the first one warms Qt's caches
    QCoreApplication::processEvents();
    const std::size_t bareBefore = mallinfo2().uordblks;
    area.addSubWindow(new QPlainTextEdit)->show();
    QCoreApplication::processEvents();
    row("  heap per bare editor subwindow", double(mallinfo2().uordblks - bareBefore) / 1024, "KiB");
    row("  actions per document window", last->findChildren<QAction *>().size(), "");
    row("  menus per document window", last->findChildren<QMenu *>().size(), "");
    row("  widgets per document window", last->findChildren<QWidget *>().size() + 2, "");
  }

  {
    // The first opening of a Font menu makes its items, one per family.
    DocumentWindow *fresh = frame.activeDocument();
    QMenu *font = fresh->menus().action(English, "mnuFont")->menu();
    const std::size_t heapBefore = mallinfo2().uordblks;
    QElapsedTimer t;
    t.start();
    emit font->aboutToShow();
    row("first opening of a Font menu", t.nsecsElapsed() / 1e6, "ms");
    row("  heap of its items", double(mallinfo2().uordblks - heapBefore) / 1024, "KiB");
  }

  // A language switch of a document window.
  DocumentWindow *doc = frame.activeDocument();
  int language = English;
  const double switchMs = medianMs(200, [&] {
    const int next = language == English ? French : English;
    frame.runFrameCommand(doc->menus(), Command::Language, next, language);
    language = next;
  });
  row("language switch of a document (median)", switchMs, "ms", "< 1");
  // The first switch to a tree also makes its menu widgets.
  std::vector<double> firstSwitch;
  for (int i = 0; i < 20; ++i) {
    NewDocument(documentsOf(frame));
    DocumentWindow *fresh = frame.activeDocument();
    QElapsedTimer t;
    t.start();
    frame.runFrameCommand(fresh->menus(), Command::Language, German, English);
    firstSwitch.push_back(t.nsecsElapsed() / 1e6);
  }
  row("  first switch to a tree not shown before (median)", median(firstSwitch), "ms", "< 1");
  closeAll(frame);

  // Open and save a 65,000-byte file, beside a bare QPlainTextEdit load.
  QByteArray lines;
  while (lines.size() < 65000) lines += QByteArray(41, 'x') + "\r\n";
  lines.truncate(65000);
  QByteArray oneLine;
  while (oneLine.size() < 65000) oneLine += "lorem ipsum dolor sit amet ";
  oneLine.truncate(65000);
  const QByteArray oneWord(65000, 'y');
  for (const auto &[name, bytes] : {std::pair{"1,500 lines", lines}, std::pair{"one line of words", oneLine},
                                    std::pair{"one line, no blank", oneWord}}) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    const double openMs = medianMs(
        15,
        [&] {
          LoadDocumentFile(documentsOf(frame), path);
          QCoreApplication::processEvents();
        },
        [&] { closeAll(frame); });
    row(qPrintable(QStringLiteral("open 65,000 bytes, %1, until shown").arg(name)), openMs, "ms",
        bytes == lines ? "< 15" : "< 80");
    // The bare editor wraps as Quillora does for this text.
    const QString text = DecodeText(bytes).text;
    const double bareMs = medianMs(15, [&] {
      QPlainTextEdit edit;
      edit.resize(600, 400);
      if (bytes == oneWord) edit.setWordWrapMode(QTextOption::WrapAnywhere);
      edit.show();
      edit.setPlainText(text);
      QCoreApplication::processEvents();
    });
    row("  bare QPlainTextEdit load of the same, shown", bareMs, "ms");
    DocumentWindow *opened = LoadDocumentFile(documentsOf(frame), path);
    const QString target = dir.filePath("saved.txt");
    row(qPrintable(QStringLiteral("save 65,000 bytes, %1").arg(name)),
        medianMs(15, [&] { WriteDocumentFile(*opened, target); }), "ms", "< 5");
    SearchState state;
    state.FindText = QStringLiteral("not there");
    const QString whole = opened->Text1()->text();
    row(qPrintable(QStringLiteral("search 65,000 characters, %1, no match").arg(name)),
        medianMs(50, [&] { FindPosition(whole, 0, state); }), "ms", "< 1");
    closeAll(frame);
  }

  // Memory with 20 documents of 65,000 bytes.
  const QString path = dir.filePath("1,500 lines");
  for (int i = 0; i < 20; ++i) LoadDocumentFile(documentsOf(frame), path);
  QCoreApplication::processEvents();
  row("memory with 20 documents of 65,000 bytes", residentKiB() / 1024.0, "MiB");
  closeAll(frame);
  benchReading(frame);
  benchTyping(frame);

  setPrompts(nullptr);
  return 0;
}
