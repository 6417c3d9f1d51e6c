#include "ui/SvgoPathField.h"

#include "model/Settings.h"

SvgoPathField::SvgoPathField(QWidget *parent) : QLineEdit(parent) {
    setPlaceholderText(QStringLiteral("/opt/homebrew/bin/svgo"));
    setAccessibleName(tr("SVGO Executable Path"));
    setAccessibleDescription(tr("Path to a file"));

    // Nothing checks the path here; a wrong one shows when it is checked or an optimization fails.
    connect(this, &QLineEdit::textEdited, this,
            [](const QString &text) { Keys::svgoExecutablePath().set(text); });
    Defaults::observe<QString>(
        Keys::svgoExecutablePath(), this,
        [this](const QString &path) {
            // Setting the same text would move the cursor to the end while the user types.
            if (text() != path)
                setText(path);
        },
        Defaults::ObserveOption::Initial);
}
