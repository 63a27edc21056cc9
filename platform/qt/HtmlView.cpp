#include "platform/qt/HtmlView.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

THtmlView::THtmlView(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  // Lines break between words only, as in a web browser: a word wider than
  // the view runs past its edge (and the view scrolls) instead of being cut.
  setWordWrapMode(QTextOption::WordWrap);
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
  FLoaded = true;
}
