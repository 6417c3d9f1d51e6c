#include "SecurityScope.h"

bool startAccessing(const QUrl &) {
    return true;
}

void stopAccessing(const QUrl &) {}
