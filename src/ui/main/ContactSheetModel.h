#pragma once

#include "model/SVGFileList.h"
#include "ui/main/ContactSheetDrawing.h"
#include "ui/main/WindowSession.h"

#include <QAbstractListModel>
#include <QHash>
#include <QPointer>

class ContactSheetDrawer;

// The files of one window as the contact sheet shows them: one item per row of the list, in its
// order, with the icon's drawing once it is there (asked for when the item is first painted).
class ContactSheetModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        // const IconDrawing * (as quintptr) of the kept drawing, 0 while it is being drawn; asking
        // for it asks for the drawing.
        DrawingRole = Qt::UserRole + 1,
        IdRole,
    };

    ContactSheetModel(SVGFileList *files, WindowSession *session, QObject *parent = nullptr);

    ContactSheetDrawer *drawer() const { return m_drawer; }
    SVGFileList *files() const { return m_files; }
    void setLook(const SheetLook &look);
    const SheetLook &look() const;

    // What the icon of `row` is drawn from.
    IconSource sourceOf(int row) const;
    // The key of `row`'s drawing in the drawer, for the current look.
    QString keyOf(int row) const;
    // The kept drawing of `row`, without asking for it; null when there is none.
    const IconDrawing *drawingOf(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QString toolTip(int row) const;
    void forgetSources(int first, int last);

    QPointer<SVGFileList> m_files;
    QPointer<WindowSession> m_session;
    ContactSheetDrawer *m_drawer;
    // Worked out when a row is first shown: which files it draws. A row's results or its file
    // changing forgets it, and a file refreshed on disk gets a new number, so its drawings are
    // not taken for the new ones.
    mutable QHash<QString, IconSource> m_sources;
    QHash<QString, int> m_refreshed;
};
