#pragma once

#include <QWidget>

class AsyncButton;
class RunProgress;

// The foot of the inspector: one wide "Optimize" button on a see-through background, set off
// from the form above it by a faint line. While a run lasts, its progress and a "Cancel" button
// show under the button.
class OptimizeBar : public QWidget {
    Q_OBJECT
public:
    explicit OptimizeBar(QWidget *parent = nullptr);

    AsyncButton *button() const { return m_button; }
    RunProgress *progress() const { return m_progress; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    AsyncButton *m_button;
    RunProgress *m_progress;
};
