// The file commands of the running program, each through its file window:
// New, Save, Save As, Open and the recent files with a real round trip, a
// refused file that leaves the model alone, Export then Import (exactly the
// ticked rows of the set the list shows; what an import that stops part way
// says; a set with a broken record), names as typed or listed (letter
// case, full and relative paths), and pictures of the field view and the charts.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QComboBox>
#include <QMap>
#include <QTableWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QAbstractTextDocumentLayout>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtCharts/QChartView>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <functional>

#include "tests/windows/MainFixture.h"
#include "tests/FailingAlloc.h"
#include "model/uEngine.h"
#include "model/uLimits.h"
#include "controls/KitConst.h"
#include "files/uDataFile.h"
#include "files/uResourceSet.h"
#include "platform/IniFile.h"
#include "platform/Jpeg.h"
#include "platform/qt/HtmlView.h"
#include "platform/qt/ShellView.h"
#include "windows/look/CheckListBox.h"
#include "windows/look/uProc.h"
#include "windows/pages/fHelp.h"
#include "windows/place/uPlace.h"
#include "windows/program/uProgram.h"
#include "windows/shell/fShell.h"
#include "windows/shell/frImport.h"
#include "windows/shell/frOpenBrowser.h"
#include "windows/shell/frSaveShot.h"

namespace {

// Plays the user in front of the modal windows the commands open: each file
// window gets the next queued action (or is cancelled when none is left),
// each page window is read and closed, each question is answered.
class TUser {
 public:
  TUser() {
    Timer.setInterval(2);
    QObject::connect(&Timer, &QTimer::timeout, [this] { Tick(); });
    Timer.start();
  }
  std::deque<std::function<void(TFormShell&)>> Shells;
  int ShellsSeen = 0;
  QStringList Pages;      // the text of every page window closed
  std::function<void(TFormHelp&)> Page;  // looks at each page window before it is closed
  QStringList Questions;  // the text of every question answered
  bool Replace = true;

 private:
  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* shell = qobject_cast<TFormShell*>(modal)) {
      if (Busy) return;
      Busy = true;
      ++ShellsSeen;
      std::function<void(TFormShell&)> act = [](TFormShell& s) { s.ButtonCancel->click(); };
      if (!Shells.empty()) {
        act = Shells.front();
        Shells.pop_front();
      }
      // Acted on outside this timer, which must go on answering the windows the action opens.
      QTimer::singleShot(0, shell, [this, act, shell] {
        act(*shell);
        Busy = false;
      });
    } else if (auto* page = qobject_cast<TFormHelp*>(modal)) {
      Pages << page->windowTitle() + ": " + page->WebBrowser->toPlainText();
      if (Page) Page(*page);
      page->reject();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      Questions << box->text();
      for (QAbstractButton* b : box->buttons())
        if (b->text() == (Replace ? "Да" : "Отмена")) b->click();
    }
  }
  QTimer Timer;
  bool Busy = false;
};

// A file window action: type a name and press Yes.
std::function<void(TFormShell&)> Accept(const QString& name) {
  return [name](TFormShell& shell) {
    shell.EditFileName->setText(name);
    shell.ButtonYes->click();
  };
}

// A file window action: the name typed, then Return.
std::function<void(TFormShell&)> TypeAndReturn(const QString& name) {
  return [name](TFormShell& shell) {
    QTest::keyClicks(shell.EditFileName, name);
    QTest::keyClick(shell.EditFileName, Qt::Key_Return);
  };
}

// Picks a listed file (the previews run) and presses Yes.
std::function<void(TFormShell&)> PickAndAccept(const QString& name, std::function<void(TFormShell&)> before = {}) {
  return [name, before](TFormShell& shell) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.ShellListView->Select(name); }, 10000));
    shell.ShellListViewClick();
    if (before) before(shell);
    shell.ButtonYes->click();
  };
}

// Why a page view does not show its whole text within its width: a line runs
// past the right edge (the view scrolls sideways), or a word is broken that
// did not begin its line (and so would fit on a line of its own). Empty when
// every line breaks between words, or inside a word wider than the line.
QString WrapFault(THtmlView* view) {
  QApplication::processEvents();
  if (const int past = view->horizontalScrollBar()->maximum(); past > 0)
    return QString("scrolls %1 pixels sideways").arg(past);
  QTextDocument* doc = view->document();
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    doc->documentLayout()->blockBoundingRect(block);  // laid out
    const QTextLayout* layout = block.layout();
    const QString text = block.text();
    // Between words: where the text's line-break rules allow it, and after a blank.
    QTextBoundaryFinder rules(QTextBoundaryFinder::Line, text);
    auto betweenWords = [&](int at) {
      rules.setPosition(at);
      return rules.isAtBoundary() || (at > 0 && text[at - 1].isSpace());
    };
    for (int i = 1; i < layout->lineCount(); ++i) {
      const int at = layout->lineAt(i).textStart(), lineStart = layout->lineAt(i - 1).textStart();
      if (betweenWords(at)) continue;
      for (int earlier = lineStart + 1; earlier < at; ++earlier)
        if (betweenWords(earlier))
          return "\"" + text.mid(lineStart, at - lineStart) + "|" + text.mid(at, 20) + "\" broken";
    }
  }
  return {};
}

class FileCommands : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ASSERT_TRUE(temp.isValid());
    docs = QDir(temp.path()).canonicalPath() + "/";
    Form->PathDocument = docs;
    Form->PathSaveShot = docs;
    Form->UserName = "Tester";
  }
  // A command's key pressed on the main window.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
    QTest::keyClick(Form, key, modifiers);
  }
  QTemporaryDir temp;
  QString docs;
};

}  // namespace

TEST_F(FileCommands, NewSaveOpenRoundTrip) {
  TUser user;
  QFile(docs + "noname1.zod").open(QIODevice::WriteOnly);
  QFile(docs + "noname2.zod").open(QIODevice::WriteOnly);
  Form->ActionFileNew->trigger();
  EXPECT_EQ(Form->FileName, docs + "noname3.zod");
  EXPECT_FALSE(QFile::exists(docs + "noname3.zod"));  // New writes nothing
  EXPECT_EQ(Form->windowTitle(), ProgramTitle + " - noname3.zod");
  EXPECT_EQ(Form->Author, "Tester");
  EXPECT_FALSE(Form->ActionViewComment->isEnabled());

  // Paint, then Save: the data is new, so Save asks for a name with the provisional one.
  Form->Resource->AddAmount(0, 2, 3, 40);
  Form->Plant->Place(0, 4, 5);
  Form->Step = 17;
  Form->Comment = {"Первый комментарий", "second", "(information line)"};
  QString proposed;
  user.Shells.push_back([&](TFormShell& shell) {
    proposed = shell.EditFileName->text();
    EXPECT_EQ(shell.WindowType, TFormShell::TypeSave);
    Accept("run")(shell);
  });
  Form->ActionFileSave->trigger();
  EXPECT_EQ(proposed, "noname3.zod");
  EXPECT_EQ(Form->FileName, docs + "run.zod");
  EXPECT_TRUE(QFile::exists(docs + "run.zod"));
  EXPECT_EQ(Form->PathDocument, docs);
  // Saved once, Save writes without asking.
  Form->ActionFileSave->trigger();
  EXPECT_EQ(user.ShellsSeen, 1);

  // New empties the field; Open brings the saved work back.
  Form->ActionFileNew->trigger();
  EXPECT_EQ(Form->Resource->Amount(0, 2, 3), 0);
  EXPECT_EQ(Form->Plant->Field(4, 5).Mass, 0);
  EXPECT_EQ(Form->Step, 0);
  user.Shells.push_back(PickAndAccept("run.zod"));
  Form->ActionFileLoad->trigger();
  EXPECT_EQ(user.ShellsSeen, 2);
  EXPECT_EQ(Form->FileName, docs + "run.zod");
  EXPECT_EQ(Form->Step, 17);
  EXPECT_EQ(Form->Resource->Amount(0, 2, 3), 40);
  EXPECT_GT(Form->Plant->Field(4, 5).Mass, 0);
  EXPECT_EQ(Form->Plant->Params[0].Const.Count, 1);
  EXPECT_EQ(Form->Resource->Params[0].Name, "Ресурс Yellow");
  EXPECT_EQ(FormParameter->ListBoxPlant->item(0)->text(), "Организм Lime");
  ASSERT_EQ(Form->Comment.size(), 3u);
  EXPECT_EQ(Form->Comment[0], "Первый комментарий");
  EXPECT_EQ(Form->Comment[1], "second");
  EXPECT_EQ(Form->Author, "Tester");
  EXPECT_TRUE(Form->ActionViewComment->isEnabled());
  EXPECT_EQ(Form->windowTitle(), ProgramTitle + " - run.zod");
  // The recent files show it, under its short name, in both menus.
  EXPECT_EQ(Form->FileList[0].FileName, docs + "run.zod");
  EXPECT_TRUE(Form->MenuFileReload[0]->isVisible());
  EXPECT_EQ(Form->MenuLoadReload[0]->text(), ShortenPath(docs + "run.zod", 30) + "\tCtrl+1");
  EXPECT_FALSE(Form->MenuFileReload[1]->isVisible());

  // Save As makes the current user the author, even of someone else's file.
  Form->Author = "Someone";
  user.Shells.push_back([&](TFormShell& shell) {
    EXPECT_EQ(shell.EditFileName->text(), "run.zod");
    Accept("copy.zod")(shell);
  });
  Form->ActionFileSaveAs->trigger();
  EXPECT_EQ(Form->FileName, docs + "copy.zod");
  EXPECT_EQ(Form->Author, "Tester");
  // Saving over another existing file asks first; "Отмена" keeps the window open.
  user.Replace = false;
  user.Shells.push_back(Accept("run.zod"));
  user.Shells.push_back([](TFormShell& shell) { shell.ButtonCancel->click(); });
  Form->ActionFileSaveAs->trigger();
  ASSERT_EQ(user.Questions.size(), 1);
  EXPECT_TRUE(user.Questions[0].contains("run.zod"));
  EXPECT_EQ(Form->FileName, docs + "copy.zod");
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}

TEST_F(FileCommands, RecentFilesKeepFiveDistinctFiles) {
  for (int i = 1; i <= 6; ++i) Form->AddRecentFile(docs + QString("f%1.zod").arg(i));
  EXPECT_EQ(Form->FileList[0].FileName, docs + "f6.zod");
  EXPECT_EQ(Form->FileList[4].FileName, docs + "f2.zod");  // f1 dropped
  // A file already listed moves up with its own menu text.
  Form->FileList[2].ShortFileName = "my text";
  Form->AddRecentFile(docs + "f4.zod");
  EXPECT_EQ(Form->FileList[0].FileName, docs + "f4.zod");
  EXPECT_EQ(Form->FileList[0].ShortFileName, "my text");
  EXPECT_EQ(Form->FileList[1].FileName, docs + "f6.zod");
  EXPECT_EQ(Form->FileList[4].FileName, docs + "f2.zod");
  // The menu entries carry the names; the commands stay usable.
  EXPECT_EQ(Form->MenuFileReload[0]->text(), "my text\tCtrl+1");
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(Form->MenuFileReload[i]->isVisible());
    EXPECT_EQ(Form->MenuLoadReload[i]->data().toInt(), i + 1);
  }
  Form->FileList[3].Visible = false;
  Form->FileList[3].ShortFileName = "a&b";
  Form->UpdateRecentMenu();
  EXPECT_FALSE(Form->MenuLoadReload[3]->isVisible());
  EXPECT_EQ(Form->MenuLoadReload[3]->text(), "a&&b\tCtrl+4");  // shown as it is, no accelerator
  for (QAction* a : {Form->ActionReload1, Form->ActionReload4})
    EXPECT_TRUE(a->isVisible() && a->isEnabled() && a->text().startsWith("ActionReload"));
}

TEST_F(FileCommands, FilesWhoseNamesDifferOnlyInLetterCaseAreTwoRecentFiles) {
  TUser user;
  Form->Step = 11;
  ASSERT_TRUE(Form->SaveDataFile(docs + "SAMPLE.ZOD"));
  Form->Step = 22;
  ASSERT_TRUE(Form->SaveDataFile(docs + "sample.zod"));
  user.Shells.push_back(Accept("SAMPLE.ZOD"));
  Press(Qt::Key_F3);
  EXPECT_EQ(Form->Step, 11);
  user.Shells.push_back(Accept("sample.zod"));
  Press(Qt::Key_F3);
  EXPECT_EQ(Form->Step, 22);
  EXPECT_EQ(Form->FileList[0].FileName, docs + "sample.zod");
  ASSERT_EQ(Form->FileList[1].FileName, docs + "SAMPLE.ZOD");
  Press(Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(Form->FileName, docs + "SAMPLE.ZOD");
  EXPECT_EQ(Form->Step, 11);
  Press(Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(Form->FileName, docs + "sample.zod");
  EXPECT_EQ(Form->Step, 22);
  EXPECT_EQ(user.ShellsSeen, 2);
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}

TEST_F(FileCommands, AVeryLongRecentNameIsShortenedSoTheFileMenuFitsWithItsKeys) {
  TUser user;
  const QString folder = docs + "repo/build/bin/";
  ASSERT_TRUE(QDir().mkpath(folder));
  Form->PathDocument = folder;
  const QString longName = QString(251, QLatin1Char('a')) + ".zod";  // 255 bytes, as long as a name can be
  user.Shells.push_back(Accept(longName));
  Press(Qt::Key_F4, Qt::ControlModifier);
  ASSERT_EQ(Form->FileName, folder + longName);
  user.Shells.push_back(Accept("fight_mutation.zod"));
  Press(Qt::Key_F4, Qt::ControlModifier);
  ASSERT_EQ(Form->FileName, folder + "fight_mutation.zod");
  // The folders left out are marked "…", never "..", which names a real folder.
  const QString shortEntry = Form->MenuFileReload[0]->text();
  EXPECT_TRUE(shortEntry.contains("…/fight_mutation.zod\tCtrl+1")) << shortEntry.toStdString();
  EXPECT_FALSE(shortEntry.contains("..")) << shortEntry.toStdString();
  // The long entry is shortened in its middle; the menu, keys and all, fits the screen.
  const QString longEntry = Form->MenuFileReload[1]->text();
  EXPECT_TRUE(longEntry.endsWith("aaa.zod\tCtrl+2")) << longEntry.toStdString();
  EXPECT_LT(longEntry.size(), longName.size());
  const QRect screen = Form->screen()->availableGeometry();
  Form->PopupMenuFile->popup(screen.topLeft());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form->PopupMenuFile));
  EXPECT_LE(Form->PopupMenuFile->width(), screen.width());
  EXPECT_TRUE(screen.contains(Form->PopupMenuFile->geometry())) << Form->PopupMenuFile->width();
  Form->PopupMenuFile->hide();
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}

TEST_F(FileCommands, ARecentFileChosenFromTheMenuBecomesTheCurrentFile) {
  TUser user;
  QMap<QString, int32_t> steps;  // what each file holds
  for (const char* name : {"a.zod", "b.zod", "c.zod", "d.zod", "e.zod"}) {
    Form->Step = static_cast<int32_t>(steps.size()) + 100;
    ASSERT_TRUE(Form->SaveDataFile(docs + name));
    steps[docs + name] = Form->Step;
  }
  auto bytes = [](const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  for (int entry = 2; entry <= 5; ++entry) {
    const QString chosen = Form->FileList[entry - 1].FileName;
    Form->MenuFileReload[entry - 1]->trigger();
    EXPECT_EQ(Form->FileName.toStdString(), chosen.toStdString()) << entry;
    EXPECT_EQ(Form->windowTitle(), ProgramTitle + " - " + QFileInfo(chosen).fileName());
    EXPECT_EQ(Form->Step, steps[chosen]);
    EXPECT_EQ(Form->FileList[0].FileName.toStdString(), chosen.toStdString());
    // Save writes the file that was opened, and no other.
    QMap<QString, QByteArray> before;
    for (const QString& name : steps.keys()) before[name] = bytes(name);
    Form->Step = steps[chosen] = 200 + entry;
    Form->ActionFileSave->trigger();
    for (const QString& name : steps.keys()) EXPECT_EQ(bytes(name) != before[name], name == chosen) << name.toStdString();
  }
  EXPECT_EQ(user.ShellsSeen, 0);
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}

TEST_F(FileCommands, AFileOfAnotherShapeComesInWholeThroughOpenRecentFilesAndF8) {
  TUser user;
  // A field of 30 rows and 70 columns with something in every column.
  FormParameter->SetFieldSize(30, 70);
  for (int c = 0; c < 70; ++c) Form->Resource->AddAmount(0, (c * 7) % 30, c, c + 1);
  for (int c = 3; c < 70; c += 5) Form->Plant->Place(0, (c * 11) % 30, c);
  ASSERT_TRUE(Form->SaveDataFile(docs + "wide.zod"));
  const TResourceObject resource = *Form->Resource;
  const TPlantObject plant = *Form->Plant;
  auto narrow = [&] {
    FormParameter->SetFieldSize(20, 10);
    ASSERT_EQ(Form->Resource->ColCount, 10);
  };
  auto sameAsTheFile = [&](const char* how) {
    ASSERT_EQ(Form->Resource->RowCount, 30) << how;
    ASSERT_EQ(Form->Resource->ColCount, 70) << how;
    ASSERT_EQ(Form->Plant->RowCount, 30) << how;
    ASSERT_EQ(Form->Plant->ColCount, 70) << how;
    EXPECT_EQ(FormParameter->UpDownR->value(), 30) << how;
    EXPECT_EQ(FormParameter->UpDownC->value(), 70) << how;
    EXPECT_EQ(FormView->DrawGridField->ColCount(), 70) << how;
    int differing = 0;
    for (int r = 0; r < 30; ++r)
      for (int c = 0; c < 70; ++c)
        differing += Form->Resource->Amount(0, r, c) != resource.Amount(0, r, c) ||
                     Form->Plant->Field(r, c).Mass != plant.Field(r, c).Mass ||
                     Form->Plant->Field(r, c).Species != plant.Field(r, c).Species;
    EXPECT_EQ(differing, 0) << how;
    EXPECT_EQ(Form->Plant->Params[0].Const.Count, plant.Params[0].Const.Count) << how;
  };
  narrow();
  user.Shells.push_back(PickAndAccept("wide.zod"));
  Form->ActionFileLoad->trigger();
  sameAsTheFile("Open");
  narrow();
  Form->MenuLoadReload[0]->trigger();
  sameAsTheFile("recent file");
  narrow();
  Form->ActionFieldUndo->trigger();
  sameAsTheFile("F8");
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}

TEST_F(FileCommands, OpenRecentFilesAndF8LeaveTheBrushesOnTheirEntries) {
  TUser user;
  ASSERT_TRUE(Form->SaveDataFile(docs + "one.zod"));  // one resource, one species
  for (const char* name : {"B", "C"}) {
    Form->Resource->Add(name, 10, 0, clRed);
    FormParameter->AddResource(name);
    FormParameter->AddPlant(NewPlantParameter(name, TGenome(1, 1, 5, 10, 3, 10, 0, 0), clLime, clRed));
  }
  ASSERT_TRUE(Form->SaveDataFile(docs + "three.zod"));
  auto brushes = [&](int resource, int plant, const char* how) {
    EXPECT_EQ(Form->SubBrushResource, resource) << how;
    EXPECT_EQ(Form->SubBrushPlant, plant) << how;
    EXPECT_TRUE(FormView->PopupMenuResource->actions().at(resource)->isChecked()) << how;
    EXPECT_TRUE(FormView->PopupMenuPlant->actions().at(plant)->isChecked()) << how;
  };
  Form->SubBrushResource = 2;
  Form->SubBrushPlant = 1;
  user.Shells.push_back(PickAndAccept("three.zod"));
  Form->ActionFileLoad->trigger();
  brushes(2, 1, "Open");
  EXPECT_EQ(FormView->ToolButtonResource->toolTip(), "Ресурс: C");
  Form->MenuFileReload[0]->trigger();
  brushes(2, 1, "recent file");
  Form->ActionFieldUndo->trigger();
  brushes(2, 1, "F8");
  // A file with fewer entries brings an index past its lists back inside them.
  Form->MenuFileReload[1]->trigger();
  ASSERT_EQ(Form->FileName, docs + "one.zod");
  brushes(0, 0, "one entry each");
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}

TEST_F(FileCommands, KeysReachTheirCommandsWhileAMenuButtonHasTheFocus) {
  TUser user;
  for (int i = 0; i < 5; ++i) {
    Form->Step = 10 + i;
    ASSERT_TRUE(Form->SaveDataFile(docs + QString("k%1.zod").arg(i)));
  }
  Form->show();
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
  QToolButton* fileButton = nullptr;
  QToolButton* viewButton = nullptr;
  for (auto* b : Form->ToolBarMenu->findChildren<QToolButton*>()) {
    if (b->text() == "Файл") fileButton = b;
    if (b->text() == "Вид") viewButton = b;
  }
  ASSERT_TRUE(fileButton && viewButton);
  fileButton->setFocus();
  ASSERT_TRUE(fileButton->hasFocus());
  for (int k = 5; k >= 1; --k) {
    const QString listed = Form->FileList[k - 1].FileName;
    QTest::keyClick(Form, Qt::Key(Qt::Key_1 + k - 1), Qt::ControlModifier);
    EXPECT_EQ(Form->FileName.toStdString(), listed.toStdString()) << "Ctrl+" << k;
  }
  Form->Comment = {"Комментарий", "(information line)"};
  Form->ActionViewComment->setEnabled(true);
  viewButton->setFocus();
  QTest::keyClick(Form, Qt::Key_F12);
  EXPECT_TRUE(FormComment && FormComment->isVisible());
  if (FormComment) FormComment->hide();
  // Every key of the program has one owner; the menu entries only show theirs.
  QMap<QString, QStringList> owners;
  for (QAction* a : Form->findChildren<QAction*>())
    if (!a->shortcut().isEmpty()) owners[a->shortcut().toString()] << a->text();
  EXPECT_EQ(owners.size(), Form->ActionList.size() - 1);  // every command but the theory page has a key
  for (auto it = owners.cbegin(); it != owners.cend(); ++it)
    EXPECT_EQ(it.value().size(), 1) << it.key().toStdString() << ": " << it.value().join(", ").toStdString();
  EXPECT_TRUE(Form->MenuFileReload[0]->text().endsWith("\tCtrl+1"));
}

TEST_F(FileCommands, ARefusedFileLeavesTheModelAndTheCurrentFile) {
  TUser user;
  // A good file, then the same file cut in the middle of its cells.
  Form->Resource->AddAmount(0, 1, 1, 7);
  ASSERT_TRUE(Form->SaveDataFile(docs + "good.zod"));
  QFile good(docs + "good.zod");
  ASSERT_TRUE(good.open(QIODevice::ReadOnly));
  QByteArray bytes = good.readAll();
  QFile cut(docs + "cut.zod");
  ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
  cut.write(bytes.left(bytes.size() / 2));
  cut.close();
  QFile later(docs + "later.zod");
  ASSERT_TRUE(later.open(QIODevice::WriteOnly));
  later.write("[Author]\r\nX\r\nY\r\n[FileDataVersion]\r\n0.6\r\n");
  later.close();

  // The model the user has in front of them.
  Form->FileName = docs + "mine.zod";
  Form->setWindowTitle("before");
  Form->Step = 33;
  Form->Comment = {"kept", "info"};
  Form->Resource->AddAmount(0, 3, 3, 99);
  Form->Plant->Place(0, 2, 2);
  const auto recent = Form->FileList[0].FileName;
  const QString view = FormView->windowTitle();
  for (const char* name : {"cut.zod", "later.zod"}) {
    user.Shells.push_back(PickAndAccept(name));
    Form->ActionFileLoad->trigger();
    EXPECT_EQ(Form->FileName, docs + "mine.zod");
    EXPECT_EQ(Form->windowTitle(), "before");
    EXPECT_EQ(FormView->windowTitle(), view);
    EXPECT_EQ(Form->Step, 33);
    EXPECT_EQ(Form->Comment.size(), 2u);
    EXPECT_EQ(Form->Resource->Amount(0, 3, 3), 99);
    EXPECT_EQ(Form->Resource->Amount(0, 1, 1), 7);
    EXPECT_GT(Form->Plant->Field(2, 2).Mass, 0);
    EXPECT_EQ(Form->Plant->Params[0].Const.Count, 1);
    EXPECT_EQ(Form->FileList[0].FileName, recent);
    EXPECT_EQ(FormParameter->ListBoxResource->count(), 1);
  }
  ASSERT_EQ(user.Pages.size(), 2);
  EXPECT_TRUE(user.Pages[0].contains("неверный формат данных"));
  EXPECT_TRUE(user.Pages[1].contains("более поздний формат"));

  // A recent file that is gone: "не найден", nothing else; an empty recent entry: nothing at all.
  Form->FileList[0] = {docs + "gone.zod", "gone.zod", true};
  Form->ActionReload1->trigger();
  Form->ActionReload3->trigger();
  ASSERT_EQ(user.Pages.size(), 3);
  EXPECT_TRUE(user.Pages[2].contains("gone.zod\" не найден"));
  EXPECT_EQ(Form->FileName, docs + "mine.zod");
  EXPECT_EQ(Form->Step, 33);
}

// The key of a recent entry that holds no file does nothing: no message, and
// the current file and the model stay; the key of the one entry opens it.
TEST_F(FileCommands, RecentFileKeysWithoutAnEntryDoNothing) {
  TUser user;
  Form->Step = 5;
  ASSERT_TRUE(Form->SaveDataFile(docs + "only.zod"));
  ASSERT_EQ(Form->FileList[0].FileName, docs + "only.zod");
  Form->FileName = docs + "mine.zod";
  Form->Step = 9;
  for (Qt::Key key : {Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5}) {
    Press(key, Qt::ControlModifier);
    EXPECT_EQ(Form->FileName, docs + "mine.zod") << key;
    EXPECT_EQ(Form->Step, 9) << key;
  }
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
  Press(Qt::Key_1, Qt::ControlModifier);
  EXPECT_EQ(Form->FileName, docs + "only.zod");
  EXPECT_EQ(Form->Step, 5);
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}

TEST_F(FileCommands, ExportThenImportIntoAnEmptyModel) {
  TUser user;
  Form->Resource->Add("Вода", 5, 50, 0xFF0000);
  FormParameter->AddResource("Вода");
  TPlantParameter fish = NewPlantParameter("Рыба", TGenome(2, 1, 4, 9, 2, 15, 1, 1), 0x00FF00, 0x0000FF);
  FormParameter->AddPlant(fish);
  ASSERT_EQ(Form->Resource->Count, 2);
  ASSERT_EQ(Form->Plant->Count, 2);
  // Tick "Вода" and "Рыба" only.
  user.Shells.push_back([](TFormShell& shell) {
    TFrameImport* frame = shell.FrameImport;
    ASSERT_EQ(frame->CheckListBox->Count(), 6);
    frame->CheckListBox->SetChecked(frame->ResourceStart + 1, true);
    frame->CheckListBox->SetChecked(frame->PlantStart + 1, true);
    Accept("set")(shell);
  });
  Form->ActionFileExport->trigger();
  ASSERT_TRUE(QFile::exists(docs + "set.zor"));

  // An empty model: no species, no resources.
  FormParameter->DeletePlant(1);
  FormParameter->DeletePlant(0);
  ASSERT_TRUE(FormParameter->DeleteResource(1));
  ASSERT_TRUE(FormParameter->DeleteResource(0));
  ASSERT_EQ(Form->Resource->Count, 0);
  user.Shells.push_back(PickAndAccept("set.zor", [](TFormShell& shell) {
    ASSERT_TRUE(shell.FrameImport->isVisible());
    shell.FrameImport->ActionSelectAll->trigger();
  }));
  Form->ActionFileImport->trigger();
  ASSERT_EQ(Form->Resource->Count, 1);
  EXPECT_EQ(Form->Resource->Params[0].Name, "Вода");
  EXPECT_EQ(Form->Resource->Params[0].Slur, 50);
  ASSERT_EQ(Form->Plant->Count, 1);
  EXPECT_EQ(Form->Plant->Params[0].Const.Name, "Рыба");
  EXPECT_EQ(Form->Plant->Params[0].Param.Mutation(), 15);
  EXPECT_EQ(Form->Plant->Params[0].Param.ResourceIn(), 0);  // "Вода", now resource 0
  EXPECT_EQ(FormParameter->ListBoxPlant->item(0)->text(), "Рыба");
  // The statistics are laid out for the imported lists, the charts on their first item.
  EXPECT_EQ(FormStatistic->StringGridMain->rowCount(), 12);
  EXPECT_EQ(FormStatistic->ComboBoxHistory->currentIndex(), 0);
  EXPECT_EQ(FormView->ToolButtonPlant->toolTip(), "Организм: Рыба");
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}

TEST_F(FileCommands, AListedFileWhoseExtensionDiffersInCaseIsTheFileTaken) {
  TUser user;
  Form->Step = 21;
  ASSERT_TRUE(Form->SaveDataFile(docs + "SAMPLE.ZOD"));
  Form->Step = 0;
  user.Shells.push_back(PickAndAccept("SAMPLE.ZOD"));
  Form->ActionFileLoad->trigger();
  EXPECT_EQ(Form->FileName, docs + "SAMPLE.ZOD");
  EXPECT_EQ(Form->Step, 21);
  // Save As keeps a typed extension in its own letter case.
  user.Shells.push_back(Accept("Copy.Zod"));
  Form->ActionFileSaveAs->trigger();
  EXPECT_EQ(Form->FileName, docs + "Copy.Zod");
  EXPECT_TRUE(QFile::exists(docs + "Copy.Zod"));
  // A set named in capitals imports.
  Form->Resource->Add("Глина", 3, 30, 0x0000FF);
  FormParameter->AddResource("Глина");
  ASSERT_TRUE(ExportResourceSet((docs + "SET.ZOR").toStdString(), *Form->Resource, *Form->Plant, {{false, true}, {}}));
  ASSERT_TRUE(FormParameter->DeleteResource(1));
  user.Shells.push_back(PickAndAccept("SET.ZOR", [](TFormShell& shell) { shell.FrameImport->ActionSelectAll->trigger(); }));
  Form->ActionFileImport->trigger();
  ASSERT_EQ(Form->Resource->Count, 2);
  EXPECT_EQ(Form->Resource->Params[1].Name, "Глина");
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}

TEST_F(FileCommands, ImportAddsExactlyTheTickedRowsOfTheSetTheListShows) {
  TUser user;
  auto write = [&](const QString& name, const QByteArray& text) {
    QFile f(docs + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(text).replace("\n", "\r\n"));
  };
  write("clay.zor", "[FileDataVersion]\n0.5.2\n[ResourceCount]\n1\n[Resource0]\nClay\n1\n2\n3\n[PlantCount]\n0\n");
  // The first record's tag is out of place: the list shows Grass, Sand and
  // Water as rows 0, 1 and 2, though they are the records numbered 1, 2 and 3.
  write("mixed.zor",
        "[FileDataVersion]\n0.5.2\n[ResourceCount]\n4\n[Resource4]\n[Resource1]\nGrass\n1\n1\n1\n"
        "[Resource2]\nSand\n2\n2\n2\n[Resource3]\nWater\n7\n30\n255\n[PlantCount]\n0\n");
  QStringList shown;
  user.Shells.push_back([&](TFormShell& shell) {
    // Everything of the set the list shows is ticked, then another set is named.
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.ShellListView->Select("clay.zor"); }, 10000));
    shell.ShellListViewClick();
    shell.FrameImport->ActionSelectAll->trigger();
    shell.EditFileName->setText("mixed.zor");
    shell.ButtonYes->click();
    // The window stays, the list now shows that set with nothing ticked.
    ASSERT_TRUE(shell.isVisible());
    EXPECT_EQ(shell.ShellListView->SelectedName(), "mixed.zor");
    TCheckListBox* list = shell.FrameImport->CheckListBox;
    ASSERT_TRUE(shell.FrameImport->isVisible());
    for (int i = 0; i < list->Count(); ++i) {
      shown << list->Text(i);
      EXPECT_FALSE(list->Checked(i));
    }
    list->SetChecked(shown.indexOf("Water"), true);
    shell.ButtonYes->click();
  });
  Form->ActionFileImport->trigger();
  EXPECT_EQ(shown, (QStringList{"Ресурсы", "Grass", "Sand", "Water"}));
  ASSERT_EQ(Form->Resource->Count, 2);
  EXPECT_EQ(Form->Resource->Params[1].Name, "Water");
  EXPECT_EQ(Form->Resource->Params[1].BrushValue, 7);
  EXPECT_EQ(Form->Resource->Params[1].Slur, 30);
  EXPECT_EQ(FormParameter->ListBoxResource->count(), 2);
}

namespace {

// Ticks the rows of the file window's check list that show these names, by
// the keys: the row made current, then the space bar.
void TickRows(TFormShell& shell, const QStringList& names) {
  TCheckListBox* list = shell.FrameImport->CheckListBox;
  list->setFocus();
  for (int row = 0; row < list->Count(); ++row)
    if (names.contains(list->Text(row)) && !list->Header(row)) {
      list->setCurrentRow(row);
      QTest::keyClick(list, Qt::Key_Space);
    }
}

QStringList ResourceNames(const TMainForm& form) {
  QStringList out;
  for (const TResourceParameter& p : form.Resource->Params) out << QString::fromStdString(p.Name);
  return out;
}

QStringList PlantNames(const TMainForm& form) {
  QStringList out;
  for (const TPlantParameter& p : form.Plant->Params) out << QString::fromStdString(p.Const.Name);
  return out;
}

QStringList Listed(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

// Writes a set whose lines are given ending in "\n".
void WriteSet(const QString& path, const QByteArray& lines) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(lines).replace("\n", "\r\n"));
}

// Imports a set by Ctrl+M with the rows of these names ticked; `shown` gets
// the rows the list showed.
void ImportTicked(TMainForm* form, TUser& user, const QString& set, const QStringList& ticked,
                  QStringList* shown = nullptr) {
  user.Shells.push_back(PickAndAccept(set, [=](TFormShell& shell) {
    if (shown)
      for (int i = 0; i < shell.FrameImport->CheckListBox->Count(); ++i)
        *shown << shell.FrameImport->CheckListBox->Text(i);
    TickRows(shell, ticked);
  }));
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  QTest::keyClick(form, Qt::Key_M, Qt::ControlModifier);
}

}  // namespace

TEST_F(FileCommands, AnImportThatStopsPartWaySaysHowManyCameInAndWhy) {
  TUser user;
  Form->show();
  WriteSet(docs + "three.zor",
           "[FileDataVersion]\n0.5.2\n[ResourceCount]\n3\n[Resource0]\nX\n1\n2\n3\n[Resource1]\nY\n1\n2\n3\n"
           "[Resource2]\nW\n1\n2\n3\n[PlantCount]\n1\n[Plant0]\nZ\nX\nX\n1\n2\n3\n4\n5\n6\n7\n8\n");
  const auto importAll = [&] { ImportTicked(Form, user, "three.zor", {"X", "Y", "W", "Z"}); };
  // A field of 1000 x 500 takes 2 MB a layer, and no block above 6 MB is to be
  // had: the layer of X fits beside the one there is, the layer of Y does not.
  FormParameter->SetFieldSize(500, 1000);
  FailAllocationsLargerThan(size_t{6} << 20);
  importAll();
  EXPECT_TRUE(StopFailingAllocations());
  EXPECT_EQ(ResourceNames(*Form), (QStringList{"Ресурс Yellow", "X"}));
  EXPECT_EQ(Listed(FormParameter->ListBoxResource), ResourceNames(*Form));
  EXPECT_EQ(PlantNames(*Form), (QStringList{"Организм Lime"}));
  EXPECT_EQ(Listed(FormParameter->ListBoxPlant), PlantNames(*Form));
  const QString from = "Из набора \"" + docs + "three.zor\" добавлено записей: ";
  ASSERT_EQ(user.Pages.size(), 1);
  EXPECT_TRUE(user.Pages[0].startsWith("Ошибка: ")) << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[0].contains(from + "1.")) << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[0].contains("Для остальных отмеченных записей (3) не хватает памяти. Импорт остановлен."));

  // At the limit: Y is the last resource that comes in, W does not; Z does.
  FormParameter->SetFieldSize(5, 10);
  FormParameter->BeginListChanges();
  while (Form->Resource->Count < MaxItemCount - 1) {
    const std::string name = "R" + std::to_string(Form->Resource->Count);
    Form->Resource->Add(name, 1, 0, clYellow);
    FormParameter->AddResource(QString::fromStdString(name));
  }
  FormParameter->EndListChanges();
  user.Pages.clear();
  importAll();
  EXPECT_EQ(Form->Resource->Count, MaxItemCount);
  EXPECT_EQ(Form->Resource->Params.back().Name, "Y");
  EXPECT_EQ(PlantNames(*Form), (QStringList{"Организм Lime", "Z"}));
  ASSERT_EQ(user.Pages.size(), 1);
  EXPECT_TRUE(user.Pages[0].startsWith("Информация: ")) << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[0].contains(from + "2.")) << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[0].contains("Не добавлено ресурсов: 1. Больше 1000 ресурсов программа не допускает."));
}

TEST_F(FileCommands, ASetWithABrokenNumberListsEveryRecordAndOnlyATickedNewBrokenOneStopsTheImport) {
  TUser user;
  Form->show();
  // B's brush value reads "x".
  WriteSet(docs + "broken.zor",
           "[FileDataVersion]\n0.5.2\n[ResourceCount]\n3\n[Resource0]\nA\n1\n2\n3\n[Resource1]\nB\nx\n2\n3\n"
           "[Resource2]\nC\n4\n5\n6\n[PlantCount]\n2\n[Plant0]\nP\nC\nC\n1\n2\n3\n4\n5\n6\n7\n8\n"
           "[Plant1]\nQ\nA\nA\n1\n2\n3\n4\n5\n6\n7\n8\n");
  const auto import = [&](const QStringList& ticked, QStringList* shown = nullptr) {
    ImportTicked(Form, user, "broken.zor", ticked, shown);
  };
  // Every record is listed; B, unticked, stops nothing.
  QStringList shown;
  import({"A", "C", "P"}, &shown);
  EXPECT_EQ(shown, (QStringList{"Ресурсы", "A", "B", "C", "Организмы", "P", "Q"}));
  EXPECT_EQ(ResourceNames(*Form), (QStringList{"Ресурс Yellow", "A", "C"}));
  EXPECT_EQ(PlantNames(*Form), (QStringList{"Организм Lime", "P"}));
  EXPECT_EQ(Form->Plant->Params[1].Param.ResourceIn(), 2);
  EXPECT_EQ(Form->Resource->Params[2].BrushValue, 4);
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
  // B ticked and new: the import stops there, and says so.
  import({"A", "B", "C", "P", "Q"});
  EXPECT_EQ(ResourceNames(*Form), (QStringList{"Ресурс Yellow", "A", "C"}));
  EXPECT_EQ(PlantNames(*Form), (QStringList{"Организм Lime", "P"}));
  ASSERT_EQ(user.Pages.size(), 1);
  EXPECT_TRUE(user.Pages[0].startsWith("Ошибка: ")) << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[0].contains("Из набора \"" + docs + "broken.zor\" добавлено записей: 0."));
  EXPECT_TRUE(user.Pages[0].contains("Запись \"B\" в наборе повреждена: в ней не число там, где должно быть число. "
                                     "Импорт остановлен на ней, не добавлено записей: 2."))
      << user.Pages[0].toStdString();
  // B ticked, but the model has a B: it is left alone, and Q comes in.
  user.Pages.clear();
  Form->Resource->Add("B", 9, 9, clRed);
  FormParameter->AddResource("B");
  import({"A", "B", "C", "P", "Q"});
  EXPECT_EQ(PlantNames(*Form), (QStringList{"Организм Lime", "P", "Q"}));
  EXPECT_EQ(Form->Resource->Params[3].BrushValue, 9);
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
  // Nothing ticked: nothing comes in, and the report says why.
  import({});
  EXPECT_EQ(ResourceNames(*Form), (QStringList{"Ресурс Yellow", "A", "C", "B"}));
  EXPECT_EQ(PlantNames(*Form), (QStringList{"Организм Lime", "P", "Q"}));
  ASSERT_EQ(user.Pages.size(), 1);
  EXPECT_TRUE(user.Pages[0].startsWith("Информация: ")) << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[0].contains("Из набора \"" + docs + "broken.zor\" ничего не добавлено: не отмечено ни одной записи."))
      << user.Pages[0].toStdString();
  // Only a species ticked: it comes in, and nothing is said.
  user.Pages.clear();
  FormParameter->DeletePlant(2);
  import({"Q"});
  EXPECT_EQ(PlantNames(*Form), (QStringList{"Организм Lime", "P", "Q"}));
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
  // A set exported with nothing ticked holds no records, and the report says so.
  user.Shells.push_back(TypeAndReturn("empty"));
  Press(Qt::Key_E, Qt::ControlModifier);
  ImportTicked(Form, user, "empty.zor", {});
  ASSERT_EQ(user.Pages.size(), 1);
  EXPECT_TRUE(user.Pages[0].startsWith("Информация: ")) << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[0].contains("Из набора \"" + docs + "empty.zor\" ничего не добавлено: в наборе нет ни одной записи."))
      << user.Pages[0].toStdString();
}

TEST_F(FileCommands, TypedPathsAreTakenWholeAndCleaned) {
  TUser user;
  QDir().mkpath(docs + "sub");
  QDir().mkpath(docs + "data");
  Form->PathDocument = docs + "sub/";
  // A full path is the file saved, whatever folder the window shows.
  user.Shells.push_back(Accept(docs + "data/my1.zod"));
  Form->ActionFileSaveAs->trigger();
  EXPECT_EQ(Form->FileName, docs + "data/my1.zod");
  EXPECT_TRUE(QFile::exists(docs + "data/my1.zod"));
  // The same file by a path with "." and "..": one file, one recent entry.
  user.Shells.push_back(Accept("../data/./my1.zod"));
  Form->ActionFileLoad->trigger();
  EXPECT_EQ(Form->FileName, docs + "data/my1.zod");
  EXPECT_EQ(Form->FileList[0].FileName, docs + "data/my1.zod");
  for (int i = 1; i < 5; ++i) EXPECT_FALSE(Form->FileList[i].FileName.contains("my1")) << i;
  // Export and import by relative paths: the import window shows the set first.
  user.Shells.push_back([](TFormShell& shell) {
    shell.FrameImport->ActionSelectAll->trigger();
    Accept("..//data/set")(shell);
  });
  Form->ActionFileExport->trigger();
  EXPECT_TRUE(QFile::exists(docs + "data/set.zor"));
  FormParameter->DeletePlant(0);
  user.Shells.push_back([](TFormShell& shell) {
    Accept("../data/set.zor")(shell);
    ASSERT_TRUE(shell.isVisible());
    shell.FrameImport->ActionSelectAll->trigger();
    shell.ButtonYes->click();
  });
  Form->ActionFileImport->trigger();
  ASSERT_EQ(Form->Plant->Count, 1);
  EXPECT_EQ(Form->Plant->Params[0].Const.Name, "Организм Lime");
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}

TEST_F(FileCommands, PicturesOfTheFieldAndTheCharts) {
  TUser user;
  Form->Resource->AddAmountEverywhere(0, 100);
  auto shot = [&](const QString& name, QRadioButton* TFrameSaveShot::*choice, int quality) {
    user.Shells.push_back([=](TFormShell& shell) {
      (shell.FrameSaveShot->*choice)->click();
      shell.FrameSaveShot->TrackBar->setValue(quality);
      Accept(name)(shell);
    });
    Form->ActionFieldSaveShot->trigger();
  };
  shot("field90", &TFrameSaveShot::RadioButtonView, 90);
  shot("field30", &TFrameSaveShot::RadioButtonView, 30);
  TJpegImage picture;
  std::string error;
  ASSERT_TRUE(JpegReadFile((docs + "field90.jpg").toStdString(), picture, &error)) << error;
  TDrawGrid* grid = FormView->DrawGridField;
  EXPECT_EQ(picture.Width, grid->width());
  EXPECT_EQ(picture.Height, grid->height());
  EXPECT_LT(QFileInfo(docs + "field30.jpg").size(), QFileInfo(docs + "field90.jpg").size());
  // A cell in the middle of the view has the resource's colour, within JPEG error.
  const QRect cell = grid->CellRect(2, 2);
  const double sx = double(grid->width()) / grid->viewport()->width();
  const double sy = double(grid->height()) / grid->viewport()->height();
  const int x = int((cell.center().x() + 0.5) * sx), y = int((cell.center().y() + 0.5) * sy);
  const QColor want = QColor::fromRgb(PaintRgb(Form->Resource->GetColor(2, 2)));
  const uint8_t* p = &picture.Pixels[(size_t(y) * picture.Width + x) * 3];
  EXPECT_NEAR(p[0], want.red(), 24);
  EXPECT_NEAR(p[1], want.green(), 24);
  EXPECT_NEAR(p[2], want.blue(), 24);

  // A chart: its page is shown and stays shown; the picture has the chart's size.
  shot("stat", &TFrameSaveShot::RadioButtonStat, 70);
  EXPECT_EQ(FormStatistic->PageControl->currentIndex(), 2);
  ASSERT_TRUE(JpegReadFile((docs + "stat.jpg").toStdString(), picture, &error)) << error;
  EXPECT_EQ(picture.Width, FormStatistic->ChartStat->width());
  EXPECT_EQ(picture.Height, FormStatistic->ChartStat->height());
  shot("history", &TFrameSaveShot::RadioButtonHistory, 70);
  EXPECT_EQ(FormStatistic->PageControl->currentIndex(), 3);
  EXPECT_TRUE(QFile::exists(docs + "history.jpg"));
  // Taken from another page, a chart's picture is what the window shows once
  // that page is up: the axes follow the refreshes that came while the page
  // was hidden. So with the window shown or hidden, and so for the field view.
  auto same = [&](const QString& a, const QString& b) {
    QFile fa(docs + a + ".jpg"), fb(docs + b + ".jpg");
    return fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly) && fa.readAll() == fb.readAll();
  };
  FormStatistic->show();
  FormView->show();
  for (const bool shown : {true, false}) {
    FormStatistic->setVisible(shown);
    FormView->setVisible(shown);
    for (const auto& [name, choice] : {std::pair{QString("h"), &TFrameSaveShot::RadioButtonHistory},
                                       std::pair{QString("s"), &TFrameSaveShot::RadioButtonStat},
                                       std::pair{QString("f"), &TFrameSaveShot::RadioButtonView}}) {
      FormStatistic->PageControl->setCurrentIndex(1);
      for (int n = 1; n <= 5; ++n) {
        Form->Step += 100;
        Form->Plant->Place(0, n + 3 * shown, n);
        CalcAverages(*Form->Plant);
        Form->Resource->AddAmount(0, n, 2 * n, 500);
        FormStatistic->UpdateView();
      }
      shot(name + "1", choice, 70);
      QApplication::processEvents();
      shot(name + "2", choice, 70);
      EXPECT_TRUE(same(name + "1", name + "2")) << name.toStdString() << (shown ? " shown" : " hidden");
    }
  }

  // A picture that cannot be written: the error page, and the folder is not kept.
  QDir().mkpath(docs + "sub/taken.jpg");
  Form->PathSaveShot = docs + "sub/";
  shot("taken", &TFrameSaveShot::RadioButtonView, 70);
  ASSERT_EQ(user.Pages.size(), 1);
  EXPECT_TRUE(user.Pages[0].contains("не удалось сохранить"));
  EXPECT_EQ(Form->PathSaveShot, docs + "sub/");
  // Cancelling keeps the folder the user went to.
  Form->PathSaveShot = docs;
  user.Shells.push_back([&](TFormShell& shell) {
    shell.ShellTreeView->SetPath(docs + "sub");
    shell.ButtonCancel->click();
  });
  Form->ActionFieldSaveShot->trigger();
  EXPECT_EQ(Form->PathSaveShot, docs + "sub/");
}

TEST_F(FileCommands, TheOpenButtonShowsTheRecentFilesOnARightClick) {
  QWidget* button = Form->ToolBar->widgetForAction(Form->ToolButtonLoad);
  ASSERT_NE(button, nullptr);
  auto* tool = qobject_cast<QToolButton*>(button);
  ASSERT_NE(tool, nullptr);
  EXPECT_EQ(tool->menu(), nullptr);  // no arrow of its own
  EXPECT_EQ(tool->text(), "Открыть...");
  Form->show();
  QApplication::processEvents();
  const QPoint at(5, 5);
  QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::RightButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(button, &release);
  EXPECT_TRUE(Form->PopupMenuLoad->isVisible());
  EXPECT_EQ(Form->PopupMenuLoad->pos(), Form->ToolBar->mapToGlobal(button->geometry().bottomLeft() + QPoint(0, 1)));
  Form->PopupMenuLoad->hide();
}

// A fresh start: each of the five file windows opens with the tree at 177 and
// the side panel at 215 beside the whole type line, and Escape stores no
// width the user did not set. The comment preview keeps its heading whole at
// the default width, and its whole text in a panel the user made narrow,
// whose width is kept.
TEST_F(FileCommands, FileWindowsOpenAtTheDefaultWidthsAndKeepOnlyWidthsTheUserSet) {
  TUser user;
  QTemporaryDir program;
  ASSERT_TRUE(program.isValid());
  const QString ini = program.path() + "/omra.ini";
  SetProgramFolderOverride(program.path() + "/");
  SetSettingsFileInUse(true);
  const auto restore = qScopeGuard([] {
    SetSettingsFileInUse(false);
    SetProgramFolderOverride(TestProgramFolder());
  });
  ASSERT_TRUE(QFile::copy(TestProgramFolder() + "fight_mutation.zod", docs + "sample.zod"));
  auto stored = [&](const QString& prefix, const char* key) {
    return TIniFile(ini.toStdString()).ValueExists("FormShell", (prefix + "." + key).toStdString());
  };
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, QString> commands[] = {
      {Qt::Key_F3, Qt::NoModifier, "OpenBrowser"}, {Qt::Key_F4, Qt::ControlModifier, "Save"},
      {Qt::Key_M, Qt::ControlModifier, "Import"},  {Qt::Key_E, Qt::ControlModifier, "Export"},
      {Qt::Key_S, Qt::ControlModifier, "SaveShot"}};
  for (const auto& [key, modifiers, prefix] : commands) {
    bool panel = false;
    user.Shells.push_back([&](TFormShell& shell) {
      EXPECT_EQ(shell.IniPrefix, prefix);
      EXPECT_EQ(shell.ShellTreeView->width(), 177) << prefix.toStdString();
      panel = !shell.PanelSub->isHidden();
      if (panel) {
        EXPECT_EQ(shell.PanelSub->width(), 215) << prefix.toStdString();
      }
      QTest::keyClick(&shell, Qt::Key_Escape);
    });
    Press(key, modifiers);
    EXPECT_EQ(panel, prefix != "Save") << prefix.toStdString();
    for (const char* width : {"Width", "ShellTreeView", "PanelSubWidth"})
      EXPECT_FALSE(stored(prefix, width)) << prefix.toStdString() << "." << width;
  }

  // The heading "Комментарии" stays one line at the default width.
  auto headingLines = [](THtmlView* view) {
    for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next())
      if (b.text().trimmed() == "Комментарии") {
        view->document()->documentLayout()->blockBoundingRect(b);
        return b.layout()->lineCount();
      }
    return 0;
  };
  int narrow = 0;
  user.Shells.push_back([&](TFormShell& shell) {
    TShellListView* list = shell.ShellListView;
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->Select("sample.zod"); }, 10000));
    const QRect item = list->visualRect(list->currentIndex());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    THtmlView* page = shell.FrameOpenBrowser->WebBrowser;
    ASSERT_TRUE(shell.FrameOpenBrowser->isVisible());
    EXPECT_EQ(headingLines(page), 1);
    // The handle left of the panel, dragged 110 pixels to the right.
    QSplitterHandle* handle = shell.Splitter->handle(2);
    const QPoint from = handle->rect().center(), to = from + QPoint(110, 0);
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
      QMouseEvent e(type, at, handle->mapToGlobal(at), button, buttons, Qt::NoModifier);
      QApplication::sendEvent(handle, &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    narrow = shell.PanelSub->width();
    EXPECT_LT(narrow, 215 - 100);
    EXPECT_EQ(WrapFault(page).toStdString(), "");
    QTest::keyClick(&shell, Qt::Key_Escape);
  });
  Press(Qt::Key_F3);
  EXPECT_EQ(user.ShellsSeen, 6);
  EXPECT_EQ(TIniFile(ini.toStdString()).ReadInteger("FormShell", "OpenBrowser.PanelSubWidth", 0), narrow);
  EXPECT_FALSE(stored("OpenBrowser", "ShellTreeView"));
  EXPECT_FALSE(stored("OpenBrowser", "Width"));
}

// Every page window shows its whole text, however narrow: lines break between
// words, and inside a word only where that word alone is wider than the line
// (a long path), in headings, table cells, preformatted and "<nobr>" text
// alike, and no page scrolls sideways. The error page about a missing recent
// file with a path of 326 characters shows its sentence to its end.
TEST_F(FileCommands, PagesBreakAWordOnlyWhereItIsWiderThanTheLine) {
  TUser user;
  QStringList faults;
  user.Page = [&](TFormHelp& page) {
    if (const QString fault = WrapFault(page.WebBrowser); !fault.isEmpty()) faults << page.windowTitle() + ": " + fault;
  };
  QString path = docs;
  while (path.size() < 326 - 100) path += QString(80, QLatin1Char('p')) + "/";
  path += QString(326 - 4 - path.size(), QLatin1Char('f')) + ".zod";
  ASSERT_EQ(path.size(), 326);
  Form->AddRecentFile(path);
  Press(Qt::Key_1, Qt::ControlModifier);
  // An information page: a name refused in Save As.
  user.Shells.push_back([](TFormShell& shell) {
    QTest::keyClick(shell.EditFileName, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(shell.EditFileName, "...");
    QTest::keyClick(shell.EditFileName, Qt::Key_Return);
    shell.ButtonCancel->click();
  });
  Press(Qt::Key_F4, Qt::ControlModifier);
  ASSERT_EQ(user.Pages.size(), 2) << user.Pages.join("|").toStdString();
  EXPECT_TRUE(user.Pages[0].contains("ffff.zod\" не найден. Проверьте корректность имени файла."))
      << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[1].startsWith("Информация: ")) << user.Pages[1].toStdString();
  EXPECT_EQ(faults.join("; ").toStdString(), "");

  // The comments, the about page, the theory it links to and the news, each in
  // a window made 120 pixels wide.
  auto narrowed = [](TFormHelp* window) {
    ResizeOuter(window, QSize(120, OuterRect(window).height()));
    return WrapFault(window->WebBrowser);
  };
  Form->Comment = {"Короткий комментарий.", "<pre>строка_без_пробелов_шире_окна и ещё    слова</pre>",
                   "<nobr>wrap wrap wrap wrap wrap wrap</nobr>"};
  Press(Qt::Key_F12);
  ASSERT_NE(FormComment, nullptr);
  EXPECT_EQ(narrowed(FormComment).toStdString(), "");
  // Shown again, the page comes into the view made to wrap: the view's text
  // changes once, not again for the preformatted block (each change of a
  // shown page lays it out anew), and the page keeps no undo history.
  int changes = 0;
  const auto counting =
      QObject::connect(FormComment->WebBrowser, &QTextEdit::textChanged, [&] { ++changes; });
  Press(Qt::Key_F12);
  QObject::disconnect(counting);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(FormComment->WebBrowser->document()->availableUndoSteps(), 0);
  Press(Qt::Key_F1, Qt::ControlModifier);
  ASSERT_NE(FormHelp, nullptr);
  EXPECT_EQ(FormHelp->windowTitle(), "О программе");
  EXPECT_EQ(narrowed(FormHelp).toStdString(), "");
  THtmlView* view = FormHelp->WebBrowser;
  const QTextCursor link = view->document()->find("Описание теории");
  ASSERT_FALSE(link.isNull());
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(link).center());
  EXPECT_EQ(FormHelp->windowTitle(), "Описание теории");
  EXPECT_EQ(narrowed(FormHelp).toStdString(), "");
  Press(Qt::Key_F1, Qt::AltModifier);
  EXPECT_EQ(FormHelp->windowTitle(), "Что нового?");
  EXPECT_EQ(narrowed(FormHelp).toStdString(), "");
}

// A typed name that is a folder ("sub/", "..", "~") opens it in the window,
// in the save modes as in Open and Import; in the save modes a name of no
// file (empty, ending in "/", points only, only the extension in any letter
// case, points and blanks before it) is refused with a message and the window
// stays open; Open and Import take a file that is there whatever its name;
// "~/" names the home folder.
TEST_F(FileCommands, TypedFoldersOpenInTheWindowAndNamesOfNoFileAreRefused) {
  TUser user;
  QDir().mkpath(docs + "sub");
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  const QByteArray oldHome = qgetenv("HOME");
  qputenv("HOME", home.path().toUtf8());
  const auto restore = qScopeGuard([&] { qputenv("HOME", oldHome); });
  auto type = [](TFormShell& shell, const QString& text) {
    QTest::keyClick(shell.EditFileName, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(shell.EditFileName, Qt::Key_Delete);
    QTest::keyClicks(shell.EditFileName, text);
    QTest::keyClick(shell.EditFileName, Qt::Key_Return);
  };
  user.Shells.push_back([&](TFormShell& shell) {
    type(shell, "sub/");
    ASSERT_TRUE(shell.isVisible());
    EXPECT_EQ(shell.CurrentFolder(), docs + "sub/");
    EXPECT_EQ(shell.EditFileName->text(), "");
    type(shell, "..");
    EXPECT_EQ(shell.CurrentFolder(), docs);
    for (const char* refused : {"...", "nosuch/", "sub/...", ".zod", ".ZOD", "sub/.zod", ".zor", "   .zod", ". .zod"})
      type(shell, refused);
    EXPECT_TRUE(shell.isVisible());
    EXPECT_EQ(shell.CurrentFolder(), docs);
    type(shell, "~/mine");
  });
  Press(Qt::Key_F4, Qt::ControlModifier);
  EXPECT_EQ(Form->FileName, home.path() + "/mine.zod");
  EXPECT_TRUE(QFile::exists(home.path() + "/mine.zod"));
  ASSERT_EQ(user.Pages.size(), 9) << user.Pages.join("|").toStdString();
  EXPECT_TRUE(user.Pages[0].startsWith("Информация: ")) << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[0].contains("Имя \"...\" не может быть именем файла"));
  EXPECT_TRUE(user.Pages[1].contains("Папка \"" + docs + "nosuch\" не найдена"));
  EXPECT_TRUE(user.Pages[2].contains("Имя \"...\" не может быть именем файла"));
  for (int i = 3; i < 7; ++i)
    EXPECT_TRUE(user.Pages[i].contains("Не указано имя файла")) << user.Pages[i].toStdString();
  EXPECT_TRUE(user.Pages[7].contains("Не указано имя файла.")) << user.Pages[7].toStdString();
  EXPECT_TRUE(user.Pages[8].contains(
      "Имя \". .zod\" не может быть именем файла: до расширения в нём только точки и пробелы."))
      << user.Pages[8].toStdString();
  // The picture: into the folder typed, then under the name typed.
  user.Shells.push_back([&](TFormShell& shell) {
    type(shell, ".JPG");
    type(shell, " .jpg");
    type(shell, "sub");
    type(shell, "shot");
  });
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(QFile::exists(docs + "sub/shot.jpg"));
  ASSERT_EQ(user.Pages.size(), 11) << user.Pages.join("|").toStdString();
  EXPECT_TRUE(user.Pages[9].contains("Не указано имя файла")) << user.Pages[9].toStdString();
  EXPECT_TRUE(user.Pages[10].contains("Не указано имя файла.")) << user.Pages[10].toStdString();
  // Open and Import: the list moves into the folder typed, and a file named
  // only by the extension, as an older version saved it, is opened.
  for (const char* inner : {"inner.zod", "inner.zor"}) QFile(docs + "sub/" + inner).open(QIODevice::WriteOnly);
  Form->Step = 33;
  ASSERT_TRUE(Form->SaveDataFile(docs + "sub/.zod"));
  ASSERT_TRUE(ExportResourceSet((docs + "sub/.zor").toStdString(), *Form->Resource, *Form->Plant, {{true}, {true}}));
  Form->Step = 0;
  for (const auto& [key, modifiers] : {std::pair{Qt::Key_F3, Qt::NoModifier}, {Qt::Key_M, Qt::ControlModifier}}) {
    user.Shells.push_back([&](TFormShell& shell) {
      type(shell, docs + "sub");
      EXPECT_TRUE(shell.isVisible());
      EXPECT_EQ(shell.CurrentFolder(), docs + "sub/");
      EXPECT_TRUE(QTest::qWaitFor([&] { return shell.ShellListView->Select("inner" + shell.Extension); }, 10000));
      type(shell, shell.Extension);
      if (shell.WindowType != TFormShell::TypeImport) return;
      EXPECT_TRUE(shell.isVisible());  // the set is shown, for the user to tick its rows
      EXPECT_EQ(shell.FrameImport->SetFile, docs + "sub/.zor");
      EXPECT_EQ(shell.FrameImport->CheckListBox->Count(), 4);
      shell.ButtonCancel->click();
    });
    Press(key, modifiers);
  }
  EXPECT_EQ(Form->FileName, docs + "sub/.zod");
  EXPECT_EQ(Form->Step, 33);
  EXPECT_EQ(user.ShellsSeen, 4);
  EXPECT_EQ(QDir(docs).entryList(QDir::Files | QDir::Hidden), QStringList{});
  EXPECT_EQ(QDir(docs + "sub").entryList(QDir::Files | QDir::Hidden, QDir::Name),
            (QStringList{".zod", ".zor", "inner.zod", "inner.zor", "shot.jpg"}));
  EXPECT_EQ(user.Pages.size(), 11) << user.Pages.join("|").toStdString();
}

// Open and Import take a name typed as soon as they open: the name line has the focus.
TEST_F(FileCommands, OpenAndImportTakeANameTypedStraightAway) {
  TUser user;
  Form->Step = 21;
  ASSERT_TRUE(Form->SaveDataFile(docs + "typed.zod"));
  ASSERT_TRUE(ExportResourceSet((docs + "typed.zor").toStdString(), *Form->Resource, *Form->Plant, {{true}, {true}}));
  Form->Step = 0;
  auto typeStraightAway = [](TFormShell& shell, const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    EXPECT_EQ(focus, shell.EditFileName);
    if (!focus) return;
    QTest::keyClicks(focus, text);
    QTest::keyClick(focus, Qt::Key_Return);
  };
  user.Shells.push_back([&](TFormShell& shell) { typeStraightAway(shell, docs + "typed.zod"); });
  Press(Qt::Key_F3);
  EXPECT_EQ(Form->FileName, docs + "typed.zod");
  EXPECT_EQ(Form->Step, 21);
  user.Shells.push_back([&](TFormShell& shell) {
    typeStraightAway(shell, docs + "typed.zor");
    EXPECT_TRUE(shell.isVisible());  // the set is shown, for the user to tick its rows
    EXPECT_EQ(shell.FrameImport->CheckListBox->Count(), 4);
    shell.ButtonCancel->click();
  });
  Press(Qt::Key_M, Qt::ControlModifier);
  EXPECT_EQ(user.ShellsSeen, 2);
}

namespace {

// The messages are pages written into the page folder: open to every user.
void OpenPagesToEveryUser() {
  OpenToEveryUser(TestProgramFolder());
  OpenToEveryUser(TestProgramFolder() + "Files/");
}

}  // namespace

// With the focus in the name line, Up, Down, Page Up and Page Down move the
// list's selection as they do in the list, and the name line, the type line
// and the preview follow, in every mode; Left, Right, Home and End stay with
// the name line, and Enter accepts the file chosen, or opens the folder
// chosen. In an empty folder they leave the name typed or proposed.
TEST_F(FileCommands, ListKeysPressedInTheNameLineMoveTheListsSelection) {
  TUser user;
  QDir().mkpath(docs + "sub");
  for (const char* name : {"a", "b"}) {
    Form->Comment = {std::string("Комментарий ") + name, ""};
    ASSERT_TRUE(Form->SaveDataFile(docs + name + ".zod"));
    ASSERT_TRUE(
        ExportResourceSet((docs + name + ".zor").toStdString(), *Form->Resource, *Form->Plant, {{true}, {true}}));
  }
  // Presses a key in the name line, which keeps the focus.
  auto press = [](TFormShell& shell, Qt::Key key) {
    EXPECT_EQ(QApplication::focusWidget(), shell.EditFileName);
    QTest::keyClick(shell.EditFileName, key);
  };
  auto listed = [](TFormShell& shell) {
    TShellListView* list = shell.ShellListView;
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->Loaded() && list->ItemCount() == 3; }, 10000));
  };
  QStringList previews;
  user.Shells.push_back([&](TFormShell& shell) {
    listed(shell);
    press(shell, Qt::Key_Down);  // the first item: the folder
    EXPECT_EQ(shell.ShellListView->SelectedName(), "sub");
    EXPECT_EQ(shell.EditFileName->text(), "");
    EXPECT_EQ(shell.EditFileType->text(), "Папка");
    EXPECT_FALSE(shell.FrameOpenBrowser->isVisible());
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
      press(shell, key);
      EXPECT_EQ(shell.EditFileType->text(), "Файл данных ZeltorOmra (*.zod)");
      previews << shell.EditFileName->text() + ": " +
                      (shell.FrameOpenBrowser->isVisible() ? shell.FrameOpenBrowser->WebBrowser->toPlainText() : "");
    }
    press(shell, Qt::Key_PageUp);
    EXPECT_EQ(shell.ShellListView->SelectedName(), "sub");
    press(shell, Qt::Key_PageDown);
    EXPECT_EQ(shell.ShellListView->SelectedName(), "b.zod");
    // The name line's own keys edit the name and leave the list alone.
    press(shell, Qt::Key_Home);
    press(shell, Qt::Key_Right);
    EXPECT_EQ(shell.EditFileName->cursorPosition(), 1);
    press(shell, Qt::Key_End);
    press(shell, Qt::Key_Left);
    EXPECT_EQ(shell.EditFileName->cursorPosition(), 4);
    EXPECT_EQ(shell.ShellListView->SelectedName(), "b.zod");
    EXPECT_EQ(shell.EditFileName->text(), "b.zod");
    press(shell, Qt::Key_Up);
    press(shell, Qt::Key_Return);
  });
  Press(Qt::Key_F3);
  ASSERT_EQ(previews.size(), 3);
  EXPECT_TRUE(previews[0].startsWith("a.zod: ") && previews[0].contains("Комментарий a")) << previews[0].toStdString();
  EXPECT_TRUE(previews[1].startsWith("b.zod: ") && previews[1].contains("Комментарий b")) << previews[1].toStdString();
  EXPECT_TRUE(previews[2].startsWith("a.zod: ") && previews[2].contains("Комментарий a")) << previews[2].toStdString();
  EXPECT_EQ(Form->FileName, docs + "a.zod");
  // The Yes button, still enabled before any name was typed, opens a folder
  // chosen so, as Enter does.
  user.Shells.push_back([&](TFormShell& shell) {
    listed(shell);
    press(shell, Qt::Key_Down);
    ASSERT_TRUE(shell.ButtonYes->isEnabled());
    QTest::mouseClick(shell.ButtonYes, Qt::LeftButton);
    EXPECT_EQ(shell.CurrentFolder(), docs + "sub/");
    shell.ButtonCancel->click();
  });
  Press(Qt::Key_F3);
  Form->PathDocument = docs;
  // Import: the check list shows the set chosen; Enter opens the folder chosen.
  user.Shells.push_back([&](TFormShell& shell) {
    listed(shell);
    press(shell, Qt::Key_Down);
    press(shell, Qt::Key_PageDown);
    EXPECT_EQ(shell.EditFileName->text(), "b.zor");
    EXPECT_TRUE(shell.FrameImport->isVisible());
    EXPECT_EQ(shell.FrameImport->SetFile, docs + "b.zor");
    press(shell, Qt::Key_Up);
    EXPECT_EQ(shell.FrameImport->SetFile, docs + "a.zor");
    press(shell, Qt::Key_Up);
    EXPECT_FALSE(shell.FrameImport->isVisible());
    press(shell, Qt::Key_Return);
    EXPECT_EQ(shell.CurrentFolder(), docs + "sub/");
    shell.ButtonCancel->click();
  });
  Press(Qt::Key_M, Qt::ControlModifier);
  Form->PathDocument = docs;
  // Save As, Export and the picture: the name line shows the file chosen, as
  // a click in the list does, and Enter opens a folder chosen.
  for (const char* name : {"c.jpg", "d.jpg"}) QFile(docs + name).open(QIODevice::WriteOnly);
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, QString> saving[] = {
      {Qt::Key_F4, Qt::ControlModifier, "b.zod"}, {Qt::Key_E, Qt::ControlModifier, "b.zor"},
      {Qt::Key_S, Qt::ControlModifier, "d.jpg"}};
  for (const auto& [key, modifiers, last] : saving) {
    user.Shells.push_back([&](TFormShell& shell) {
      listed(shell);
      press(shell, Qt::Key_Down);
      press(shell, Qt::Key_PageDown);
      EXPECT_EQ(shell.EditFileName->text(), last);
      press(shell, Qt::Key_PageUp);
      EXPECT_EQ(shell.EditFileName->text(), "");
      EXPECT_EQ(shell.EditFileType->text(), "Папка");
      press(shell, Qt::Key_Return);
      EXPECT_EQ(shell.CurrentFolder(), docs + "sub/");
      QTest::keyClicks(shell.EditFileName, "typed");
      for (Qt::Key key : {Qt::Key_Down, Qt::Key_PageUp}) press(shell, key);
      EXPECT_EQ(shell.EditFileName->text(), "typed");
      shell.ButtonCancel->click();
    });
    Press(key, modifiers);
    Form->PathDocument = docs;
  }
  // A file renamed in the list (a click, F2, the new name, Enter) is the one
  // the name line and the caption name, and the one opened.
  user.Shells.push_back([&](TFormShell& shell) {
    listed(shell);
    TShellListView* list = shell.ShellListView;
    const QModelIndex b = list->model()->index(2, 0, list->rootIndex());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(b).center());
    QTest::keyClick(list, Qt::Key_F2);
    QTest::keyClicks(QApplication::focusWidget(), "renamed.zod");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == list; }));  // the name taken
    EXPECT_EQ(shell.EditFileName->text(), "renamed.zod");
    EXPECT_GE(list->visualRect(list->currentIndex()).width(), list->fontMetrics().horizontalAdvance("renamed.zod"));
    EXPECT_EQ(shell.windowTitle(), "Открыть: " + docs + "renamed.zod");
    QTest::mouseClick(shell.ButtonYes, Qt::LeftButton);
  });
  Press(Qt::Key_F3);
  EXPECT_EQ(Form->FileName, docs + "renamed.zod");
  EXPECT_EQ(user.ShellsSeen, 7);
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}

// A file the user may not read, or a file or folder the user may not write,
// is reported by that cause: a data file opened, and a data file, a resource
// set and a picture saved; a data file or a set typed in a folder the user may
// not enter is reported so.
TEST_F(FileCommands, FilesTheUserMayNotReadOrWriteAreReportedSo) {
  TUser user;
  ASSERT_TRUE(Form->SaveDataFile(docs + "locked.zod"));
  ASSERT_TRUE(Form->SaveDataFile(docs + "kept.zod"));
  QDir().mkpath(docs + "closed");
  QDir().mkpath(docs + "shut");
  for (const char* name : {"inner.zod", "inner.zor"}) QFile(docs + "shut/" + name).open(QIODevice::WriteOnly);
  using P = QFileDevice;
  QFile::setPermissions(docs, P::ReadOwner | P::WriteOwner | P::ExeOwner | P::ReadOther | P::ExeOther);
  QFile::setPermissions(docs + "locked.zod", {});
  QFile::setPermissions(docs + "kept.zod", P::ReadOwner | P::ReadOther);
  QFile::setPermissions(docs + "closed", P::ReadOwner | P::ExeOwner | P::ReadOther | P::ExeOther);
  QFile::setPermissions(docs + "shut", P::ReadOwner | P::WriteOwner);
  OpenPagesToEveryUser();
  auto run = [&](Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& name) {
    user.Shells.push_back(TypeAndReturn(name));
    TOtherUser other;
    Press(key, modifiers);
  };
  run(Qt::Key_F3, Qt::NoModifier, "locked.zod");
  run(Qt::Key_F4, Qt::ControlModifier, "closed/mine");
  run(Qt::Key_F4, Qt::ControlModifier, "kept");
  run(Qt::Key_E, Qt::ControlModifier, "closed/set");
  run(Qt::Key_S, Qt::ControlModifier, "closed/shot");
  // Root enters every folder: that part needs another user.
  const bool folderStops = geteuid() != 0 || TOtherUser().Switched;
  if (folderStops) {
    run(Qt::Key_F3, Qt::NoModifier, "shut/inner.zod");
    run(Qt::Key_M, Qt::ControlModifier, "shut/inner.zor");
  }
  ASSERT_EQ(user.Pages.size(), folderStops ? 7 : 5) << user.Pages.join("|").toStdString();
  EXPECT_TRUE(user.Pages[0].contains("Файл \"" + docs + "locked.zod\" не удалось открыть. Нет прав на чтение этого файла."))
      << user.Pages[0].toStdString();
  const char* files[] = {"closed/mine.zod", "kept.zod", "closed/set.zor", "closed/shot.jpg"};
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(user.Pages[i + 1].contains("Файл \"" + docs + files[i] +
                                           "\" не удалось сохранить. Нет прав на запись этого файла или его папки."))
        << user.Pages[i + 1].toStdString();
  for (int i = 5; i < user.Pages.size(); ++i)
    EXPECT_TRUE(user.Pages[i].contains("Файл \"" + docs + (i == 5 ? "shut/inner.zod" : "shut/inner.zor") +
                                       "\" не удалось открыть. Нет прав на открытие папки этого файла."))
        << user.Pages[i].toStdString();
  EXPECT_EQ(user.Questions.size(), 1);  // replace kept.zod?
  QFile::setPermissions(docs + "closed", kOpenToEveryUser);
  QFile::setPermissions(docs + "shut", kOpenToEveryUser);
}

namespace {

std::string Repeated(const std::string& text, int times) {
  std::string out;
  out.reserve(text.size() * static_cast<size_t>(times));
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

// Two names as long as a line of the file holds, the same: the second one's
// number fits the line, and the data saves and opens again. A line longer than
// the reader takes back is not saved: the old file stays and the message says why.
TEST_F(FileCommands, NamesAsLongAsALineHoldsSaveAndOpenAgainAndALongerLineIsNotSaved) {
  TUser user;
  const std::string longest = Repeated("Ж", 1048574);
  const std::string numbered = Repeated("Ж", 1048570) + " (2)";
  Form->Resource->Add("Второй", 1, 0, clYellow);
  FormParameter->AddResource("Второй");
  Form->Resource->Params[0].Name = longest;
  Form->Resource->Params[1].Name = longest;
  ASSERT_TRUE(Form->SaveDataFile(docs + "big.zod"));
  user.Shells.push_back(TypeAndReturn("big.zod"));
  Press(Qt::Key_F3);
  ASSERT_EQ(Form->Resource->Count, 2);
  EXPECT_TRUE(Form->Resource->Params[0].Name == longest);
  EXPECT_TRUE(Form->Resource->Params[1].Name == numbered) << Form->Resource->Params[1].Name.size();
  user.Shells.push_back(TypeAndReturn("again"));
  Press(Qt::Key_F4, Qt::ControlModifier);
  EXPECT_EQ(Form->FileName, docs + "again.zod");
  Form->Resource->Params[1].Name = "Второй";
  user.Shells.push_back(TypeAndReturn("again.zod"));
  Press(Qt::Key_F3);
  EXPECT_TRUE(Form->Resource->Params[1].Name == numbered) << Form->Resource->Params[1].Name.size();
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").left(1000).toStdString();

  // The writers' guard against a line longer than the reader takes. No window
  // gives a name that long (the author line holds 32,767 characters, and the
  // settings and the files give names of at most 1,048,574), so the author's
  // name is set here directly, one character longer than a line holds.
  const QByteArray before = FileBytes(docs + "again.zod");
  Form->UserName = QString::fromStdString(Repeated("Ж", 1048575));
  user.Shells.push_back(TypeAndReturn("again"));
  Press(Qt::Key_F4, Qt::ControlModifier);
  const QString shown = QString::fromStdString("\"" + Repeated("Ж", 40) + "…\"");
  ASSERT_EQ(user.Pages.size(), 1);
  EXPECT_TRUE(user.Pages[0].startsWith("Ошибка: ")) << user.Pages[0].left(1000).toStdString();
  EXPECT_TRUE(user.Pages[0].contains("Файл \"" + docs + "again.zod\" не удалось сохранить. Слишком длинная строка для файла: "
                                     "имя автора " + shown + ". Строка файла может быть не длиннее 1048574 знаков."))
      << user.Pages[0].left(1000).toStdString();
  EXPECT_TRUE(FileBytes(docs + "again.zod") == before);
  EXPECT_TRUE(Form->Author == "Tester") << Form->Author.size();
  EXPECT_EQ(QDir(docs).entryList(QDir::Files | QDir::Hidden | QDir::System),
            (QStringList{"again.zod", "big.zod"}));

  // The set's writer guards alike: a resource name set directly, as long.
  Form->UserName = "Tester";
  const std::string over = Repeated("Ж", 1048575);
  Form->Resource->Params[0].Name = over;
  user.Shells.push_back([&](TFormShell& shell) {
    TickRows(shell, {QString::fromStdString(over)});
    TypeAndReturn("big")(shell);
  });
  Press(Qt::Key_E, Qt::ControlModifier);
  ASSERT_EQ(user.Pages.size(), 2);
  EXPECT_TRUE(user.Pages[1].contains("Файл \"" + docs + "big.zor\" не удалось сохранить. Слишком длинная строка для файла: "
                                     "имя ресурса " + shown + ". Строка файла может быть не длиннее 1048574 знаков."))
      << user.Pages[1].left(1000).toStdString();
  EXPECT_FALSE(QFile::exists(docs + "big.zor"));
}

// A file that cannot be written or opened is reported by the cause the system
// gives: no such folder, a pipe or a device in the file's place, a folder
// opened as a file, a name too long; data files, sets and pictures alike. The
// causes that cannot be made here are the sentences of their numbers.
TEST_F(FileCommands, FilesThatCannotBeWrittenOrOpenedNameTheCauseTheSystemGives) {
  TUser user;
  for (const char* name : {"pipe.zod", "pipe.zor", "pipe.jpg"})
    ASSERT_EQ(mkfifo(QFile::encodeName(docs + name).constData(), 0600), 0);
  QDir().mkpath(docs + "folder.zod");
  const QString tooLong(300, QLatin1Char('n'));
  const auto save = [&](Qt::Key key, const QString& typed) {
    user.Shells.push_back(TypeAndReturn(typed));
    Press(key, Qt::ControlModifier);
  };
  save(Qt::Key_F4, "nosuch/z");
  save(Qt::Key_E, "nosuch/set");
  save(Qt::Key_S, "nosuch/shot");
  save(Qt::Key_F4, "pipe");
  save(Qt::Key_E, "pipe");
  save(Qt::Key_S, "pipe");
  save(Qt::Key_F4, tooLong);
  const auto open = [&](const QString& file) {
    Form->FileList[0].FileName = file;
    Press(Qt::Key_1, Qt::ControlModifier);
  };
  open(docs + "folder.zod");
  open(docs + "pipe.zod");
  open("/dev/zero");
  open(docs + tooLong + ".zod");
  const QStringList expected = {
      "Файл \"" + docs + "nosuch/z.zod\" не удалось сохранить. Папка этого файла не существует.",
      "Файл \"" + docs + "nosuch/set.zor\" не удалось сохранить. Папка этого файла не существует.",
      "Файл \"" + docs + "nosuch/shot.jpg\" не удалось сохранить. Папка этого файла не существует.",
      "Файл \"" + docs + "pipe.zod\" не удалось сохранить. Это не обычный файл.",
      "Файл \"" + docs + "pipe.zor\" не удалось сохранить. Это не обычный файл.",
      "Файл \"" + docs + "pipe.jpg\" не удалось сохранить. Это не обычный файл.",
      "Файл \"" + docs + tooLong + ".zod\" не удалось сохранить. Слишком длинное имя файла.",
      "Файл \"" + docs + "folder.zod\" не удалось открыть. Это папка, а не файл.",
      "Файл \"" + docs + "pipe.zod\" не удалось открыть. Это не обычный файл.",
      "Файл \"/dev/zero\" не удалось открыть. Это не обычный файл.",
      "Файл \"" + docs + tooLong + ".zod\" не удалось открыть. Слишком длинное имя файла.",
  };
  ASSERT_EQ(user.Pages.size(), expected.size()) << user.Pages.join("|").toStdString();
  for (qsizetype i = 0; i < expected.size(); ++i) {
    EXPECT_TRUE(user.Pages[i].startsWith("Ошибка: ")) << user.Pages[i].toStdString();
    EXPECT_TRUE(user.Pages[i].contains(expected[i])) << user.Pages[i].toStdString();
  }
  EXPECT_EQ(user.Questions.size(), 3);  // replace each pipe?
  // The causes that cannot be made here.
  EXPECT_EQ(WriteFailureCause(ENOSPC), "На диске не осталось места.");
  EXPECT_EQ(WriteFailureCause(EDQUOT), "На диске не осталось места, отведённого пользователю.");
  EXPECT_EQ(WriteFailureCause(EROFS), "Файловая система доступна только для чтения.");
  EXPECT_EQ(WriteFailureCause(EIO), "Ошибка записи на диск.");
  EXPECT_EQ(ReadFailureCause(EIO), "Ошибка чтения с диска.");
  // An unknown cause keeps the likely ones; EINVAL is not taken for a file of another kind.
  for (int unknown : {0, EINVAL}) {
    EXPECT_EQ(WriteFailureCause(unknown), "Возможно, файл занят другим процессом или имеет атрибут \"Только для чтения\".");
    EXPECT_EQ(ReadFailureCause(unknown), "Возможно, файл занят другим процессом.");
  }
}

// A set the user may not read: the side panel shows none of it, and accepting
// it says that there is no permission to read it, importing nothing.
TEST_F(FileCommands, AnImportOfASetTheUserMayNotReadSaysSo) {
  TUser user;
  Form->Resource->Add("Глина", 3, 30, 0xFF0000);
  FormParameter->AddResource("Глина");
  ASSERT_TRUE(ExportResourceSet((docs + "locked.zor").toStdString(), *Form->Resource, *Form->Plant, {{true, true}, {true}}));
  ASSERT_TRUE(FormParameter->DeleteResource(1));
  using P = QFileDevice;
  QFile::setPermissions(docs, P::ReadOwner | P::WriteOwner | P::ExeOwner | P::ReadOther | P::ExeOther);
  QFile::setPermissions(docs + "locked.zor", {});
  OpenPagesToEveryUser();
  bool shown = true;
  user.Shells.push_back(PickAndAccept("locked.zor", [&](TFormShell& shell) { shown = shell.FrameImport->isVisible(); }));
  {
    TOtherUser other;
    Press(Qt::Key_M, Qt::ControlModifier);
  }
  EXPECT_FALSE(shown);  // "(нет)" in the side panel
  ASSERT_EQ(user.Pages.size(), 1) << user.Pages.join("|").toStdString();
  EXPECT_TRUE(user.Pages[0].startsWith("Ошибка: ")) << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[0].contains("Файл \"" + docs + "locked.zor\" не удалось открыть. Нет прав на чтение этого файла."))
      << user.Pages[0].toStdString();
  EXPECT_EQ(ResourceNames(*Form), (QStringList{"Ресурс Yellow"}));
  EXPECT_EQ(PlantNames(*Form), (QStringList{"Организм Lime"}));
}

// Species whose resource is neither in the model nor ticked are left out, and
// the import's report counts them and names the resource.
TEST_F(FileCommands, SpeciesLeftOutForAMissingResourceAreCountedAndTheResourceNamed) {
  TUser user;
  Form->show();
  Form->Resource->Add("Вода", 5, 50, 0xFF0000);
  FormParameter->AddResource("Вода");
  FormParameter->AddPlant(NewPlantParameter("Хищник", TGenome(2, 1, 4, 9, 2, 15, 1, 1), clRed, 0xFF0000));
  FormParameter->AddPlant(NewPlantParameter("Рыба", TGenome(2, 1, 4, 9, 2, 15, 1, 0), clRed, 0xFF0000));
  user.Shells.push_back([](TFormShell& shell) {
    TickRows(shell, {"Вода", "Хищник", "Рыба"});
    TypeAndReturn("set")(shell);
  });
  Press(Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(QFile::exists(docs + "set.zor"));
  FormParameter->DeletePlant(2);
  FormParameter->DeletePlant(1);
  ASSERT_TRUE(FormParameter->DeleteResource(1));
  ImportTicked(Form, user, "set.zor", {"Хищник", "Рыба"});
  EXPECT_EQ(ResourceNames(*Form), (QStringList{"Ресурс Yellow"}));
  EXPECT_EQ(PlantNames(*Form), (QStringList{"Организм Lime"}));
  ASSERT_EQ(user.Pages.size(), 1) << user.Pages.join("|").toStdString();
  EXPECT_TRUE(user.Pages[0].startsWith("Информация: ")) << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[0].contains("Из набора \"" + docs + "set.zor\" добавлено записей: 0."))
      << user.Pages[0].toStdString();
  EXPECT_TRUE(user.Pages[0].contains("Не добавлено организмов: 2. Ресурса, которым они питаются или который выделяют, "
                                     "нет ни в модели, ни среди отмеченных записей набора: \"Вода\"."))
      << user.Pages[0].toStdString();
  // With the resource ticked too, both come in and nothing is said.
  user.Pages.clear();
  ImportTicked(Form, user, "set.zor", {"Вода", "Хищник", "Рыба"});
  EXPECT_EQ(ResourceNames(*Form), (QStringList{"Ресурс Yellow", "Вода"}));
  EXPECT_EQ(PlantNames(*Form), (QStringList{"Организм Lime", "Хищник", "Рыба"}));
  EXPECT_TRUE(user.Pages.isEmpty()) << user.Pages.join("|").toStdString();
}
