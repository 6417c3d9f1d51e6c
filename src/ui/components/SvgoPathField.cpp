#include "ui/components/SvgoPathField.h"

#include "engine/SvgoCheck.h"
#include "model/Settings.h"

SvgoPathField::SvgoPathField(QWidget *parent) : QLineEdit(parent) {
    setPlaceholderText(QStringLiteral("/usr/local/bin/svgo"));
    setAccessibleName(tr("SVGO Executable Path"));
    setAccessibleDescription(tr("Path to a file"));

    // Stored with `~/` expanded, since the optimizer runs the stored path as it is; the field
    // keeps showing what was typed.
    connect(this, &QLineEdit::textEdited, this, [](const QString &text) {
        Keys::svgoExecutablePath().set(SvgoCheck::expandedPath(text));
    });
    Defaults::observe<QString>(
        Keys::svgoExecutablePath(), this,
        [this](const QString &path) {
            // Setting the same text would move the cursor to the end while the user types.
            if (SvgoCheck::expandedPath(text()) != path)
                setText(path);
        },
        Defaults::ObserveOption::Initial);
}
