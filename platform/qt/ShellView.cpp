#include "platform/qt/ShellView.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QStyle>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QSortFilterProxyModel>

namespace {

QString CleanFolder(const QString& path) {
  if (path.isEmpty() || !QDir::isAbsolutePath(path)) return QString();
  const QString clean = QDir::cleanPath(path);
  return QFileInfo(clean).isDir() ? clean : QString();
}

// Lists what the view's filter lets through: folders first, then files, each
// by name without regard to letter case. New items go straight to their place.
class TShellFilterModel : public QSortFilterProxyModel {
 public:
  TShellFilterModel(TShellListView* view, QFileSystemModel* model) : QSortFilterProxyModel(view), View(view), Model(model) {
    setSourceModel(model);
    setDynamicSortFilter(true);
    sort(0, Qt::AscendingOrder);
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    if (!View->Filter) return true;
    const QModelIndex index = Model->index(row, 0, parent);
    return View->Filter(Model->fileName(index), Model->isDir(index));
  }
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
    const bool leftDir = Model->isDir(left), rightDir = Model->isDir(right);
    if (leftDir != rightDir) return leftDir;
    const QString a = Model->fileName(left), b = Model->fileName(right);
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
  }

 private:
  TShellListView* View;
  QFileSystemModel* Model;
};

// Folder and file pictures without asking the desktop's type database about
// every file: that lookup costs a tenth of a millisecond per file on the
// window's thread, a second of standstill for a folder of 10,000 files.
class TShellIconProvider : public QAbstractFileIconProvider {
 public:
  TShellIconProvider()
      : FolderIcon(QApplication::style()->standardIcon(QStyle::SP_DirIcon)),
        FileIcon(QApplication::style()->standardIcon(QStyle::SP_FileIcon)) {}
  QIcon icon(IconType type) const override { return type == File ? FileIcon : FolderIcon; }
  QIcon icon(const QFileInfo& info) const override { return info.isDir() ? FolderIcon : FileIcon; }
  QString type(const QFileInfo& info) const override {
    return info.isDir() ? QStringLiteral("Папка") : QStringLiteral("Файл");
  }

 private:
  QIcon FolderIcon, FileIcon;
};

QAbstractFileIconProvider* IconProvider() {
  static TShellIconProvider provider;
  return &provider;
}

}  // namespace

TShellTreeView::TShellTreeView(QWidget* parent) : QTreeView(parent) {
  Model = new QFileSystemModel(this);
  Model->setIconProvider(IconProvider());
  Model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  Model->setOption(QFileSystemModel::DontWatchForChanges);
  Model->setReadOnly(true);
  Model->setRootPath(QStringLiteral("/"));
  setModel(Model);
  for (int c = 1; c < Model->columnCount(); ++c) hideColumn(c);
  header()->hide();
  setRootIsDecorated(false);
  setIndentation(19);
  setIconSize(QSize(16, 16));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setContextMenuPolicy(Qt::NoContextMenu);
  setUniformRowHeights(true);
  // The root "/" is always open.
  expand(Model->index(QStringLiteral("/")));
  // The way to a folder just set is read in the background: the folder is
  // brought into view again as folders arrive and are sorted, until the user
  // moves the tree.
  auto scrollLater = [this] {
    if (FScrollPending) QTimer::singleShot(0, this, [this] {
        if (FScrollPending && currentIndex().isValid()) scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
      });
  };
  connect(Model, &QFileSystemModel::directoryLoaded, this, scrollLater);
  connect(Model, &QAbstractItemModel::layoutChanged, this, scrollLater);
  connect(Model, &QAbstractItemModel::rowsInserted, this, scrollLater);
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { FScrollPending = false; });
}

void TShellTreeView::mousePressEvent(QMouseEvent* event) {
  FScrollPending = false;
  QTreeView::mousePressEvent(event);
}

void TShellTreeView::wheelEvent(QWheelEvent* event) {
  FScrollPending = false;
  QTreeView::wheelEvent(event);
}

void TShellTreeView::keyPressEvent(QKeyEvent* event) {
  FScrollPending = false;
  QTreeView::keyPressEvent(event);
}

bool TShellTreeView::SetPath(const QString& path) {
  const QString folder = CleanFolder(path);
  if (folder.isEmpty()) return false;
  const QModelIndex index = Model->index(folder);
  if (!index.isValid()) return false;
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) expand(up);
  setCurrentIndex(index);
  expand(index);
  scrollTo(index, QAbstractItemView::PositionAtCenter);
  FScrollPending = true;
  return true;
}

void TShellTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeView::currentChanged(current, previous);
  emit Changing();
  FPath = current.isValid() ? Model->filePath(current) : QString();
  emit Changed(current.isValid(), current.isValid() ? Model->fileName(current) : QString());
}

TShellListView::TShellListView(QWidget* parent) : QListView(parent) {
  Model = new QFileSystemModel(this);
  Model->setIconProvider(IconProvider());
  Model->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::AllDirs);
  Model->setReadOnly(false);  // names can be edited in place
  Proxy = new TShellFilterModel(this, Model);
  setModel(Proxy);
  setViewMode(QListView::ListMode);
  setIconSize(QSize(16, 16));
  setFlow(QListView::TopToBottom);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setLayoutMode(QListView::Batched);
  setBatchSize(200);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  setContextMenuPolicy(Qt::NoContextMenu);
  connect(Model, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
    if (QDir::cleanPath(path) == FFolder) FLoaded = true;
  });
}

void TShellListView::SetFolder(const QString& path) {
  const QString folder = CleanFolder(path);
  FFolder = folder;
  FLoaded = false;
  if (folder.isEmpty()) {
    setRootIndex(Proxy->mapFromSource(Model->index(QStringLiteral("/"))));
    clearSelection();
    setCurrentIndex(QModelIndex());
    return;
  }
  const QModelIndex source = Model->setRootPath(folder);
  setRootIndex(Proxy->mapFromSource(source));
  clearSelection();
  setCurrentIndex(QModelIndex());
  // A folder read before comes back without a new notice.
  if (!Model->canFetchMore(source) && Model->rowCount(source) > 0) FLoaded = true;
}

int TShellListView::ItemCount() const { return Proxy->rowCount(rootIndex()); }

QModelIndex TShellListView::SelectedSource() const {
  if (!selectionModel()) return QModelIndex();
  const QModelIndexList rows = selectionModel()->selectedIndexes();
  return rows.isEmpty() ? QModelIndex() : Proxy->mapToSource(rows.first());
}

bool TShellListView::HasSelected() const { return SelectedSource().isValid(); }
bool TShellListView::SelectedIsFolder() const {
  const QModelIndex i = SelectedSource();
  return i.isValid() && Model->isDir(i);
}
QString TShellListView::SelectedName() const {
  const QModelIndex i = SelectedSource();
  return i.isValid() ? Model->fileName(i) : QString();
}
QString TShellListView::SelectedPath() const {
  const QModelIndex i = SelectedSource();
  return i.isValid() ? Model->filePath(i) : QString();
}

bool TShellListView::Select(const QString& name) {
  const QModelIndex root = rootIndex();
  for (int r = 0, n = Proxy->rowCount(root); r < n; ++r) {
    const QModelIndex i = Proxy->index(r, 0, root);
    if (Model->fileName(Proxy->mapToSource(i)) != name) continue;
    setCurrentIndex(i);
    selectionModel()->select(i, QItemSelectionModel::ClearAndSelect);
    scrollTo(i);
    return true;
  }
  return false;
}

void TShellListView::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
    event->accept();
    emit EnterPressed();
    return;
  }
  QListView::keyPressEvent(event);
}

void TShellListView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  // The name typed was handed to the model (and the file renamed) before the
  // editor closes. The columns are measured again for the new name's width.
  QListView::closeEditor(editor, hint);
  scheduleDelayedItemsLayout();
  emit RenameEnded();
}

void TShellListView::keyReleaseEvent(QKeyEvent* event) {
  QListView::keyReleaseEvent(event);
  emit KeyReleased(event->key());
}

void TShellListView::mouseReleaseEvent(QMouseEvent* event) {
  QListView::mouseReleaseEvent(event);
  emit Clicked();
}

void TShellListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QListView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit DoubleClicked();
}
