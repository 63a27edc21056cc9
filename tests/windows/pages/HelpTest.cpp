#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <map>

#include "platform/qt/HtmlView.h"
#include "windows/pages/fHelp.h"
#include "windows/pages/uHtmlPage.h"
#include "tests/windows/FakeFrame.h"
#include "tests/windows/MainFixture.h"

namespace {

QString ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

void WriteAll(const QString& path, const QString& text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text.toUtf8());
}

// Closes the modal window that opens next, once it is on screen.
void CloseNextModal(std::function<void(QWidget*)> inspect = {}) {
  QTimer::singleShot(0, [inspect] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) {
      CloseNextModal(inspect);
      return;
    }
    if (inspect) inspect(w);
    if (auto* box = qobject_cast<QMessageBox*>(w)) box->accept();
    else if (auto* dlg = qobject_cast<QDialog*>(w)) dlg->reject();
  });
}

}  // namespace

TEST(PageTemplate, PlaceholdersReplaceTheirFirstOccurrenceOnly) {
  const QStringList page = FillPageTemplate({"A %TEXTMAIN B %TEXTMAIN"}, "Caption", "", "x.bmp", {});
  ASSERT_EQ(page.size(), 1);
  EXPECT_EQ(page[0], "A <p class=\"thead\">Caption</p> B %TEXTMAIN");
}

TEST(PageTemplate, PresenceIsTestedInExactCaseButReplacementMatchesAnyCase) {
  // Lower case alone: left unchanged.
  EXPECT_EQ(FillPageTemplate({"%textmain"}, "C", "", "", {})[0], "%textmain");
  // Present in upper case: the first occurrence in any case is the one replaced.
  EXPECT_EQ(FillPageTemplate({"%textmain|%TEXTMAIN"}, "C", "", "", {})[0],
            "<p class=\"thead\">C</p>|%TEXTMAIN");
}

TEST(PageTemplate, EveryPlaceholderAndTheInsertionPoint) {
  const QStringList tmpl = {"<body>%TEXTHEADER", "<img src=\"%BITMAP\">", "%TEXTSELF first",
                            "%TEXTMAIN", "%TEXTSELF last", "%TEXTFOOTER</body>"};
  const QStringList page =
      FillPageTemplate(tmpl, "Head", "Foot", "pic.bmp", HtmlMessageBlock({"one", "two"}));
  const QStringList expected = {"<body><p class=\"tnews\"></p>",
                                "<img src=\"pic.bmp\">",
                                "  first",
                                "<p class=\"thead\">Head</p>",
                                "<p class=\"ttext\">", "one", "</p>",
                                "<p class=\"ttext\">", "two", "</p>",
                                "  last",
                                "<p class=\"tnews\">Foot</p></body>"};
  EXPECT_EQ(page, expected);
  // Without "%TEXTSELF" the block goes to the top of the page.
  const QStringList top = FillPageTemplate({"x", "y"}, "", "", "", {"B"});
  EXPECT_EQ(top, (QStringList{"B", "x", "y"}));
  EXPECT_TRUE(HtmlMessageBlock({}).isEmpty());
}

TEST(WhatsNew, NewsRunsFormOneCommentParagraph) {
  const QStringList html = WhatsNewToHtml({"Version", "+ added", "- removed", "= changed", "After", "",
                                           "+ next"});
  const QStringList expected = {"<p class=\"ttext\">Version</p>",
                                "<p class=\"tcomment\">+ added</br>",
                                "- removed</br>",
                                "= changed</br>",
                                "<p class=\"ttext\">After</p>",
                                "<p class=\"ttext\"></p>",
                                "<p class=\"tcomment\">+ next</br>"};
  EXPECT_EQ(html, expected);
}

TEST(WhatsNew, TheShippedNewsFileFollowsTheFormat) {
  const QString src = SourceDir();
  const QStringList lines = ReadPageLines(src + "/resources/Files/whatsnew.txt");
  ASSERT_FALSE(lines.isEmpty());
  const QStringList html = WhatsNewToHtml(lines);
  EXPECT_EQ(html.size(), lines.size());
  EXPECT_GT(html.filter("tcomment").size(), 0);
  const QString tmpl = ReadAll(src + "/resources/Files/index.htm");
  for (const char* key : {"%TEXTHEADER", "%TEXTMAIN", "%TEXTSELF", "%TEXTFOOTER", "%BITMAP", "tnews",
                          "thead", "ttext", "tcomment"})
    EXPECT_TRUE(tmpl.contains(QLatin1String(key))) << key;
}

TEST(BuildHtmlPage, MissingTemplateOrUnwritableFolderFailsWithoutAPartialPage) {
  QTemporaryDir dir;
  const QString page = dir.filePath("error.htm");
  EXPECT_THROW(BuildHtmlPage(dir.filePath("index.htm"), "C", "", "", page, {"x"}), THtmlPageError);
  EXPECT_FALSE(QFile::exists(page));
  WriteAll(dir.filePath("index.htm"), "%TEXTMAIN\n%TEXTSELF\n");
  EXPECT_THROW(BuildHtmlPage(dir.filePath("index.htm"), "C", "", "", dir.filePath("no/such/x.htm"), {}),
               THtmlPageError);
  BuildHtmlPage(dir.filePath("index.htm"), "Заголовок", "", "", page, {"строка"});
  EXPECT_EQ(ReadAll(page),
            "<p class=\"thead\">Заголовок</p>\r\n<p class=\"ttext\">\r\nстрока\r\n</p>\r\n \r\n");
}

TEST(ExceptionPage, ThreeLinesWithTheMessageLast) {
  const QStringList lines = ExceptionPageLines("Division <by> zero");
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[0].startsWith("Программе не удалось выполнить операцию. Сообщите об ошибке "));
  EXPECT_TRUE(lines[0].contains(">автору</a>"));
  EXPECT_TRUE(lines[0].contains("mailto:"));
  EXPECT_TRUE(lines[0].endsWith(" программы."));
  EXPECT_EQ(lines[1], "Дальше идет системное сообщение ошибки.");
  EXPECT_EQ(lines[2], "Division &lt;by&gt; zero");
}

class PageWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ASSERT_TRUE(dir.isValid());
    files = dir.path() + "/Files/";
    QDir().mkpath(files);
    WriteAll(files + "index.htm", "<html><body>%TEXTHEADER\n<img src=\"%BITMAP\">%TEXTMAIN\n%TEXTSELF\n%TEXTFOOTER</body></html>\n");
    WriteAll(files + "whatsnew.txt", "Версия\n+ новое\n");
    WriteAll(files + "about.htm", "<html><body>О программе</body></html>");
    owner = new QWidget;
    // The main window's outer rectangle is (100, 120, 450, 91) in the fake frame.
    owner->setGeometry(QRect(100, 120, 450, 91) - TFakeFrame::MainFrame());
    ASSERT_EQ(OuterRect(owner), QRect(100, 120, 450, 91));
    host.Owner = owner;
    host.FilesPath = files;
    host.PagesPath = files;
    host.ReadInt = [this](const QString& s, const QString& k, int def) {
      auto it = settings.find(s + "/" + k);
      return it == settings.end() ? def : it->second;
    };
  }
  void TearDown() override {
    FreeHtmlWindows({});
    delete owner;
  }
  TFakeFrame frame;
  QTemporaryDir dir;
  QString files;
  QWidget* owner = nullptr;
  THtmlHost host;
  std::map<QString, int> settings;
};

TEST_F(PageWindows, CommentsOpenWithoutBlockingAndZeroLinesGiveOnlyTheHeading) {
  ShowHtmlPage(host, HtmlKindComment, "Комментарии", "", {});
  ASSERT_NE(FormComment, nullptr);
  EXPECT_TRUE(FormComment->isVisible());
  EXPECT_FALSE(FormComment->isModal());
  EXPECT_EQ(FormComment->windowTitle(), "Комментарии");
  const QString page = ReadAll(files + "comment.htm");
  EXPECT_TRUE(page.contains("<p class=\"thead\">Комментарии</p>"));
  EXPECT_FALSE(page.contains("ttext"));
  EXPECT_TRUE(page.contains("XPdialoginformation32.bmp"));
  EXPECT_EQ(FormComment->WebBrowser->Location(), files + "comment.htm");
  EXPECT_TRUE(FormComment->WebBrowser->Loaded());
  // Default place: below the main window, 350 wide, client height 400.
  EXPECT_EQ(FormComment->height(), 400);
  EXPECT_EQ(OuterRect(FormComment).topLeft(), QPoint(100, 211));
  EXPECT_EQ(OuterRect(FormComment).width(), 350);
}

TEST_F(PageWindows, ErrorThenInformationShareOneModalWindow) {
  QString seenCaption;
  CloseNextModal([&](QWidget* w) { seenCaption = w->windowTitle(); });
  ShowHtmlPage(host, HtmlKindError, "Ошибка", "", {"Сбой"});
  EXPECT_EQ(seenCaption, "Ошибка");
  ASSERT_NE(FormMessage, nullptr);
  EXPECT_FALSE(FormMessage->isVisible());
  EXPECT_TRUE(ReadAll(files + "error.htm").contains("XPdialogstop32.bmp"));
  TFormHelp* first = FormMessage;
  MoveOuter(FormMessage, QPoint(40, 50));

  CloseNextModal([&](QWidget* w) { seenCaption = w->windowTitle(); });
  ShowHtmlPage(host, HtmlKindInformation, "Информация", "", {"Имя уже есть"});
  EXPECT_EQ(seenCaption, "Информация");
  EXPECT_EQ(FormMessage, first);
  EXPECT_EQ(OuterRect(FormMessage).topLeft(), QPoint(40, 50));
  EXPECT_EQ(FormMessage->size(), QSize(350, 200));
  EXPECT_TRUE(ReadAll(files + "info.htm").contains("Имя уже есть"));
}

TEST_F(PageWindows, CommentWindowReopensAtTheClientHeightItWasLeftWith) {
  settings["Comment/Height"] = 250;
  settings["Comment/Top"] = 33;
  settings["Comment/Left"] = 44;
  ShowHtmlPage(host, HtmlKindComment, "Комментарии", "", {"a"});
  EXPECT_EQ(FormComment->height(), 250);
  FormComment->resize(FormComment->width(), 321);
  std::map<QString, int> written;
  FreeHtmlWindows([&](const QString& s, const QString& k, int v) { written[s + "/" + k] = v; });
  EXPECT_EQ(FormComment, nullptr);
  EXPECT_EQ(written["Comment/Height"], 321);
  EXPECT_EQ(written.count("Help/Top"), 0u);  // never created: nothing written
  settings = written;
  ShowHtmlPage(host, HtmlKindComment, "Комментарии", "", {"a"});
  EXPECT_EQ(FormComment->height(), 321);
}

TEST_F(PageWindows, AboutAndWhatsNewUseTheHelpWindow) {
  ShowHelpPage(host, "О программе", "about.htm");
  ASSERT_NE(FormHelp, nullptr);
  EXPECT_EQ(FormHelp->windowTitle(), "О программе");
  EXPECT_TRUE(FormHelp->WebBrowser->toPlainText().contains("О программе"));
  EXPECT_EQ(FormHelp->OuterWidth(), 450);  // defaults to the main window's outer width
  TFormHelp* help = FormHelp;
  ShowWhatsNewPage(host);
  EXPECT_EQ(FormHelp, help);
  EXPECT_EQ(FormHelp->windowTitle(), "Что нового?");
  const QString page = ReadAll(files + "help.htm");
  EXPECT_TRUE(page.contains("<p class=\"tcomment\">+ новое</br>"));
  EXPECT_TRUE(page.contains("omra32.ico"));
  // A missing static page shows the view's own notice, not a failure.
  ShowHelpPage(host, "Описание теории", "theory.htm");
  EXPECT_FALSE(FormHelp->WebBrowser->Loaded());
}

TEST_F(PageWindows, PagesGoToTheirOwnFolderWhenThePageFolderIsReadOnly) {
  QTemporaryDir user;
  host.PagesPath = user.path() + "/";
  ShowHtmlPage(host, HtmlKindComment, "Комментарии", "", {"x"});
  EXPECT_FALSE(QFile::exists(files + "comment.htm"));
  const QString page = ReadAll(user.path() + "/comment.htm");
  EXPECT_TRUE(page.contains("file://" + files + "XPdialoginformation32.bmp"));
}

TEST_F(PageWindows, ExceptionPageFallsBackToAPlainBoxWhenTheTemplateIsGone) {
  QFile::remove(files + "index.htm");
  QString boxText;
  CloseNextModal([&](QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) boxText = box->text();
  });
  ShowExceptionPage(host, "original failure");
  EXPECT_TRUE(boxText.contains("original failure"));
  EXPECT_EQ(FormMessage ? FormMessage->isVisible() : false, false);

  // With the template back the report is a page again.
  WriteAll(files + "index.htm", "%TEXTMAIN\n%TEXTSELF\n");
  QString caption;
  CloseNextModal([&](QWidget* w) { caption = w->windowTitle(); });
  ShowExceptionPage(host, "second failure");
  EXPECT_EQ(caption, "Ошибка");
  EXPECT_TRUE(ReadAll(files + "error.htm").contains("second failure"));
}

namespace {

TEST_F(PageWindows, ACaptionFollowsThePageALinkLeadsTo) {
  WriteAll(files + "about.htm",
           "<html><head><title>О программе</title></head><body><a href=\"theory.htm\">т</a></body></html>");
  WriteAll(files + "theory.htm", "<html><head><title>Описание теории</title></head><body>теория</body></html>");
  ShowHelpPage(host, "О программе", "about.htm");
  ASSERT_NE(FormHelp, nullptr);
  emit FormHelp->WebBrowser->anchorClicked(QUrl(QStringLiteral("theory.htm")));
  EXPECT_EQ(FormHelp->WebBrowser->Location(), files + "theory.htm");
  EXPECT_EQ(FormHelp->windowTitle(), "Описание теории");
}

TEST_F(PageWindows, TheHelpWindowKeepsItsOuterWidthFromStartToStart) {
  TFakeFrame known(/*onceShown=*/true);  // frames known only once a window is shown
  settings["Help/Width"] = 450;
  settings["Help/Height"] = 300;
  for (int start = 0; start < 3; ++start) {
    ShowHelpPage(host, "О программе", "about.htm");
    ASSERT_NE(FormHelp, nullptr);
    EXPECT_EQ(OuterRect(FormHelp).width(), 450) << start;
    EXPECT_EQ(FormHelp->height(), 300) << start;
    std::map<QString, int> written;
    FreeHtmlWindows([&](const QString& s, const QString& k, int v) { written[s + "/" + k] = v; });
    EXPECT_EQ(written["Help/Width"], 450) << start;
    EXPECT_EQ(written["Help/Height"], 300) << start;
    settings = written;
  }
}

TEST_F(PageWindows, AStoredPlaceOffTheScreenIsBroughtBack) {
  settings["Comment/Left"] = 5000;
  settings["Comment/Top"] = -400;
  settings["Comment/Width"] = 100000;
  ShowHtmlPage(host, HtmlKindComment, "Комментарии", "", {"a"});
  const QRect work = WorkArea(FormComment);
  const QRect outer = OuterRect(FormComment);
  EXPECT_LE(outer.width(), work.width());
  EXPECT_TRUE(outer.intersects(work));
  EXPECT_GE(outer.top(), work.top());
}

}  // namespace
