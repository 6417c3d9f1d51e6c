#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QHBoxLayout;
class QMenu;
class QToolButton;

// The slim bar under a list: an add button, a remove button, optionally a "More" menu, and a free
// area to the right for whatever the list wants to say about itself. The bar only lays out the
// controls and calls the actions it is given.
class ListActions : public QWidget {
    Q_OBJECT

public:
    static constexpr int barHeight = 32;
    static constexpr int inset = 6;

    explicit ListActions(QWidget *parent = nullptr);
    ListActions(const QString &addButtonTitle, const QString &removeButtonTitle,
                QWidget *parent = nullptr);

    // The titles double as the buttons' tooltips and accessible names.
    QString addButtonTitle() const;
    void setAddButtonTitle(const QString &title);
    QString removeButtonTitle() const;
    void setRemoveButtonTitle(const QString &title);

    // Called on a press, in addition to the addTriggered/removeTriggered signals.
    void setAddAction(std::function<void()> action);
    void setRemoveAction(std::function<void()> action);

    bool isAddButtonDisabled() const;
    void setAddButtonDisabled(bool disabled);
    bool isRemoveButtonDisabled() const;
    void setRemoveButtonDisabled(bool disabled);

    // The menu behind the "More" button; nullptr (the default) shows no such button. The bar
    // does not take ownership of the menu.
    QMenu *moreActions() const;
    void setMoreActions(QMenu *menu);
    bool isMoreActionsDisabled() const;
    void setMoreActionsDisabled(bool disabled);

    // An outline around the whole bar; the line over its top edge is drawn either way.
    bool hasBorder() const;
    void setBorder(bool border);

    // Puts `widget` in the free area right of the buttons (replacing and deleting an earlier one).
    void setAccessoryWidget(QWidget *widget);
    QWidget *accessoryWidget() const;

    QToolButton *addButton() const;
    QToolButton *removeButton() const;
    QToolButton *moreButton() const;

    QSize sizeHint() const override;

signals:
    void addTriggered();
    void removeTriggered();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void restyle();

    QToolButton *m_add = nullptr;
    QToolButton *m_remove = nullptr;
    QToolButton *m_more = nullptr;
    QWidget *m_moreArea = nullptr;
    QHBoxLayout *m_accessoryLayout = nullptr;
    QPointer<QWidget> m_accessory;
    QPointer<QMenu> m_menu;
    std::function<void()> m_addAction;
    std::function<void()> m_removeAction;
    bool m_addDisabled = false;
    bool m_removeDisabled = false;
    bool m_moreDisabled = false;
    bool m_border = false;
};
