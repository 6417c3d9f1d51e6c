#pragma once

#include <QWidget>

class AsyncButton;

// The foot of the inspector: one wide "Optimize" button on a see-through background, set off
// from the form above it by a faint line.
class OptimizeBar : public QWidget {
    Q_OBJECT
public:
    explicit OptimizeBar(QWidget *parent = nullptr);

    AsyncButton *button() const { return m_button; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    AsyncButton *m_button;
};
