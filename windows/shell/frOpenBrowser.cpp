#include "windows/shell/frOpenBrowser.h"

#include <QVBoxLayout>
#include <exception>

#include "files/uFilePreview.h"
#include "platform/qt/HtmlView.h"
#include "windows/pages/fHelp.h"

TFrameOpenBrowser::TFrameOpenBrowser(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("FrameOpenBrowser"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  WebBrowser = new THtmlView(this);
  WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
  layout->addWidget(WebBrowser);
  hide();
}

bool TFrameOpenBrowser::Preview(const QString& fileName, const THtmlHost& pages) {
  TDataFileDocument head;
  if (!ReadDataFileHead(fileName.toStdString(), head)) return false;
  QStringList lines;
  for (const std::string& line : DataFileHeadLines(head)) lines << QString::fromStdString(line);
  try {
    const QString page = WriteHtmlMessagePage(pages, HtmlKindComment, QStringLiteral("Комментарии"), QString(), lines);
    WebBrowser->Navigate(page);
  } catch (const std::exception&) {
    return false;
  }
  return WebBrowser->Loaded();
}
