#pragma once
// The side frame of the file window when a data file is opened: the comments
// of the selected data file as a page, before the file is opened.
#include <QFrame>

class THtmlView;
struct THtmlHost;

class TFrameOpenBrowser : public QFrame {
  Q_OBJECT
 public:
  explicit TFrameOpenBrowser(QWidget* parent = nullptr);

  THtmlView* WebBrowser = nullptr;

  // The data-file preview: reads the head of the data file, writes the comment
  // page ("comment.htm" in the page folder of `pages`) and shows it. False when
  // the file or the page cannot be read or written; nothing is reported.
  bool Preview(const QString& fileName, const THtmlHost& pages);
};
