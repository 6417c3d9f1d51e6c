#pragma once

#include "ui/main/ContactSheetDrawing.h"

#include <QFileDialog>
#include <QPointer>
#include <QWidget>

#include <algorithm>

class ContactSheetModel;
class QComboBox;

class QLabel;
class QListView;
class QPushButton;
class SVGFileList;
class WindowSession;

// The whole file list of a main window as a grid of icons at the size icons are used, on a light,
// dark or checkerboard background, with currentColor standing for a chosen tint: the way a
// designer checks a set by eye. Icons that hardly show on the background, and icons whose
// optimized drawing differs from the original at this size, carry a mark that says why in their
// tooltip. The selection is the list's: choosing icons here selects their rows in the table.
//
// The icons are drawn on the render pool as they come into view and kept for when they are shown
// again, so ten thousand icons scroll as freely as ten; the window's thread never draws an SVG.
class ContactSheet : public QWidget {
    Q_OBJECT
public:
    static constexpr int sizes[] = {16, 24, 32, 48};

    ContactSheet(SVGFileList *files, WindowSession *session, QWidget *parent = nullptr);
    ~ContactSheet() override;

    // The square one icon takes in the grid (and in the exported picture), margin included.
    static int cellSide(int iconSide) { return iconSide + 2 * std::max(10, iconSide / 3); }

    QListView *view() const { return m_view; }
    ContactSheetModel *model() const { return m_model; }
    QComboBox *sizeBox() const { return m_size; }
    QComboBox *backgroundBox() const { return m_background; }
    QComboBox *tintBox() const { return m_tint; }
    QComboBox *versionBox() const { return m_version; }
    QPushButton *exportButton() const { return m_export; }
    // The export's file dialog while it is shown, else null.
    QFileDialog *exportPanel() const { return m_exportPanel; }
    SheetLook look() const;
    // How many icons one row of the grid (and of the export) holds.
    int columns() const;

    QSize sizeHint() const override { return {760, 560}; }

public slots:
    // Asks where to write the grid as a PNG, then draws and writes it on the render pool.
    void showExportPanel();
    void exportTo(const QString &path);

signals:
    // An export ended; `error` is empty when the file was written.
    void exportFinished(const QString &path, const QString &error);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyLook();
    void viewSelectionChanged();
    void listSelectionChanged();
    void updateExportButton();

    SVGFileList *m_files;
    ContactSheetModel *m_model;
    QListView *m_view;
    QComboBox *m_size;
    QComboBox *m_background;
    QComboBox *m_tint;
    QComboBox *m_version;
    QPushButton *m_export;
    QLabel *m_count;
    QPointer<QFileDialog> m_exportPanel;
    QString m_appliedLook; // the key of the look the grid was last set up for
    bool m_syncingSelection = false;
    bool m_exporting = false;
};
