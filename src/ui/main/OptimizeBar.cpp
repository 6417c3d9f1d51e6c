#include "ui/main/OptimizeBar.h"

#include "ui/components/AsyncButton.h"
#include "ui/main/RunProgress.h"

#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

OptimizeBar::OptimizeBar(QWidget *parent)
    : QWidget(parent), m_button(new AsyncButton(tr("Optimize"), this)),
      m_progress(new RunProgress(this)) {
    m_button->setObjectName(QStringLiteral("optimizeButton"));
    m_button->setProminent(true);
    m_button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_button->setMinimumHeight(m_button->sizeHint().height() + 8);

    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(m_button);
    layout->addWidget(m_progress);
}

void OptimizeBar::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    // Mostly the window colour, so the form scrolling behind still shows a little.
    QColor background = palette().color(QPalette::Window);
    background.setAlphaF(0.85);
    painter.fillRect(rect(), background);

    QColor divider = palette().color(QPalette::Mid);
    divider.setAlphaF(0.5);
    painter.setPen(divider);
    painter.drawLine(rect().topLeft(), rect().topRight());
}
