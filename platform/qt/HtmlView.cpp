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
  // Pictures and style sheets of the page are looked up in the page's folder.
  document()->setBaseUrl(QUrl::fromLocalFile(info.absolutePath() + QLatin1Char('/')));
  setSearchPaths({info.absolutePath()});
  if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
    setHtml(QStringLiteral("<html><body><h3>Страница не найдена</h3><p>%1</p></body></html>")
                .arg(fullPath.toHtmlEscaped()));
    return;
  }
  const QByteArray bytes = file.readAll();
  QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
  if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
  QString html = decoder.decode(bytes);
  // Web browsers take the stray end tag "</br>" (the news page's line end) as a
  // line break; so does this view.
  html.replace(QStringLiteral("</br>"), QStringLiteral("<br>"), Qt::CaseInsensitive);
  setHtml(html);
  WrapEveryBlock();
  FLoaded = true;
}

void THtmlView::WrapEveryBlock() {
  // The view's wrap rule holds for every part of a page: preformatted text
  // ("<pre>", "white-space: pre" or "nowrap") and table cells marked "nowrap"
  // wrap like headings and paragraphs, instead of running past the edge.
  QTextDocument* doc = document();
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat format = block.blockFormat();
    if (!format.nonBreakableLines()) continue;
    format.setNonBreakableLines(false);
    QTextCursor(block).setBlockFormat(format);
  }
}
