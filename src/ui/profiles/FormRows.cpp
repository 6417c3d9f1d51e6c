#include "ui/profiles/FormRows.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

QFrame *formSection(const char *name, QWidget *parent) {
    auto *frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(frame);
    layout->setSpacing(8);
    return frame;
}

QWidget *formRow(const QString &label, QWidget *control, QWidget *parent) {
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *text = new QLabel(label, row);
    text->setBuddy(control);
    layout->addWidget(text);
    layout->addStretch(1);
    layout->addWidget(control, 2);
    control->setAccessibleName(label);
    return row;
}

QLineEdit *formTextField(const char *name, const QString &placeholder, QWidget *parent) {
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setPlaceholderText(placeholder);
    return field;
}

QLabel *formDetailLabel(QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QLabel *formHintLabel(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

void showTextUnlessEqual(QLineEdit *field, const QString &text) {
    if (field->text() != text)
        field->setText(text);
}

QWidget *formWrapSection(const char *name, const QString &toggleTitle, const QString &prefixExample,
                         QWidget *parent, QCheckBox *&toggle, QWidget *&fields, QLineEdit *&prefix,
                         QLineEdit *&suffix) {
    QFrame *frame = formSection(name, parent);
    toggle = new QCheckBox(toggleTitle, frame);
    toggle->setObjectName(QLatin1String(name) + QStringLiteral("Toggle"));
    frame->layout()->addWidget(toggle);
    fields = new QWidget(frame);
    auto *layout = new QVBoxLayout(fields);
    layout->setContentsMargins(0, 0, 0, 0);
    // A bare "</div>" in grey reads like a value that is already there, yet nothing is wrapped
    // until the user types one.
    const auto example = [](const QString &markup) {
        return QCoreApplication::translate("ProfileEditor", "e.g. %1").arg(markup);
    };
    prefix = formTextField("prefix", example(prefixExample), fields);
    suffix = formTextField("suffix", example(QStringLiteral("</div>")), fields);
    layout->addWidget(
        formRow(QCoreApplication::translate("ProfileEditor", "Prefix"), prefix, fields));
    layout->addWidget(
        formRow(QCoreApplication::translate("ProfileEditor", "Suffix"), suffix, fields));
    frame->layout()->addWidget(fields);
    return frame;
}
