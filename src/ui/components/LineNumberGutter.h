#pragma once

#include <QWidget>

class TextView;

// The strip at the text view's leading edge that shows line numbers. It only hands its painting
// to the view, which knows where the visible lines are.
class LineNumberGutter : public QWidget {
    Q_OBJECT
public:
    explicit LineNumberGutter(TextView *view);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TextView *m_view;
};
