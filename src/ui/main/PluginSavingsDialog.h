#pragma once

#include "engine/PluginSavings.h"

#include <QDialog>

class QLabel;
class QTreeWidget;

// "Why Smaller?": what each plugin of svgo's configuration saved on one file, in the order svgo
// applies them, and which of them changed the drawing. Not modal; Esc closes it.
class PluginSavingsDialog : public QDialog {
    Q_OBJECT
public:
    // Starts at once with the svgo a run would use and the profile's configuration.
    PluginSavingsDialog(const QString &file, const Profile &profile, QWidget *parent = nullptr);

    // Shows the window for `file` that `parent` already has open, else a new one.
    static PluginSavingsDialog *showFor(const QString &file, const Profile &profile,
                                        QWidget *parent);

    QString file() const { return m_file; }
    PluginSavings *savings() const { return m_savings; }
    QTreeWidget *table() const { return m_table; }
    // The progress, the failure or the totals.
    QLabel *statusLabel() const { return m_status; }

    enum Column { Plugin, Saved, ChangedDrawing };

    // A step's name as the table shows it.
    static QString pluginText(const QString &plugin);

private:
    void showStage(PluginSavings::Stage stage);
    void showResult(const PluginSavingsResult &result);

    QString m_file;
    PluginSavings *m_savings;
    QLabel *m_status;
    QTreeWidget *m_table;
};
