#include "platform/qt/HtmlView.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

THtmlView::THtmlView(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  // Lines break between words; a word is broken only where it alone is wider
  // than the line (a long path in an error page, a heading in a narrow side
  // panel), so that no text runs past the right edge. A word that fits on a
  // line is never broken.
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
    const QUrl target = url.isRelative() ? QUrl::fromLocalFile(FLocation).resolved(url) : url;
    if (target.isLocalFile() && target.toLocalFile().endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive)) {
      Navigate(target.toLocalFile());
      emit LinkFollowed();
      return;
    }
    QDesktopServices::openUrl(target);
  });
}

void THtmlView::Navigate(const QString& fullPath) {
  FLocation = fullPath;
  FLoaded = false;
  QFile file(fullPath);
  const QFileInfo info(fullPath);
  if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
    Show(QStringLiteral("<html><body><h3>Страница не найдена</h3><p>%1</p></body></html>")
             .arg(fullPath.toHtmlEscaped()),
         info.absolutePath());
    return;
  }
  const QByteArray bytes = file.readAll();
  QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
  if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
  QString html = decoder.decode(bytes);
  // Web browsers take the stray end tag "</br>" (the news page's line end) as a
  // line break; so does this view.
  html.replace(QStringLiteral("</br>"), QStringLiteral("<br>"), Qt::CaseInsensitive);
  Show(html, info.absolutePath());
  FLoaded = true;
}

void THtmlView::Show(const QString& html, const QString& folder) {
  // The page is read into a document of its own and made to wrap there, before
  // anything lays it out; the view then lays it out once. (Changing a block of
  // a shown document lays the page out again, once for every block changed.)
  auto* page = new QTextDocument(this);
  // A page is only read: it keeps no undo history (a long page would carry a
  // step for every block made to wrap).
  page->setUndoRedoEnabled(false);
  page->setDefaultFont(document()->defaultFont());
  // Pictures and style sheets of the page are looked up in the page's folder.
  page->setBaseUrl(QUrl::fromLocalFile(folder + QLatin1Char('/')));
  setSearchPaths({folder});
  // Text in "<nobr>" is read as the text around it: the reader would glue its
  // words with non-breaking spaces, and the line would then break inside them.
  page->setDefaultStyleSheet(QStringLiteral("nobr { white-space: normal }"));
  page->setHtml(html);
  WrapEveryBlock(page);
  // The first document belongs to the view's text control, which frees it when
  // it is replaced; a page of ours is freed once the event that may still use
  // it (a click on a link) is over.
  QTextDocument* shown = document();
  if (shown->parent() == this) shown->deleteLater();
  setDocument(page);
}

void THtmlView::WrapEveryBlock(QTextDocument* page) {
  // The view's wrap rule holds for every part of a page: preformatted text
  // ("<pre>", "white-space: pre" or "nowrap") wraps like headings and
  // paragraphs, instead of running past the edge.
  for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat format = block.blockFormat();
    if (!format.nonBreakableLines()) continue;
    format.setNonBreakableLines(false);
    QTextCursor(block).setBlockFormat(format);
  }
}
