#pragma once
// The page view of the HTML windows: shows a local HTML file given by its full
// path. Pictures and links in the page are found relative to the page's folder;
// mail and web links go to the desktop's own programs. Lines break between
// words, and inside a word only where that word alone is wider than the line,
// in every part of a page.
#include <QString>
#include <QTextBrowser>

class QTextDocument;

class THtmlView : public QTextBrowser {
  Q_OBJECT
 public:
  explicit THtmlView(QWidget* parent = nullptr);

  // Shows the file at `fullPath`, read afresh every time (generated pages are
  // rewritten under the same name). A missing or unreadable file shows a short
  // notice page instead.
  void Navigate(const QString& fullPath);

  // The full path of the file shown last (also when it could not be read).
  QString Location() const { return FLocation; }
  // True when the last Navigate found and showed its file.
  bool Loaded() const { return FLoaded; }

 signals:
  // A link of the page led to another local page, now shown.
  void LinkFollowed();

 private:
  // Shows the page `html`, whose pictures and style sheets are found in
  // `folder`; its links are followed from the page's own location (Location()).
  void Show(const QString& html, const QString& folder);
  // Lets every block of `page` wrap, preformatted ones included.
  static void WrapEveryBlock(QTextDocument* page);
  QString FLocation;
  bool FLoaded = false;
};
