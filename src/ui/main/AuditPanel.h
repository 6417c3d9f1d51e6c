#pragma once

#include "engine/SetAudit.h"
#include "model/Profile.h"

#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>

#include <functional>

class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class SVGFileList;
class WindowSession;

// A collapsible list of what the window's files show as a set (see SetAudit): after files are
// added or removed and after each run, read and audited on a worker. Each finding names its
// files; choosing a finding selects them in the table, choosing a file selects that one.
class AuditPanel : public QWidget {
    Q_OBJECT
public:
    AuditPanel(SVGFileList *files, WindowSession *session, QWidget *parent = nullptr);
    ~AuditPanel() override;

    // The profile a fix would change.
    void setProfile(const Profile &profile);

    QTreeWidget *findingsView() const { return m_view; }
    QPushButton *fixButton() const { return m_fix; }
    QToolButton *header() const { return m_header; }
    const QList<SetAudit::Finding> &findings() const { return m_findings; }

signals:
    // The findings shown have been brought up to date.
    void audited();
    // The fix offered for the chosen finding was pressed: the profile option that mends it.
    void fixRequested(const std::function<void(Profile &)> &change);

private:
    void scheduleAudit();
    void startAudit();
    void showFindings(const QList<SetAudit::Finding> &findings);
    void select(QTreeWidgetItem *item);
    void updateFix();

    SVGFileList *m_files;
    WindowSession *m_session;
    QToolButton *m_header;
    QTreeWidget *m_view;
    QPushButton *m_fix;
    Profile m_profile;
    QTimer m_delay; // gathers the changes of one drop or one run into one audit
    QFutureWatcher<QList<SetAudit::Finding>> m_watcher;
    bool m_again = false; // a change came in while an audit was running
    QList<SetAudit::Finding> m_findings;
};
