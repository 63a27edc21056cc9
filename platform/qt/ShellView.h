#pragma once
// The folder tree and the folder list of the file window, over the file-system
// model. The tree shows folders only, from the file-system root "/"; the list
// shows the folders and files of one folder, asking a filter about every item
// as it fills. The model reads folders in the background, so a folder of many
// thousand files fills while the window goes on answering.
#include <QListView>
#include <QString>
#include <QTreeView>
#include <functional>

class QFileSystemModel;
class QSortFilterProxyModel;

class TShellTreeView : public QTreeView {
  Q_OBJECT
 public:
  explicit TShellTreeView(QWidget* parent = nullptr);

  // The selected folder's full path ("/" for the root, no trailing "/"
  // otherwise); empty when no folder is selected.
  QString Path() const { return FPath; }
  // Selects the folder and opens the way to it. False, with nothing changed,
  // when the path is not an existing folder given in full.
  bool SetPath(const QString& path);

 signals:
  // Before the selected folder changes; Path() still gives the old one.
  void Changing();
  // After it changed: whether a folder is selected, and its node's text.
  void Changed(bool hasNode, const QString& nodeText);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QFileSystemModel* Model = nullptr;
  QString FPath;
  bool FScrollPending = false;
};

class TShellListView : public QListView {
  Q_OBJECT
 public:
  explicit TShellListView(QWidget* parent = nullptr);

  // Asked for every item while the list fills; the item is listed when it
  // answers true. Without a filter everything is listed.
  std::function<bool(const QString& displayName, bool isFolder)> Filter;

  // Shows the items of a folder (full path), none of them selected.
  void SetFolder(const QString& path);
  // True once the folder's items have all been read.
  bool Loaded() const { return FLoaded; }
  // The number of items listed so far.
  int ItemCount() const;

  // The selected item: whether there is one, whether it is a folder, its name
  // within its folder and its full path.
  bool HasSelected() const;
  bool SelectedIsFolder() const;
  QString SelectedName() const;
  QString SelectedPath() const;
  // Selects the listed item of this name; false when it is not (yet) listed.
  bool Select(const QString& name);

 signals:
  // A mouse button was released over the list (on an item or not).
  void Clicked();
  void DoubleClicked();
  // Enter typed while the list has the focus (it goes no further).
  void EnterPressed();
  // A key released while the list has the focus.
  void KeyReleased(int key);
  // An item's name edited in place was taken or given up (F2 or a second
  // click began it): the selected item has its name as it is now.
  void RenameEnded();

 protected:
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QModelIndex SelectedSource() const;
  QFileSystemModel* Model = nullptr;
  QSortFilterProxyModel* Proxy = nullptr;
  QString FFolder;
  bool FLoaded = false;
};
