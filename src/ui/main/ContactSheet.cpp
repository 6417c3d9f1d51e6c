#include "ui/main/ContactSheet.h"

#include "engine/RenderPool.h"
#include "model/SVGFileList.h"
#include "model/Settings.h"
#include "ui/main/ContactSheetDelegate.h"
#include "ui/main/ContactSheetDrawer.h"
#include "ui/main/ContactSheetExport.h"
#include "ui/main/ContactSheetModel.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QItemSelection>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

QComboBox *comboBox(QWidget *parent, const QList<std::pair<QString, QVariant>> &items) {
    auto *box = new QComboBox(parent);
    for (const auto &[text, value] : items)
        box->addItem(text, value);
    return box;
}

void choose(QComboBox *box, const QVariant &value) {
    const int index = box->findData(value);
    box->setCurrentIndex(index >= 0 ? index : 0);
}

} // namespace

ContactSheet::ContactSheet(SVGFileList *files, WindowSession *session, QWidget *parent)
    : QWidget(parent, Qt::Window), m_files(files),
      m_model(new ContactSheetModel(files, session, this)), m_view(new QListView(this)),
      m_size(new QComboBox(this)), m_export(new QPushButton(tr("Export Contact Sheet…"), this)),
      m_count(new QLabel(this)) {
    setObjectName(QStringLiteral("contactSheet"));
    setWindowTitle(tr("Contact Sheet"));
    for (int side : sizes)
        m_size->addItem(tr("%1 px").arg(side), side);
    m_background = comboBox(this, {{tr("Light"), QStringLiteral("light")},
                                   {tr("Dark"), QStringLiteral("dark")},
                                   {tr("Checkerboard"), QStringLiteral("checkerboard")}});
    // "Automatic" is the text colour of the background: how an icon drawn in currentColor is
    // meant to be seen, and what shows up icons that hard-code a colour.
    m_tint = comboBox(this, {{tr("Automatic"), QStringLiteral("auto")},
                             {tr("Black"), QStringLiteral("#000000")},
                             {tr("White"), QStringLiteral("#ffffff")},
                             {tr("Blue"), QStringLiteral("#0a84ff")},
                             {tr("Red"), QStringLiteral("#e5202e")}});
    m_version = comboBox(this, {{tr("Optimized"), true}, {tr("Original"), false}});
    m_size->setObjectName(QStringLiteral("contactSheetSize"));
    m_background->setObjectName(QStringLiteral("contactSheetBackground"));
    m_tint->setObjectName(QStringLiteral("contactSheetTint"));
    m_version->setObjectName(QStringLiteral("contactSheetVersion"));
    m_export->setObjectName(QStringLiteral("exportContactSheet"));
    m_export->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_export->setAutoDefault(false);

    choose(m_size, int(Keys::contactSheetIconSize().get()));
    choose(m_background, Keys::contactSheetBackground().get());
    choose(m_tint, Keys::contactSheetTint().get());
    choose(m_version, Keys::contactSheetShowsOptimized().get());

    auto *controls = new QHBoxLayout;
    const auto labelled = [this, controls](const QString &text, QComboBox *box) {
        auto *label = new QLabel(text, this);
        label->setBuddy(box);
        controls->addWidget(label);
        controls->addWidget(box);
        controls->addSpacing(8);
    };
    labelled(tr("Size:"), m_size);
    labelled(tr("Background:"), m_background);
    labelled(tr("Tint:"), m_tint);
    labelled(tr("Version:"), m_version);
    controls->addStretch(1);
    controls->addWidget(m_export);

    m_view->setObjectName(QStringLiteral("contactSheetGrid"));
    m_view->setModel(m_model);
    m_view->setItemDelegate(new ContactSheetDelegate(m_model, m_view));
    // A wrapping left-to-right list lays ten thousand cells of one size out by arithmetic.
    m_view->setViewMode(QListView::ListMode);
    m_view->setFlow(QListView::LeftToRight);
    m_view->setWrapping(true);
    m_view->setResizeMode(QListView::Adjust);
    m_view->setMovement(QListView::Static);
    m_view->setUniformItemSizes(true);
    m_view->setSpacing(0);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setMouseTracking(true);
    m_model->drawer()->setWantedCheck([this](const QModelIndex &index) {
        const int margin = cellSide(m_model->look().side);
        return m_view->isVisible() && m_view->viewport()
                                          ->rect()
                                          .adjusted(0, -margin, 0, margin)
                                          .intersects(m_view->visualRect(index));
    });

    m_count->setForegroundRole(QPalette::PlaceholderText);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_count);

    for (QComboBox *box : {m_size, m_background, m_tint, m_version})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            Keys::contactSheetIconSize().set(m_size->currentData().toInt());
            Keys::contactSheetBackground().set(m_background->currentData().toString());
            Keys::contactSheetTint().set(m_tint->currentData().toString());
            Keys::contactSheetShowsOptimized().set(m_version->currentData().toBool());
            applyLook();
        });
    connect(m_export, &QPushButton::clicked, this, &ContactSheet::showExportPanel);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ContactSheet::viewSelectionChanged);
    connect(files, &SVGFileList::selectionChanged, this, &ContactSheet::listSelectionChanged);
    const auto count = [this] {
        m_count->setText(tr("%n icon(s)", "", m_model->rowCount()));
        updateExportButton();
    };
    connect(m_model, &QAbstractItemModel::rowsInserted, this, count);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, count);
    connect(m_model, &QAbstractItemModel::modelReset, this, count);
    // Rows added after the sheet opened join the table's selection as the table shows it.
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ContactSheet::listSelectionChanged);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, &ContactSheet::listSelectionChanged);
    count();
    applyLook();
    listSelectionChanged();
    resize(sizeHint());
}

ContactSheet::~ContactSheet() = default;

SheetLook ContactSheet::look() const {
    SheetLook look;
    look.side = m_size->currentData().toInt();
    look.ratio = devicePixelRatioF();
    look.background = SheetLook::backgroundNamed(m_background->currentData().toString());
    look.tint = m_tint->currentData().toString();
    look.optimized = m_version->currentData().toBool();
    return look;
}

void ContactSheet::applyLook() {
    const SheetLook wanted = look();
    if (wanted.key() == m_appliedLook)
        return;
    m_appliedLook = wanted.key();
    const int cell = cellSide(wanted.side);
    m_view->setGridSize(QSize(cell, cell));
    // The background goes behind the whole grid, not only behind the cells.
    QImage tile(2 * cell, 2 * cell, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&tile);
        ContactSheetDrawing::paintBackground(painter, QRectF(tile.rect()), wanted.background);
    }
    QPalette palette = m_view->palette();
    palette.setBrush(QPalette::Base, QBrush(QPixmap::fromImage(tile)));
    m_view->setPalette(palette);
    m_model->setLook(wanted);
    m_view->viewport()->update();
}

int ContactSheet::columns() const {
    const int cell = cellSide(m_model->look().side);
    return std::max(1, m_view->viewport()->width() / cell);
}

void ContactSheet::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    applyLook(); // the screen, and with it the pixel density, is known now
}

void ContactSheet::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    applyLook();
}

void ContactSheet::viewSelectionChanged() {
    if (m_syncingSelection)
        return;
    QSet<QString> ids;
    const QModelIndexList rows = m_view->selectionModel()->selectedIndexes();
    ids.reserve(rows.size());
    for (const QModelIndex &index : rows)
        ids.insert(m_files->files().at(index.row()).id);
    m_syncingSelection = true;
    m_files->setSelection(ids);
    m_syncingSelection = false;
}

void ContactSheet::listSelectionChanged() {
    if (m_syncingSelection)
        return;
    const QSet<QString> &ids = m_files->selection();
    QItemSelection selection;
    const QList<SVGFile> &files = m_files->files();
    // Runs of neighbouring rows as one range each: selecting all is one range, not thousands.
    for (int row = 0; row < files.size() && !ids.isEmpty(); ++row) {
        if (!ids.contains(files.at(row).id))
            continue;
        int last = row;
        while (last + 1 < files.size() && ids.contains(files.at(last + 1).id))
            ++last;
        selection.select(m_model->index(row), m_model->index(last));
        row = last;
    }
    m_syncingSelection = true;
    m_view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    // One file chosen in the table: the sheet shows it, and the arrow keys go on from there.
    if (selection.size() == 1 && selection.first().height() == 1) {
        const QModelIndex chosen = selection.first().topLeft();
        m_view->selectionModel()->setCurrentIndex(chosen, QItemSelectionModel::NoUpdate);
        m_view->scrollTo(chosen);
    }
    m_syncingSelection = false;
}

void ContactSheet::updateExportButton() {
    // An empty list makes no picture; a second export waits for the first.
    m_export->setEnabled(m_model->rowCount() > 0 && !m_exporting);
}

void ContactSheet::showExportPanel() {
    if (m_exportPanel) {
        m_exportPanel->raise();
        return;
    }
    auto *dialog = new QFileDialog(this, tr("Export Contact Sheet"),
                                   QDir::home().filePath(tr("Contact Sheet") + ".png"),
                                   tr("PNG images (*.png)"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("png"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, &ContactSheet::exportTo);
    m_exportPanel = dialog;
    dialog->open();
}

void ContactSheet::exportTo(const QString &path) {
    SheetLook flat = m_model->look();
    // The picture has one pixel per pixel of the chosen size; the sheet's own drawings serve
    // when they were made at that density.
    const bool reuse = qFuzzyCompare(flat.ratio, 1.0);
    flat.ratio = 1;
    QList<ContactSheetExport::Icon> icons;
    icons.reserve(m_model->rowCount());
    for (int row = 0; row < m_model->rowCount(); ++row) {
        ContactSheetExport::Icon icon{m_model->sourceOf(row), std::nullopt};
        if (const IconDrawing *drawing = reuse ? m_model->drawingOf(row) : nullptr)
            icon.drawing = *drawing;
        icons.append(icon);
    }
    m_exporting = true;
    updateExportButton();
    auto *watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcher<QString>::finished, this, [this, watcher, path] {
        watcher->deleteLater();
        m_exporting = false;
        updateExportButton();
        const QString error = watcher->result();
        if (!error.isEmpty()) {
            auto *box = new QMessageBox(
                QMessageBox::Warning, tr("The contact sheet could not be exported."),
                tr("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), error),
                QMessageBox::Ok, this);
            box->setObjectName(QStringLiteral("exportFailed"));
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->setWindowModality(Qt::WindowModal);
            box->open();
        }
        emit exportFinished(path, error);
    });
    // The icons missing are drawn on every thread of the pool, then put together on one.
    watcher->setFuture(
        QtConcurrent::mapped(&renderPool(), icons,
                             [flat](const ContactSheetExport::Icon &icon) {
                                 return icon.drawing ? *icon.drawing
                                                     : ContactSheetDrawing::draw(icon.source, flat);
                             })
            .then(&renderPool(),
                  [flat, path, columns = columns()](const QFuture<IconDrawing> &drawings) {
                      return ContactSheetExport::write(
                          path, ContactSheetExport::compose(drawings.results(), flat, columns));
                  }));
}
