#pragma once

#include <QSpacerItem>

// Fixed empty room between groups of settings, in steps of the tabs' 16-point spacing unit.
// It never grows or shrinks, so the rhythm of the form stays the same at any window size.
class SettingsSpacer : public QSpacerItem {
public:
    static constexpr int unit = 16;

    explicit SettingsSpacer(qreal multiply, Qt::Orientation orientation = Qt::Vertical)
        : QSpacerItem(orientation == Qt::Horizontal ? length(multiply) : 0,
                      orientation == Qt::Vertical ? length(multiply) : 0, QSizePolicy::Fixed,
                      QSizePolicy::Fixed) {}

    static int length(qreal multiply) { return qRound(multiply * unit); }
};
