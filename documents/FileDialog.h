// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame's one file dialog, CMDialog1: a file name, a filter in the
// "Name|pattern|Name|pattern" form, a default extension, and the folder last
// used in it (the user's home folder at first).

#include <QObject>
#include <QString>

class QWidget;

namespace quillora {

class FileDialog : public QObject {
  Q_OBJECT
 public:
  explicit FileDialog(QWidget *owner);

  QString FileName;
  QString Filter;
  QString DefaultExt;

  // Show the Open or the Save dialog; false when the user cancelled (32755).
  bool ShowOpen();
  bool ShowSave();

 private:
  bool show(bool save);
  QWidget *m_owner;
  QString m_folder;
};

}  // namespace quillora
