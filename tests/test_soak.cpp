// SPDX-License-Identifier: GPL-3.0-or-later
// A seeded random walk through the program: menu commands of every tree,
// toolbar clicks, typing, closing, switching languages, with every question
// answered at random. After each step the windows, the tables, the toolbar,
// the menus, the texts and the files on disk must agree with a shadow model.
// QUILLORA_SOAK_STEPS and QUILLORA_SOAK_SEED choose the walk.

#include "TestSupport.h"
#include "app/Toolbar.h"
#include "documents/DocumentWindow.h"
#include "editing/EditControl.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMdiArea>
#include <QMenu>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <array>
#include <map>

using namespace quillora;
using namespace quillora::test;

namespace {

// The name of the item that runs a command in one tree, as the catalogue gives it.
const char *findItem(const std::vector<ItemDef> &items, Command command) {
  for (const ItemDef &item : items) {
    if (item.command == command && !item.isMenu()) return item.name;
    if (const char *found = findItem(item.items, command)) return found;
  }
  return nullptr;
}

QString itemName(const Trees &trees, Command command, int language) {
  for (const MenuDef &menu : trees.at(std::size_t(language)).menus)
    if (const char *name = findItem(menu.items, command)) return QString::fromLatin1(name);
  return {};
}

class Walk : public Prompts {
 public:
  explicit Walk(quint32 seed) : random(seed), m_previous(setPrompts(this)) {}
  ~Walk() override { setPrompts(m_previous == this ? nullptr : m_previous); }

  int messageBox(QWidget *, const QString &text, int code, const QString &) override {
    log.append("  box: " + text.left(40));
    if ((code & 0x0f) == msg::YesNo) return lastAnswer = random.bounded(2) ? msg::Yes : msg::No;
    if ((code & 0x0f) != msg::YesNoCancel) return msg::Ok;
    const int answers[] = {msg::Yes, msg::No, msg::Cancel};
    return lastAnswer = answers[random.bounded(3)];
  }
  std::optional<QString> fileName(QWidget *, const FileDialogRequest &request) override {
    if (random.bounded(4) == 0) return lastFile = std::nullopt;  // cancelled
    if (!request.save && !saved.empty()) {
      auto it = saved.begin();
      std::advance(it, random.bounded(int(saved.size())));
      return lastFile = it->first;
    }
    return lastFile = dir.filePath(QStringLiteral("f%1.txt").arg(random.bounded(6)));
  }

  QRandomGenerator random;
  QTemporaryDir dir;
  std::map<QString, QByteArray> saved;  // path → the bytes it must hold
  QStringList log;
  int lastAnswer = 0;
  std::optional<QString> lastFile;

 private:
  Prompts *m_previous;
};

int shownLanguage(MenuTrees &trees) { return trees.shownLanguage(); }

}  // namespace

class SoakTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { IsolateSettings(); }

  void randomWalk() {
    const int steps = qEnvironmentVariableIntValue("QUILLORA_SOAK_STEPS") > 0
                          ? qEnvironmentVariableIntValue("QUILLORA_SOAK_STEPS")
                          : 1000;
    const quint32 seed = qEnvironmentVariableIsSet("QUILLORA_SOAK_SEED")
                             ? quint32(qEnvironmentVariableIntValue("QUILLORA_SOAK_SEED"))
                             : 20261208u;
    MainFrame frame;
    int ended = 0;
    QObject::connect(&frame, &MainFrame::programEnds, [&] { ++ended; });
    Walk walk(seed);
    frame.startUp();
    std::map<DocumentWindow *, QString> shadow;  // each window's text
    shadow[frame.activeDocument()] = QString();
    bool noDocumentsOpen = false;
    QString clipboard;
    QApplication::clipboard()->clear();

    auto fail = [&](const QString &why) {
      QString report = QStringLiteral("seed %1: %2\nlast steps:\n").arg(seed).arg(why);
      for (const QString &line : walk.log.mid(qMax(0, int(walk.log.size()) - 25))) report += line + '\n';
      QFAIL(qPrintable(report));
    };

    for (int step = 0; step < steps; ++step) {
      // What every file and every text was before the step: a file the step
      // writes must hold one of those texts and the appended line break.
      std::map<QString, QByteArray> filesBefore;
      for (const QString &name : QDir(walk.dir.path()).entryList(QDir::Files))
        filesBefore[walk.dir.filePath(name)] = ReadFile(walk.dir.filePath(name));
      QSet<QByteArray> writable;
      for (const auto &[w, text] : shadow) writable.insert(text.toUtf8() + "\r\n");
      DocumentWindow *doc = frame.activeDocument();
      const int action = int(walk.random.bounded(14));
      walk.log.append(QStringLiteral("%1: action %2 on %3").arg(step).arg(action).arg(doc ? doc->caption() : "frame"));
      if (!doc) {
        // The frame's own menus: New, Open, a language, the toolbar.
        const int language = shownLanguage(TreesOf(&frame));
        switch (action % 4) {
          case 0: Trigger(&frame, itemName(FrameTrees(), Command::New, language)); break;
          case 1: Trigger(&frame, itemName(FrameTrees(), Command::Open, language)); break;
          case 2: {
            int k = int(walk.random.bounded(5));
            if (k == language) k = (k + 1) % 5;
            Trigger(&frame, itemName(FrameTrees(), Command::Language, language), k);
            break;
          }
          case 3: Trigger(&frame, itemName(FrameTrees(), Command::Toolbar, language)); break;
        }
      } else {
        const int language = shownLanguage(doc->menus());
        EditControl *e = doc->Text1();
        auto trigger = [&](Command command, int index = -1) {
          Trigger(doc, itemName(DocumentTrees(), command, language), index);
        };
        const bool wasChanged = doc->changed();
        switch (action) {
          case 0: trigger(Command::New); break;
          case 1: trigger(Command::Open); break;
          case 2:
          case 3: {  // typing at the end
            const QString typed = QStringLiteral("w%1 ").arg(step);
            e->setFocus();
            e->setSelStart(e->textLength());
            QTest::keyClicks(e, typed);
            shadow[doc] += typed;
            break;
          }
          case 4:
            e->setSelStart(e->textLength());
            QTest::keyClick(e, Qt::Key_Return);
            shadow[doc] += "\r\n";
            break;
          case 5:  // select all and cut
            trigger(Command::SelectAll);
            trigger(Command::Cut);
            clipboard = shadow[doc];
            shadow[doc].clear();
            break;
          case 6:  // paste at the end
            e->setSelStart(e->textLength());
            trigger(Command::Paste);
            shadow[doc] += clipboard;
            break;
          case 7:
          case 8: trigger(Command::Close); break;
          case 9: trigger(walk.random.bounded(2) ? Command::SaveAs : Command::Save); break;
          case 10: {
            int k = int(walk.random.bounded(5));
            if (k == language) k = (k + 1) % 5;
            trigger(Command::Language, k);
            break;
          }
          case 11:
            trigger(std::array{Command::Tile, Command::Cascade, Command::ArrangeIcons, Command::Toolbar}.at(
                walk.random.bounded(4)));
            break;
          case 12: {  // toolbar buttons
            const char *buttons[] = {"imgFileNewButton", "imgCopyButton", "imgPasteButton"};
            const int b = int(walk.random.bounded(3));
            if (b == 2) {
              e->setSelStart(e->textLength());
              shadow[doc] += clipboard;
            }
            if (b == 1) clipboard = e->selText();
            QTest::mouseClick(ToolbarOf(frame).button(buttons[b]), Qt::LeftButton);
            break;
          }
          case 13: {  // closing the frame, every question cancelled or refused
            frame.close();
            if (ended) {
              // Everything closed and the program ended: start over.
              QVERIFY(frame.documentWindows().isEmpty());
              ended = 0;
            }
            break;
          }
        }
        Q_UNUSED(wasChanged);
      }
      QCoreApplication::processEvents();

      // New windows take their text from nothing or from the file they opened.
      const QList<DocumentWindow *> windows = frame.documentWindows();
      std::map<DocumentWindow *, QString> next;
      for (DocumentWindow *w : windows) {
        auto known = shadow.find(w);
        if (known != shadow.end()) {
          next[w] = known->second;
        } else if (w->isUntitled()) {
          next[w] = QString();
        } else {
          const QByteArray bytes = walk.saved.count(w->path()) ? walk.saved[w->path()] : ReadFile(w->path());
          next[w] = QString::fromUtf8(bytes);
        }
      }
      shadow = next;
      for (const QString &name : QDir(walk.dir.path()).entryList(QDir::Files)) {
        const QString path = walk.dir.filePath(name);
        const QByteArray bytes = ReadFile(path);
        if (filesBefore.count(path) && filesBefore[path] == bytes) continue;
        if (!writable.contains(bytes)) fail(QStringLiteral("%1 was written with bytes no document held").arg(name));
        walk.saved[path] = bytes;
      }
      if (!windows.isEmpty() || DocumentsOf(frame).noDocumentsOpen())
        noDocumentsOpen = DocumentsOf(frame).noDocumentsOpen();

      // The tables agree with the windows on screen.
      Documents &table = DocumentsOf(frame);
      int open = 0;
      for (int i = 1; i <= table.upperBound(); ++i) {
        const bool hasWindow = table.window(i) && windows.contains(table.window(i));
        if (table.state(i).Closed == hasWindow) fail(QStringLiteral("slot %1 disagrees with the windows").arg(i));
        open += !table.state(i).Closed;
      }
      if (open != windows.size()) fail("open slots and windows differ in number");
      if (table.AnyDocumentOpen() == windows.isEmpty()) fail("AnyDocumentOpen is wrong");
      // No document button shows while no document is open.
      const bool buttons = !ToolbarOf(frame).button("imgCutButton")->isHidden();
      if (buttons != !windows.isEmpty()) fail("the document buttons do not follow the documents");
      if (windows.isEmpty() && !table.noDocumentsOpen()) fail("NoDocumentsOpen is not set with no document");
      // Exactly one tree of each window is shown.
      QList<MenuTrees *> trees = {&TreesOf(&frame)};
      for (DocumentWindow *w : windows) trees.append(&w->menus());
      for (MenuTrees *t : trees) {
        int shownTrees = 0;
        for (int l = 0; l < LanguageCount; ++l) shownTrees += t->topItems(l).first()->isVisible();
        if (shownTrees != 1) fail("a window shows other than one tree");
      }
      // Every text equals the model, and every file holds what was saved. A
      // document unchanged since it was read shows its file's text, which
      // another window may have saved meanwhile.
      for (DocumentWindow *w : windows) {
        if (w->Text1()->text() != shadow[w] && !w->changed() && !w->isUntitled() &&
            w->Text1()->text() == QString::fromUtf8(ReadFile(w->path())))
          shadow[w] = w->Text1()->text();
        if (w->Text1()->text() != shadow[w])
          fail(QStringLiteral("the text of %1 is \"%2\", expected \"%3\"")
                   .arg(w->caption(), w->Text1()->text().left(60), shadow[w].left(60)));
      }
      for (const auto &[path, bytes] : walk.saved)
        if (ReadFile(path) != bytes) fail(QStringLiteral("%1 does not hold what was saved").arg(path));
      if (QTest::currentTestFailed()) return;
    }
    Q_UNUSED(noDocumentsOpen);
    QVERIFY2(!walk.saved.empty(), "the walk never saved a file");
  }
};

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
