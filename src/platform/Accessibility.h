#pragma once

#include <QString>

class QWidget;

// Asks assistive technologies (screen readers) to speak `message` on behalf of `source`.
void announce(QWidget *source, const QString &message);
