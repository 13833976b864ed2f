// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/EditControlAccessible.h"

#include "editing/EditControl.h"

#include <QAccessibleWidget>
#include <QTextBlock>

namespace quillora {
namespace {

class EditControlInterface : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
 public:
  explicit EditControlInterface(EditControl *control)
      : QAccessibleWidget(control, QAccessible::EditableText), m_control(control) {}

  void *interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.selectableText = true;
    s.multiLine = true;
    s.readOnly = m_control->isReadOnly();
    s.editable = !m_control->isReadOnly();
    return s;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return text(0, characterCount());
    return QAccessibleWidget::text(t);
  }

  // ---- the text ----
  QString text(int startOffset, int endOffset) const override {
    return m_control->plainText(qtPosition(startOffset), qtPosition(endOffset));
  }
  int characterCount() const override { return offset(m_control->document()->characterCount() - 1); }
  int cursorPosition() const override { return offset(m_control->textCursor().position()); }
  void setCursorPosition(int position) override { setSelection(0, position, position); }

  void selection(int selectionIndex, int *startOffset, int *endOffset) const override {
    *startOffset = *endOffset = 0;
    const QTextCursor c = m_control->textCursor();
    if (selectionIndex != 0 || !c.hasSelection()) return;
    *startOffset = offset(c.selectionStart());
    *endOffset = offset(c.selectionEnd());
  }
  int selectionCount() const override { return m_control->textCursor().hasSelection() ? 1 : 0; }
  void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
  void removeSelection(int selectionIndex) override {
    if (selectionIndex != 0) return;
    QTextCursor c = m_control->textCursor();
    c.clearSelection();
    m_control->setTextCursor(c);
  }
  void setSelection(int selectionIndex, int startOffset, int endOffset) override {
    if (selectionIndex != 0) return;
    QTextCursor c = m_control->textCursor();
    c.setPosition(qtPosition(startOffset));
    c.setPosition(qtPosition(endOffset), QTextCursor::KeepAnchor);
    m_control->setTextCursor(c);
  }

  QRect characterRect(int characterOffset) const override {
    QTextCursor c(m_control->document());
    c.setPosition(qtPosition(characterOffset));
    QRect r = m_control->cursorRect(c);
    const QString character = text(characterOffset, characterOffset + 1);
    r.setWidth(
        QFontMetrics(m_control->font()).horizontalAdvance(character.isEmpty() ? QStringLiteral(" ") : character));
    r.moveTo(m_control->viewport()->mapToGlobal(r.topLeft()));
    return r;
  }
  int offsetAtPoint(const QPoint &point) const override {
    const QPoint local = m_control->viewport()->mapFromGlobal(point);
    if (!m_control->viewport()->rect().contains(local)) return -1;
    return offset(m_control->cursorForPosition(local).position());
  }
  // As with Qt's own plain text box: nothing is scrolled for a reader.
  void scrollToSubstring(int, int) override {}
  QString attributes(int characterOffset, int *startOffset, int *endOffset) const override {
    // One font for the whole text, told as Qt's own plain text box tells it.
    *startOffset = 0;
    *endOffset = characterCount();
    Q_UNUSED(characterOffset);
    const QFont font = m_control->font();
    QString family = font.families().value(0, font.family());
    for (const QChar special : {u'\\', u':', u',', u'=', u';', u'"'}) family.replace(special, QString(u'\\') + special);
    const QFont::Style style = font.style();
    return QStringLiteral(
               "font-family:\"%1\";font-size:%2pt;font-weight:%3;font-style:%4;"
               "text-position:baseline;text-align:left;")
        .arg(family)
        .arg(font.pointSize())
        .arg(QLatin1String(font.weight() > QFont::Normal ? "bold" : "normal"))
        .arg(QLatin1String(style == QFont::StyleItalic    ? "italic"
                           : style == QFont::StyleOblique ? "oblique"
                                                          : "normal"));
  }

  // ---- editing ----
  void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
  void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
  void replaceText(int startOffset, int endOffset, const QString &text) override {
    if (m_control->isReadOnly()) return;
    m_control->replaceRange(qtPosition(startOffset), qtPosition(endOffset), text);
  }

 private:
  int offset(int qtPosition) const { return int(m_control->plainOffsetOf(qtPosition)); }
  int qtPosition(int offset) const {
    if (offset < 0) offset = characterCount();  // -1 is the end of the text
    return m_control->positionOfPlainOffset(offset);
  }

  EditControl *m_control;
};

}  // namespace

QAccessibleInterface *AccessibleEditControl(const QString &className, QObject *object) {
  if (className == QLatin1String(EditControl::staticMetaObject.className()) && object && object->isWidgetType())
    return new EditControlInterface(static_cast<EditControl *>(object));
  return nullptr;
}

}  // namespace quillora
