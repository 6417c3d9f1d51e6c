#include "platform/Updater.h"

#include "platform/AppcastUpdater.h"

// No build carries the macOS update framework yet, so every platform reads the appcast itself.
Updater *Updater::create(QObject *parent) {
    return new AppcastUpdater(parent);
}
