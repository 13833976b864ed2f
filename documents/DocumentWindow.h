// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document window: one text in its edit control, the five menu trees,
// and the document's file identity (path, encoding, line-break style).

#include "documents/FileVersion.h"
#include "documents/TextCodec.h"
#include "languages/Catalogue.h"

#include <QWidget>

class QMdiSubWindow;
class QMenu;

namespace quillora {

class Documents;
class EditHost;
class EditControl;
class MenuTrees;

class DocumentWindow : public QWidget {
  Q_OBJECT
 public:
  DocumentWindow(Documents &documents, int number);
  ~DocumentWindow() override;

  // The document number, also kept as decimal text in the "tag" property.
  int number() const { return m_number; }
  EditControl *Text1() const { return m_text; }
  MenuTrees &menus() { return *m_menus; }
  Documents &documents() const { return m_documents; }
  EditHost &host() const;
  QMdiSubWindow *subWindow() const;

  QString caption() const { return windowTitle(); }
  void setCaption(const QString &caption) { setWindowTitle(caption); }
  // Untitled: the caption's first 8 characters are "Untitled".
  bool isUntitled() const;

  // The file the document was opened from or last saved to, exactly as named.
  QString path() const { return m_path; }
  void setPath(const QString &path) { m_path = path; }
  TextFormat &format() { return m_format; }
  // What the file was when the text was read from it or last written to it.
  const FileVersion &diskVersion() const { return m_diskVersion; }
  void setDiskVersion(const FileVersion &version) {
    m_diskVersion = version;
    m_toldVersion = {};
  }
  // The change on disk the user was last shown or told of: each is told once.
  const FileVersion &toldVersion() const { return m_toldVersion; }
  void setToldVersion(const FileVersion &version) { m_toldVersion = version; }

  // The document's Changed flag, kept in its slot of the document table.
  bool changed() const;
  void setChanged(bool changed);
  // The file went from under an unedited document: its text is now the
  // only copy, so the document counts as changed until the user edits it,
  // saves it, or the file comes back.
  void markChangedByDisk();
  bool changedOnlyByDisk() const { return m_changedOnlyByDisk; }

  // Closes the window, after the save question unless the close was approved.
  bool closeDocument();
  // The frame asked the save question already for this close.
  void approveClose() { m_closeApproved = true; }

  // The one routine of every menu item of the window's five trees; what acts
  // on the frame goes up as frameCommand.
  void runCommand(Command command, int index, int language);

 signals:
  // The text came to differ from the file, or no longer does.
  void changedFlipped(bool changed);
  // The text changed.
  void edited();
  void frameCommand(quillora::MenuTrees &trees, quillora::Command command, int index, int language);
  void optionsShown(quillora::MenuTrees &trees);

 protected:
  void closeEvent(QCloseEvent *event) override;

 private:
  void fillWindowList(QMenu *menu);

  Documents &m_documents;
  const int m_number;
  EditControl *m_text;
  MenuTrees *m_menus;
  QString m_path;
  TextFormat m_format;
  FileVersion m_diskVersion;
  FileVersion m_toldVersion;
  bool m_changedOnlyByDisk = false;
  bool m_closeApproved = false;
};

}  // namespace quillora
