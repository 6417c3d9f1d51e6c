#include "ListActions.h"

#include "ListActionButtonStyle.h"
#include "platform/SymbolIcons.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

namespace {

// The platform's separator colour: the text colour, very faint.
QColor separatorColor(const QPalette &palette) {
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(0.18f);
    return color;
}

} // namespace

ListActions::ListActions(QWidget *parent) : ListActions(QString(), QString(), parent) {}

ListActions::ListActions(const QString &addButtonTitle, const QString &removeButtonTitle,
                         QWidget *parent)
    : QWidget(parent), m_add(new QToolButton(this)), m_remove(new QToolButton(this)),
      m_more(new QToolButton), m_moreArea(new QWidget(this)) {
    setFixedHeight(barHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The 1-point gaps after each button are where paintEvent draws the dividers.
    layout->addWidget(m_add);
    layout->addSpacing(1);
    layout->addWidget(m_remove);
    layout->addSpacing(1);

    auto *moreLayout = new QHBoxLayout(m_moreArea);
    moreLayout->setContentsMargins(inset, 0, inset, 0);
    moreLayout->addWidget(m_more);
    m_more->setParent(m_moreArea);
    m_more->setText(tr("More"));
    m_more->setToolTip(tr("More"));
    m_more->setAccessibleName(tr("More"));
    m_more->setPopupMode(QToolButton::InstantPopup);
    m_more->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_more->setAutoRaise(true);
    // Wide enough that the menu arrow sits beside the symbol rather than on it.
    m_more->setFixedSize(30, barHeight - 2 * inset);
    m_moreArea->hide();
    layout->addWidget(m_moreArea);

    auto *accessoryArea = new QWidget(this);
    m_accessoryLayout = new QHBoxLayout(accessoryArea);
    m_accessoryLayout->setContentsMargins(inset, 0, inset, 0);
    layout->addWidget(accessoryArea, 1);

    connect(m_add, &QToolButton::clicked, this, [this] {
        if (m_addAction)
            m_addAction();
        emit addTriggered();
    });
    connect(m_remove, &QToolButton::clicked, this, [this] {
        if (m_removeAction)
            m_removeAction();
        emit removeTriggered();
    });

    setAddButtonTitle(addButtonTitle);
    setRemoveButtonTitle(removeButtonTitle);
    restyle();
}

QString ListActions::addButtonTitle() const {
    return m_add->text();
}

void ListActions::setAddButtonTitle(const QString &title) {
    m_add->setText(title);
    m_add->setToolTip(title);
    m_add->setAccessibleName(title);
}

QString ListActions::removeButtonTitle() const {
    return m_remove->text();
}

void ListActions::setRemoveButtonTitle(const QString &title) {
    m_remove->setText(title);
    m_remove->setToolTip(title);
    m_remove->setAccessibleName(title);
}

void ListActions::setAddAction(std::function<void()> action) {
    m_addAction = std::move(action);
}

void ListActions::setRemoveAction(std::function<void()> action) {
    m_removeAction = std::move(action);
}

bool ListActions::isAddButtonDisabled() const {
    return m_addDisabled;
}

void ListActions::setAddButtonDisabled(bool disabled) {
    m_addDisabled = disabled;
    restyle();
}

bool ListActions::isRemoveButtonDisabled() const {
    return m_removeDisabled;
}

void ListActions::setRemoveButtonDisabled(bool disabled) {
    m_removeDisabled = disabled;
    restyle();
}

QMenu *ListActions::moreActions() const {
    return m_menu;
}

void ListActions::setMoreActions(QMenu *menu) {
    m_menu = menu;
    m_more->setMenu(menu);
    m_moreArea->setVisible(menu != nullptr);
}

bool ListActions::isMoreActionsDisabled() const {
    return m_moreDisabled;
}

void ListActions::setMoreActionsDisabled(bool disabled) {
    m_moreDisabled = disabled;
    restyle();
}

bool ListActions::hasBorder() const {
    return m_border;
}

void ListActions::setBorder(bool border) {
    m_border = border;
    update();
}

void ListActions::setAccessoryWidget(QWidget *widget) {
    if (m_accessory == widget)
        return;
    delete m_accessory;
    m_accessory = widget;
    if (widget)
        m_accessoryLayout->addWidget(widget);
}

QWidget *ListActions::accessoryWidget() const {
    return m_accessory;
}

QToolButton *ListActions::addButton() const {
    return m_add;
}

QToolButton *ListActions::removeButton() const {
    return m_remove;
}

QToolButton *ListActions::moreButton() const {
    return m_more;
}

QSize ListActions::sizeHint() const {
    return {QWidget::sizeHint().width(), barHeight};
}

void ListActions::restyle() {
    ListActionButtonStyle(m_addDisabled).apply(m_add, symbolIcon(QStringLiteral("plus")));
    ListActionButtonStyle(m_removeDisabled).apply(m_remove, symbolIcon(QStringLiteral("minus")));
    // The menu button is no list action button, but it shares the muted colours.
    m_more->setIcon(ListActionButtonStyle::tinted(symbolIcon(QStringLiteral("ellipsis.circle")),
                                                  palette(), m_moreDisabled));
    m_more->setEnabled(!m_moreDisabled);
}

void ListActions::changeEvent(QEvent *event) {
    if (event->type() == QEvent::PaletteChange)
        restyle();
    QWidget::changeEvent(event);
}

void ListActions::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QColor separator = separatorColor(palette());
    for (const QWidget *button : {static_cast<QWidget *>(m_add), static_cast<QWidget *>(m_remove)})
        painter.fillRect(QRect(button->geometry().right() + 1, inset, 1, height() - 2 * inset),
                         separator);
    painter.fillRect(QRect(0, 0, width(), 1), separator);
    if (m_border) {
        painter.setPen(separator);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
