#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

// The panels the profile editor opens to pick a file or folder. Each is window-modal to
// `parent`'s window and hands the chosen item to `onChosen` only when the system grants access
// to it; cancelling hands nothing.
void openOutputFolderPanel(QWidget *parent, const std::function<void(const QUrl &)> &onChosen);
void openConfigurationPanel(QWidget *parent, const std::function<void(const QUrl &)> &onChosen);
