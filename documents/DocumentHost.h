#pragma once
// What the document windows and the file, print and mail commands need of
// the window that holds them: the document tables, the MDI area they live
// in, the file dialog, the printer, the flags and toolbar they show, and the
// commands that act on the frame rather than on one document. The frame
// implements it; nothing here knows the frame.

#include "editing/EditHost.h"
#include "languages/Catalogue.h"

class QIcon;
class QMdiArea;

namespace quillora {

class DocumentTable;
class DocumentWindow;
class FileDialog;
class MenuTrees;
class PrintJob;

class DocumentHost : public EditHost {
 public:
  virtual DocumentTable &documents() = 0;
  virtual QMdiArea *mdiArea() const = 0;
  // The common file dialog, CMDialog1.
  virtual FileDialog &fileDialog() const = 0;
  virtual PrintJob &printer() const = 0;
  // The frame's own trees, whose English File menu holds the recent entries.
  virtual MenuTrees &menus() = 0;
  // Every document window shows the same icon, read once.
  virtual const QIcon &documentIcon() const = 0;

  // The document lifecycle.
  virtual void addDocumentWindow(DocumentWindow *window) = 0;
  virtual void showDocumentWindow(DocumentWindow *window) = 0;
  virtual void documentClosed(DocumentWindow &window) = 0;
  virtual void showDocumentButtons() = 0;
  // The flags show that language alone.
  virtual void showFlagOf(int language) = 0;
  // The Toolbar item of a window's trees takes the toolbar's visibility.
  virtual void refreshToolbarCheck(MenuTrees &trees) = 0;
  virtual void raiseFindDialog() = 0;

  // The commands of a document window's menus that act on the frame or on
  // every document: New, Open, Exit, Toolbar, a language, a recent entry,
  // Cascade, Tile and Arrange Icons.
  virtual void runFrameCommand(MenuTrees &trees, Command command, int index, int language) = 0;

 protected:
  ~DocumentHost() = default;
};

}  // namespace quillora
