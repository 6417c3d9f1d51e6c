#pragma once

#include <QWidget>

class QButtonGroup;
class QAbstractButton;

// A row of joined toggle buttons of which exactly one is on, for choosing among a few cases.
class SegmentedPicker : public QWidget {
    Q_OBJECT
public:
    explicit SegmentedPicker(const QString &accessibleName, QWidget *parent = nullptr);

    void addSegment(const QString &title, int id);
    int current() const;
    void setCurrent(int id);
    QAbstractButton *segment(int id) const;

signals:
    // The user chose a segment.
    void activated(int id);

private:
    QButtonGroup *m_group;
};
