#pragma once

#include <QObject>

// Menu commands reach the views that carry them out through these signals. A signal sent while
// no view is connected is simply lost, which is what the menus expect.
class CommandManager : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void saveAsDefaultProfile();
    void saveNewProfile();
};
