#pragma once

#include <QString>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QWidget;

// Building blocks of the grouped forms (profile editor): framed sections without headers and
// labelled rows.

// One framed group of the form, named so the section can be found again.
QFrame *formSection(const char *name, QWidget *parent);
// A control with its label in front, the control pushed to the right edge.
QWidget *formRow(const QString &label, QWidget *control, QWidget *parent);
QLineEdit *formTextField(const char *name, const QString &placeholder, QWidget *parent);
// Right-aligned secondary text, such as a chosen file's path.
QLabel *formDetailLabel(QWidget *parent);
// A short explanation under the controls it is about, wrapped to the form's width.
QLabel *formHintLabel(const QString &text, QWidget *parent);
// Shows the text unless the field already says it, so typing never loses the cursor.
void showTextUnlessEqual(QLineEdit *field, const QString &text);

// A section with a toggle and, below it, a "Prefix" and a "Suffix" field. Their prompts offer the
// example markup `prefixExample` … "</div>" as "e.g. …", so an empty field does not look filled
// in. The toggle is named `name` + "Toggle", the fields "prefix" and "suffix".
QWidget *formWrapSection(const char *name, const QString &toggleTitle, const QString &prefixExample,
                         QWidget *parent, QCheckBox *&toggle, QWidget *&fields, QLineEdit *&prefix,
                         QLineEdit *&suffix);
