#include "ui/settings/ProfilesSettingsTab.h"

#include "model/ProfileStore.h"
#include "model/Settings.h"
#include "ui/components/ContextClick.h"
#include "ui/components/ListActions.h"
#include "ui/profiles/ProfileEditor.h"
#include "ui/profiles/ProfileListModel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {

// Draws a separator line under the default profile's row, setting it apart from the saved ones.
class ProfileRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.row() != 0)
            return;
        painter->save();
        QColor line = option.palette.color(QPalette::WindowText);
        line.setAlphaF(0.3);
        painter->setPen(line);
        const QRect rect = option.rect;
        painter->drawLine(rect.left() + 4, rect.bottom(), rect.right() - 4, rect.bottom());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        // A little air around the names, as in the platform's sidebar lists.
        return QStyledItemDelegate::sizeHint(option, index) + QSize(0, 6);
    }
};

} // namespace

ProfilesSettingsTab::ProfilesSettingsTab(AppState *application, QWidget *parent)
    : QWidget(parent), m_model(new ProfileListModel(this)), m_list(new QListView(this)),
      m_actions(new ListActions(tr("New Profile"), tr("Delete Profile"), this)),
      m_moreMenu(new QMenu(this)), m_editor(new ProfileEditor(application, true, false, this)),
      m_nameProblem(new QLabel(this)), m_selection(Keys::selectedProfile().get()) {
    m_list->setModel(m_model);
    m_list->setItemDelegate(new ProfileRowDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAlternatingRowColors(false);
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setDefaultDropAction(Qt::MoveAction);
    m_list->setDragDropOverwriteMode(false);
    m_list->setDropIndicatorShown(true);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    keepSelectionOnContextClick(m_list);

    m_actions->setBorder(true);
    m_actions->setMoreActions(m_moreMenu);
    m_actions->setAddAction([this] { addProfile(); });
    m_actions->setRemoveAction([this] { askToDeleteProfile(m_selection); });
    m_list->installEventFilter(this);

    auto *listColumn = new QVBoxLayout;
    listColumn->setSpacing(0);
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    listColumn->setContentsMargins(margin, margin, margin, margin);
    listColumn->addWidget(m_list);
    listColumn->addWidget(m_actions);

    // Above the editor, so right above its name field.
    m_nameProblem->setObjectName(QStringLiteral("nameProblem"));
    m_nameProblem->setWordWrap(true);
    m_nameProblem->setContentsMargins(margin, margin, margin, 0);
    m_nameProblem->setVisible(false);
    auto *editorColumn = new QVBoxLayout;
    editorColumn->setSpacing(0);
    editorColumn->addWidget(m_nameProblem);
    editorColumn->addWidget(m_editor);

    auto *layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(listColumn, 2);
    layout->addLayout(editorColumn, 3);

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList rows = m_list->selectionModel()->selectedRows();
        if (rows.isEmpty()) {
            // A list with nothing highlighted would leave the editor without a profile; put the
            // highlight back once the view has finished handling the click.
            QMetaObject::invokeMethod(this, &ProfilesSettingsTab::showSelectionInList,
                                      Qt::QueuedConnection);
            return;
        }
        setSelection(m_model->idAt(rows.constFirst().row()));
    });
    connect(m_list, &QListView::customContextMenuRequested, this, [this](const QPoint &pos) {
        const QModelIndex index = m_list->indexAt(pos);
        if (!index.isValid())
            return;
        QMenu *menu = contextMenu(index.row());
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_list->viewport()->mapToGlobal(pos));
    });
    connect(m_model, &ProfileListModel::profilesChanged, this,
            &ProfilesSettingsTab::storedDataChanged);
    connect(m_editor, &ProfileEditor::profileEdited, this, &ProfilesSettingsTab::setEditedProfile);
    // A refused name stays in the field while it is being typed; leaving the field on it
    // puts back the name the profile had before the typing began.
    if (auto *nameField = m_editor->findChild<QLineEdit *>(QStringLiteral("profileName")))
        m_nameFieldLeft = connect(nameField, &QLineEdit::editingFinished, this, [this] {
            const std::optional<QString> before = std::exchange(m_nameBeforeEditing, {});
            if (!m_nameProblem->isVisible())
                return;
            if (std::optional<Profile> stored = storedProfile(m_selection); stored && before) {
                stored->name = *before;
                ProfileStore::update(*stored);
            }
            m_editor->setProfile(editedProfile());
            showNameProblem();
        });
    Defaults::observe<QString>(Keys::selectedProfile(), this,
                               [this](const QString &id) { setSelection(id); });

    showSelectionInList();
    refreshEditor();
    refreshActions();
}

ProfilesSettingsTab::~ProfilesSettingsTab() {
    // The field loses the focus while the children go, when this object is no tab any more.
    disconnect(m_nameFieldLeft);
}

void ProfilesSettingsTab::setSelection(const QString &id) {
    if (id.isEmpty())
        return;
    const bool changed = id != m_selection;
    m_selection = id;
    showSelectionInList();
    // The row highlighted here is the profile the rest of the application calls selected.
    if (Keys::selectedProfile().get() != id)
        Keys::selectedProfile().set(id);
    if (changed) {
        m_nameBeforeEditing.reset();
        refreshEditor();
        refreshActions();
    }
}

std::optional<Profile> ProfilesSettingsTab::storedProfile(const QString &id) {
    std::optional<Profile> found = ProfileStore::find(id);
    return found && !found->isDefault() ? found : std::nullopt;
}

bool ProfilesSettingsTab::selectionIsDefault() const {
    return m_selection == Profile::defaultId;
}

Profile ProfilesSettingsTab::editedProfile() {
    if (std::optional<Profile> profile = ProfileStore::find(m_selection))
        return *profile;
    // The highlighted profile was deleted, here or elsewhere. Moving the highlight while the
    // tab is still updating would change state under its feet, so it waits for the next turn
    // of the event loop, and only happens if nothing picked another profile meanwhile.
    if (!m_fallbackScheduled) {
        m_fallbackScheduled = true;
        QTimer::singleShot(0, this, [this] {
            m_fallbackScheduled = false;
            if (!ProfileStore::find(m_selection))
                setSelection(Profile::defaultId);
        });
    }
    return ProfileStore::defaultProfile();
}

void ProfilesSettingsTab::setEditedProfile(const Profile &profile) {
    Profile stored = profile;
    stored.id = m_selection;
    // Each keystroke in the name field is a rename, so a refused name may follow half-typed
    // ones that were stored on the way; the name from before is what a refusal goes back to.
    const std::optional<Profile> before = storedProfile(m_selection);
    if (before && before->name != profile.name && !m_nameBeforeEditing)
        m_nameBeforeEditing = before->name;
    // The store keeps the old name when the new one is empty or taken.
    ProfileStore::update(stored);
    showNameProblem();
}

void ProfilesSettingsTab::showNameProblem() {
    const std::optional<Profile> stored = storedProfile(m_selection);
    const QString shown = m_editor->profile().name;
    const QString problem =
        stored && shown != stored->name ? ProfileStore::nameProblem(shown, m_selection) : QString();
    m_nameProblem->setText(problem);
    m_nameProblem->setVisible(!problem.isEmpty());
}

QSize ProfilesSettingsTab::sizeHint() const {
    // Room for a few profiles and the top of the editor; smaller screens get less (the list and
    // the editor both scroll), so this is no minimum.
    return QWidget::sizeHint().expandedTo(QSize(0, 500));
}

bool ProfilesSettingsTab::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) &&
            key->modifiers() == Qt::NoModifier) {
            askToDeleteProfile(m_selection);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ProfilesSettingsTab::addProfile() {
    setSelection(ProfileStore::addNew().id);
}

void ProfilesSettingsTab::duplicate(const Profile &profile) {
    Keys::selectedProfile().set(ProfileStore::addDuplicate(profile).id);
}

QMessageBox *ProfilesSettingsTab::askToDeleteProfile(const QString &id) {
    const std::optional<Profile> profile = storedProfile(id);
    if (!profile)
        return nullptr;
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Delete Profile"),
                                tr("Delete “%1”?").arg(profile->name), QMessageBox::NoButton, this);
    box->setInformativeText(tr("This cannot be undone."));
    QPushButton *remove = box->addButton(tr("Delete"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box->addButton(tr("Cancel"), QMessageBox::RejectRole);
    // A stray Return must not delete anything.
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, box, remove, id] {
        if (box->clickedButton() == remove)
            deleteProfile(id);
    });
    box->open();
    return box;
}

void ProfilesSettingsTab::deleteProfile(const QString &id) {
    const QString next = ProfileStore::remove(id);
    if (!next.isEmpty() && m_selection == id)
        setSelection(next);
}

QMenu *ProfilesSettingsTab::contextMenu(int row) {
    auto *menu = new QMenu(this);
    if (row == 0) {
        menu->addAction(tr("Duplicate"), this,
                        [this] { duplicate(ProfileStore::defaultProfile()); });
        return menu;
    }
    // The menu acts on the row's profile as stored when an item is chosen.
    const QString id = m_model->idAt(row);
    menu->addAction(tr("Duplicate"), this, [this, id] {
        if (std::optional<Profile> profile = storedProfile(id))
            duplicate(*profile);
    });
    menu->addAction(tr("Apply to Default Profile"), this, [this, id] {
        if (std::optional<Profile> profile = storedProfile(id))
            ProfileStore::storeAsDefault(*profile);
    });
    menu->addSeparator();
    menu->addAction(tr("Delete"), this, [this, id] { askToDeleteProfile(id); });
    return menu;
}

void ProfilesSettingsTab::storedDataChanged() {
    // A reset of the rows drops the view's highlight; the highlighted profile itself may be gone.
    showSelectionInList();
    refreshEditor();
    refreshActions();
}

void ProfilesSettingsTab::showSelectionInList() {
    const int row = m_model->rowOf(m_selection);
    if (row < 0)
        return;
    const QModelIndex index = m_model->index(row);
    QItemSelectionModel *selection = m_list->selectionModel();
    if (selection->isSelected(index) && selection->selectedRows().size() == 1)
        return;
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void ProfilesSettingsTab::refreshEditor() {
    const Profile profile = editedProfile();
    if (m_editor->profile() != profile)
        m_editor->setProfile(profile);
    showNameProblem();
}

void ProfilesSettingsTab::refreshActions() {
    const bool isDefault = selectionIsDefault();
    m_actions->setRemoveButtonDisabled(isDefault);
    m_moreMenu->clear();
    m_moreMenu->addAction(tr("Duplicate"), this, &ProfilesSettingsTab::duplicateSelected);
    if (!isDefault)
        m_moreMenu->addAction(tr("Apply to Default Profile"), this,
                              &ProfilesSettingsTab::applySelectedToDefaultProfile);
}

void ProfilesSettingsTab::duplicateSelected() {
    if (std::optional<Profile> profile = storedProfile(m_selection))
        duplicate(*profile);
    else
        duplicate(ProfileStore::defaultProfile());
}

void ProfilesSettingsTab::applySelectedToDefaultProfile() {
    if (std::optional<Profile> profile = storedProfile(m_selection))
        ProfileStore::storeAsDefault(*profile);
}
