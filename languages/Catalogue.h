// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the five interface languages, as data: the menu trees of the
// frame and of the document window, described once here (MenuTrees turns a
// description into real menus wired to one routine per command), the Find
// dialog and the About box, and the fixed English texts the program's
// messages are built from. The messages that say in English only why a
// file, a print or a mail failed stand beside the code that meets the
// failure: documents/FileErrors.cpp, documents/Mail.cpp and the print
// module (documents/Printing.cpp, documents/PrintSession.cpp).

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace quillora {

// Language index: indexes every Languages submenu, CurrentLanguage and,
// plus one, the status-bar panel that shows the language's flag.
enum Language : int { English = 0, French = 1, Spanish = 2, German = 3, Italian = 4 };
inline constexpr int LanguageCount = 5;

enum class Command {
  None,
  New,
  Open,
  Close,
  Save,
  SaveAs,
  Print,
  SendMail,
  Exit,        // a document's Exit: the frame closes, asking about every document first
  EndProgram,  // the frame's Exit: the program ends at once
  Cut,
  Copy,
  Paste,
  Delete,
  SelectAll,
  TimeDate,
  Find,
  FindNext,
  Toolbar,
  Language,
  FontName,
  FontSize,
  Cascade,
  Tile,
  ArrangeIcons,
  About,
  RecentFile,
  SaveAskingName,  // the toolbar's Save: always asks for a name
  ShowFindDialog,  // the toolbar's Find: shows the dialog, taking nothing from the selection
};

// One menu item. A caption of "-" is a separator. Items of an indexed array
// share their name and carry their index.
struct ItemDef {
  const char *name = "";
  const char *caption = "";
  Command command = Command::None;
  int index = -1;
  const char *shortcut = nullptr;  // portable key text, e.g. "Ctrl+N"
  bool hidden = false;
  bool disabled = false;
  std::vector<ItemDef> items;          // a submenu when not empty
  const char *runtimeArray = nullptr;  // a submenu filled at run time (font names)
  bool checkable = false;

  bool isSeparator() const { return caption[0] == '-' && caption[1] == '\0'; }
  bool isMenu() const { return !items.empty() || runtimeArray != nullptr; }
};

// A top-level menu of a tree.
struct MenuDef {
  const char *name;
  const char *caption;
  std::vector<ItemDef> items;
  // The open document windows are listed below its items. (A menu that holds
  // a Toolbar item refreshes its check mark when it opens: see MenuTrees.)
  bool windowList = false;
};

struct TreeDef {
  int language;
  std::vector<MenuDef> menus;
};

using Trees = std::array<TreeDef, LanguageCount>;

const Trees &FrameTrees();
const Trees &DocumentTrees();

// The font sizes of the Font Size arrays, in points, by item index.
inline constexpr std::array<int, 5> FontSizes = {10, 12, 14, 18, 24};

struct FindTexts {
  const char *title;
  const char *prompt;
  const char *matchCase;
  const char *direction;  // nullptr: the frame's caption is left as it is
  const char *up;
  const char *down;
  const char *find;
  const char *cancel;
};
const FindTexts &FindDialogTexts(int language);

struct AboutTexts {
  const char *title;
  const char *version;
  const char *platform;
};
const AboutTexts &AboutBoxTexts(int language);

// A command's caption in a language's document tree, without access-key marks
// or trailing dots: the accessible name of a toolbar button.
QString CommandName(int language, Command command);

// The name of each language in its own tongue, for accessible names.
QString LanguageName(int language);

namespace text {
inline constexpr char Untitled[] = "Untitled";
inline constexpr char UntitledPrefix[] = "Untitled:";
inline constexpr char SaveAsProposal[] = "Untitled.txt";
inline constexpr char SaveQuestionProposal[] = "untitled.txt";
inline constexpr char FileTooLarge[] = "The file is too large to open.";
inline constexpr char CantOpenFile[] = "Can't open file: ";
inline constexpr char CantSaveFile[] = "Can't save file: ";
inline constexpr char TextChangedBefore[] = "The text in [";
inline constexpr char TextChangedAfter[] = "] has changed.";
inline constexpr char SaveChangesQuestion[] = "Do you want to save the changes?";
inline constexpr char CannotFind[] = "Cannot find ";
inline constexpr char FileFilter[] = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
inline constexpr char DefaultExtension[] = "TXT";
}  // namespace text

// The captions of the recent-file entries of the frame's English File menu:
// the entries keep their placeholders, since the list is never shown.
QStringList RecentEntryCaptions();

// The title of the mail error box from the tree of the given language.
QString MailErrorTitle(int language);

}  // namespace quillora
