// The file window driven through its own interface: names and extensions,
// the open and save rules of the Yes button, the list filter, the type line,
// navigation, the start folder, the widths kept per type, and its three side
// frames (the data-file preview, the resource-set list, the picture choices).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <utility>

#include "tests/windows/MainFixture.h"
#include "files/uResourceSet.h"
#include "platform/IniFile.h"
#include "platform/qt/HtmlView.h"
#include "platform/qt/ShellView.h"
#include "windows/look/CheckListBox.h"
#include "windows/shell/fShell.h"
#include "windows/shell/frImport.h"
#include "windows/shell/frOpenBrowser.h"
#include "windows/shell/frSaveShot.h"

namespace {

void Touch(const QString& path, const QByteArray& bytes = "x") {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray CrLf(const char* text) {
  QByteArray b(text);
  b.replace("\n", "\r\n");
  return b;
}

class ShellWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ASSERT_TRUE(temp.isValid());
    root = QDir(temp.path()).canonicalPath() + "/";
    for (const char* d : {"program", "pages", "docs", "docs/A", "docs/B", "docs/Sets"}) QDir().mkpath(root + d);
    host.FallbackFolder = root + "program/";
    host.SettingsFile = root + "omra.ini";
    host.Pages.FilesPath = SourceDir() + "/resources/Files/";
    host.Pages.PagesPath = root + "pages/";
  }

  // A window set up as its callers do, not yet shown.
  std::unique_ptr<TFormShell> Make(unsigned char type, const QString& extension, const QString& start,
                                   const QString& name = QString()) {
    auto shell = std::make_unique<TFormShell>(nullptr, host);
    shell->Extension = extension;
    shell->SetStartFolder(start);
    shell->EditFileName->setText(name);
    shell->SetWindowType(type);
    return shell;
  }
  // Shows the window and waits until its list has read the folder.
  static void ShowLoaded(TFormShell& shell) {
    shell.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.ShellListView->Loaded(); }, 10000));
  }
  static void Pick(TFormShell& shell, const QString& name) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.ShellListView->Select(name); }, 10000)) << name.toStdString();
    shell.ShellListViewClick();
  }

  QTemporaryDir temp;
  QString root;
  TShellHost host;
};

}  // namespace

TEST(ShellNames, TheExtensionIsForcedFromTheLastPoint) {
  const QString zod = QStringLiteral(".zod");
  EXPECT_EQ(TFormShell::ForceExtension("report", zod), "report.zod");
  EXPECT_EQ(TFormShell::ForceExtension("report.txt", zod), "report.zod");
  EXPECT_EQ(TFormShell::ForceExtension("a.b.c", zod), "a.b.zod");
  EXPECT_EQ(TFormShell::ForceExtension("SAMPLE.ZOD", zod), "SAMPLE.ZOD");  // the extension already matches
  EXPECT_EQ(TFormShell::ForceExtension("", zod), ".zod");
  EXPECT_EQ(TFormShell::ForceExtension("v1.2/run", zod), "v1.2/run.zod");  // a point in a folder is no extension
  EXPECT_EQ(TFormShell::ExtractExtension("noext"), "");
}

TEST_F(ShellWindow, SaveRuleNamesTheFileInTheCurrentFolder) {
  auto shell = Make(TFormShell::TypeSave, ".zod", root + "docs", "noname1.zod");
  EXPECT_EQ(shell->CurrentFolder(), root + "docs/");
  EXPECT_TRUE(shell->PanelSub->isHidden());
  EXPECT_EQ(shell->ButtonYes->text(), "Сохранить");
  shell->show();
  EXPECT_TRUE(shell->ButtonYes->isEnabled());
  EXPECT_TRUE(shell->EditFileName->hasFocus() || !QApplication::focusWidget());
  EXPECT_EQ(shell->windowTitle(), "Сохранить: " + root + "docs/noname1.zod");
  shell->EditFileName->clear();
  EXPECT_FALSE(shell->ButtonYes->isEnabled());
  for (const auto& [typed, accepted] : {std::pair<QString, QString>{"report", "report.zod"},
                                        {"report.txt", "report.zod"},
                                        {"a.b.c", "a.b.zod"}}) {
    shell->EditFileName->setText(typed);
    EXPECT_TRUE(shell->ButtonYes->isEnabled());
    shell->ButtonYes->click();
    EXPECT_EQ(shell->result(), TFormShell::mrYes);
    EXPECT_EQ(shell->FileName, root + "docs/" + accepted);
    EXPECT_EQ(shell->EditFileName->text(), accepted);
  }
}

TEST_F(ShellWindow, OpenRuleAndTheFilteredList) {
  Touch(root + "docs/SAMPLE.ZOD");
  Touch(root + "docs/b.zod");
  Touch(root + "docs/notes.txt");
  Touch(root + "docs/other.zor");
  auto shell = Make(TFormShell::TypeOpenBrowser, ".zod", root + "docs");
  EXPECT_EQ(shell->ButtonYes->text(), "Открыть");
  ShowLoaded(*shell);
  // Enabled until the name first changes; accepting at once names no file and is refused.
  EXPECT_TRUE(shell->ButtonYes->isEnabled());
  EXPECT_TRUE(shell->EditFileName->hasFocus() || !QApplication::focusWidget());
  EXPECT_FALSE(shell->ButtonYesClick());
  EXPECT_EQ(shell->FileName, "");

  // Folders, then files of the extension in any letter case, each by name
  // without regard to case; nothing else.
  TShellListView* list = shell->ShellListView;
  ASSERT_TRUE(QTest::qWaitFor([&] { return list->ItemCount() == 5; }, 10000));
  QStringList order;
  for (int r = 0; r < 5; ++r) order << list->model()->index(r, 0, list->rootIndex()).data().toString();
  EXPECT_EQ(order, (QStringList{"A", "B", "Sets", "b.zod", "SAMPLE.ZOD"}));
  EXPECT_TRUE(shell->ShellListView->Select("SAMPLE.ZOD"));
  EXPECT_TRUE(shell->ShellListView->Select("A"));
  EXPECT_FALSE(shell->ShellListView->Select("notes.txt"));
  EXPECT_FALSE(shell->ShellListView->Select("other.zor"));
  EXPECT_TRUE(shell->ShellListViewAddFolder("x.ZoD", false));
  EXPECT_TRUE(shell->ShellListViewAddFolder("folder.txt", true));
  EXPECT_FALSE(shell->ShellListViewAddFolder("zod", false));

  shell->EditFileName->setText("nothing");
  EXPECT_FALSE(shell->ButtonYes->isEnabled());
  shell->EditFileName->setText("SAMPLE.ZOD");
  EXPECT_TRUE(shell->ButtonYes->isEnabled());
  shell->EditFileName->setText("A");  // a folder: Yes opens it in the window
  EXPECT_TRUE(shell->ButtonYes->isEnabled());

  // A double click on the listed file accepts it under its own name.
  Pick(*shell, "SAMPLE.ZOD");
  EXPECT_EQ(shell->EditFileType->text(), "Файл данных ZeltorOmra (*.zod)");
  shell->ShellListViewDblClick();
  EXPECT_EQ(shell->result(), TFormShell::mrYes);
  EXPECT_EQ(shell->FileName, root + "docs/SAMPLE.ZOD");
}

TEST_F(ShellWindow, TypeLineFollowsTheSelection) {
  for (const char* name : {"a.zod", "b.JPG", "c.zor", "d.txt", "noext"}) Touch(root + "docs/" + name);
  auto shell = Make(TFormShell::TypeSave, ".zod", root + "docs", "keep.zod");
  shell->ShellListView->Filter = nullptr;  // everything listed
  shell->ShellListView->SetFolder(root + "docs");
  ShowLoaded(*shell);
  const std::pair<const char*, const char*> lines[] = {{"a.zod", "Файл данных ZeltorOmra (*.zod)"},
                                                       {"b.JPG", "Графический файл (*.jpg)"},
                                                       {"c.zor", "Файл ресурсов ZeltorOmra (*.zor)"},
                                                       {"d.txt", "Файл (*.txt)"},
                                                       {"noext", "Файл (*)"}};
  for (const auto& [name, line] : lines) {
    Pick(*shell, name);
    EXPECT_EQ(shell->EditFileName->text(), name);
    EXPECT_EQ(shell->EditFileType->text(), QString::fromUtf8(line));
  }
  // A folder empties the name and shows "Папка"; nothing selected empties both.
  Pick(*shell, "A");
  EXPECT_EQ(shell->EditFileName->text(), "");
  EXPECT_EQ(shell->EditFileType->text(), "Папка");
  shell->ShellListView->clearSelection();
  shell->ShellListViewClick();
  EXPECT_EQ(shell->EditFileType->text(), "");
  // A double click (or Enter) with nothing selected does nothing.
  shell->ShellListViewDblClick();
  EXPECT_TRUE(shell->isVisible());
}

// At the default width, with the side panel, the type line shows its whole
// text from its beginning, also after the selection moves between two files
// of one type (the same text put in again).
TEST_F(ShellWindow, TypeLineShowsItsWholeTextFromTheBeginning) {
  for (const char* name : {"a.zor", "b.zor"}) Touch(root + "docs/" + name);
  auto shell = Make(TFormShell::TypeImport, ".zor", root + "docs");
  ShowLoaded(*shell);
  QLineEdit* line = shell->EditFileType;
  for (const char* name : {"a.zor", "b.zor", "a.zor"}) {
    Pick(*shell, name);
    EXPECT_EQ(line->text(), TFormShell::TypeTextZor);
    EXPECT_EQ(line->cursorPosition(), 0) << name;
  }
  // Each type text ends inside the line: drawn on a line 100 pixels wider,
  // its last pixel lies left of the line's own right frame.
  const int width = line->width();
  for (const QString& text : {TFormShell::TypeTextZod, TFormShell::TypeTextZor, TFormShell::TypeTextJpg}) {
    line->setText(text);
    line->resize(width + 100, line->height());
    const QImage wide = line->grab().toImage();
    int right = -1;
    for (int y = 0; y < wide.height(); ++y)
      for (int x = 0; x < wide.width() - 4; ++x)
        if (wide.pixelColor(x, y).lightness() < 90) right = std::max(right, x);
    EXPECT_GT(right, 0);
    EXPECT_LT(right, width - 2) << text.toStdString();
  }
  line->resize(width, line->height());
}

TEST_F(ShellWindow, NavigationBackUpAndFolderChanges) {
  auto shell = Make(TFormShell::TypeSave, ".zod", root + "docs/A", "name.zod");
  EXPECT_EQ(shell->BackPath, "");  // the tree had no folder before
  shell->show();
  // Every folder change leaves the new list without a selection.
  ASSERT_TRUE(shell->ShellTreeView->SetPath(root + "docs/B"));
  EXPECT_EQ(shell->EditFileName->text(), "");
  EXPECT_EQ(shell->BackPath, root + "docs/A/");
  EXPECT_EQ(shell->ToolButtonBack->toolTip(), "Назад: " + root + "docs/A/");
  shell->ActionBack->trigger();
  EXPECT_EQ(shell->CurrentFolder(), root + "docs/A/");
  shell->ActionBack->trigger();
  EXPECT_EQ(shell->CurrentFolder(), root + "docs/B/");

  // Up: the hint names the folder above; Up moves there.
  ASSERT_TRUE(shell->ShellTreeView->SetPath(root + "docs/Sets"));
  EXPECT_EQ(shell->ToolButtonUp->toolTip(), "Вверх: " + root + "docs/");
  EXPECT_TRUE(shell->ActionUp->isEnabled());
  shell->ActionUp->trigger();
  EXPECT_EQ(shell->CurrentFolder(), root + "docs/");
  // A folder whose name also stands earlier in the path: the hint is still its parent.
  QDir().mkpath(root + "docs/docs");
  ASSERT_TRUE(shell->ShellTreeView->SetPath(root + "docs/docs"));
  EXPECT_EQ(shell->ToolButtonUp->toolTip(), "Вверх: " + root + "docs/");

  // A double click on a folder moves into it.
  ShowLoaded(*shell);
  ASSERT_TRUE(shell->ShellTreeView->SetPath(root + "docs"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return shell->ShellListView->Select("Sets"); }, 10000));
  shell->ShellListViewDblClick();
  EXPECT_EQ(shell->CurrentFolder(), root + "docs/Sets/");
  EXPECT_TRUE(shell->isVisible());
}

TEST_F(ShellWindow, AStartFolderThatIsGoneFallsBackToTheProgramFolder) {
  auto shell = Make(TFormShell::TypeOpenBrowser, ".zod", root + "gone/away/");
  EXPECT_EQ(shell->CurrentFolder(), root + "program/");
  auto relative = Make(TFormShell::TypeOpenBrowser, ".zod", "docs");
  EXPECT_EQ(relative->CurrentFolder(), root + "program/");
}

TEST_F(ShellWindow, PlacedBelowItsOwnerAtTheDesignHeight) {
  QWidget owner;
  owner.setGeometry(100, 50, 442, 57);
  TFormShell shell(&owner, host);
  EXPECT_EQ(shell.pos(), QPoint(100, 107));
  shell.SetWindowType(TFormShell::TypeOpenBrowser);
  // At least the default width: wider where the tree and the side panel need it.
  EXPECT_EQ(shell.height(), 372);
  EXPECT_GE(shell.width(), 640);
}

TEST_F(ShellWindow, WidthsAreKeptPerTypeAndCancelStillWritesThem) {
  {
    auto shell = Make(TFormShell::TypeImport, ".zor", root + "docs");
    // The tree and the panel at their default widths, the type line whole beside them.
    EXPECT_GE(shell->width(), 640);
    EXPECT_EQ(shell->ShellTreeView->width(), 177);
    EXPECT_GE(shell->EditFileType->width(), shell->EditFileType->minimumWidth());
    shell->show();
    // The outer width (the frame included) is what is kept; the splitters as
    // the user drags them.
    shell->resize(760 - (shell->frameGeometry().width() - shell->width()), shell->height());
    auto drag = [&](int handle, int by) {
      QSplitterHandle* h = shell->Splitter->handle(handle);
      const QPoint from = h->rect().center(), to = from + QPoint(by, 0);
      QMouseEvent press(QEvent::MouseButtonPress, from, h->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton, {});
      QMouseEvent move(QEvent::MouseMove, to, h->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
      QMouseEvent release(QEvent::MouseButtonRelease, to, h->mapToGlobal(to), Qt::LeftButton, Qt::NoButton, {});
      for (QMouseEvent* e : {&press, &move, &release}) QApplication::sendEvent(h, e);
    };
    drag(1, 150 - shell->ShellTreeView->width());
    drag(2, shell->PanelSub->width() - 230);
    shell->ButtonCancel->click();
    EXPECT_EQ(shell->result(), TFormShell::mrCancel);
    EXPECT_TRUE(shell->FileName.isEmpty());
  }
  const TIniFile ini(host.SettingsFile.toStdString());
  EXPECT_EQ(ini.ReadInteger("FormShell", "Import.Width", 0), 760);
  const int tree = ini.ReadInteger("FormShell", "Import.ShellTreeView", 0);
  const int panel = ini.ReadInteger("FormShell", "Import.PanelSubWidth", 0);
  EXPECT_NEAR(tree, 150, 2);
  EXPECT_NEAR(panel, 230, 2);
  EXPECT_FALSE(ini.ValueExists("FormShell", "Export.Width"));

  auto again = Make(TFormShell::TypeImport, ".zor", root + "docs");
  again->show();
  EXPECT_EQ(again->frameGeometry().width(), 760);
  EXPECT_EQ(again->frameGeometry().height(), 372);
  EXPECT_EQ(again->ShellTreeView->width(), tree);
  EXPECT_EQ(again->PanelSub->width(), panel);
  // Another type keeps its own defaults; a hand-edited width stays usable.
  auto save = Make(TFormShell::TypeSave, ".zod", root + "docs");
  EXPECT_EQ(save->OuterWidth(), 490);  // with the frame as the window system tells or as estimated
  {
    TIniFile edit(host.SettingsFile.toStdString());
    edit.WriteInteger("FormShell", "Export.Width", -5);
    edit.WriteInteger("FormShell", "Export.ShellTreeView", 100000);
  }
  auto exported = Make(TFormShell::TypeExport, ".zor", root + "docs");
  EXPECT_EQ(exported->OuterWidth(), 490);
  EXPECT_LE(exported->ShellTreeView->width(), exported->width());
  // A settings file not there yet begins as the one it starts from: read,
  // and written whole with the window's own keys on top.
  host.SettingsStart = std::exchange(host.SettingsFile, root + "user.ini");
  EXPECT_EQ(Make(TFormShell::TypeImport, ".zor", root + "docs")->OuterWidth(), 760);
  Make(TFormShell::TypeSaveShot, ".jpg", root + "docs").reset();
  const TIniFile user(host.SettingsFile.toStdString());
  EXPECT_EQ(user.ReadInteger("FormShell", "Import.Width", 0), 760);
  EXPECT_TRUE(user.ValueExists("FormShell", "SaveShot.Position"));
}

TEST_F(ShellWindow, SaveModesAskBeforeReplacingAnotherFile) {
  Touch(root + "docs/old.zod");
  Touch(root + "docs/current.zod");
  host.CurrentFile = root + "docs/current.zod";
  auto shell = Make(TFormShell::TypeSave, ".zod", root + "docs", "old");
  QStringList asked;
  bool answer = false;
  shell->AskReplace = [&](const QString& name) {
    asked << name;
    return answer;
  };
  shell->show();
  shell->ButtonYes->click();
  EXPECT_EQ(asked, QStringList{root + "docs/old.zod"});
  EXPECT_TRUE(shell->isVisible());  // kept open: the user would not replace it
  EXPECT_TRUE(shell->FileName.isEmpty());
  answer = true;
  shell->ButtonYes->click();
  EXPECT_EQ(shell->result(), TFormShell::mrYes);
  EXPECT_EQ(shell->FileName, root + "docs/old.zod");
  // The current data file and a new name are saved without a question.
  asked.clear();
  for (const char* name : {"current", "new"}) {
    shell->show();
    shell->EditFileName->setText(name);
    shell->ButtonYes->click();
    EXPECT_EQ(shell->result(), TFormShell::mrYes);
  }
  EXPECT_TRUE(asked.isEmpty());
}

TEST_F(ShellWindow, DataFilePreviewFollowsTheSelection) {
  Touch(root + "docs/with.zod",
        CrLf("[Author]\nIvan\n01.02.2003 04:05:06\n[FileDataVersion]\n0.5.2\nComment=First\nComment=Second\n[Step]\n0\n"));
  Touch(root + "docs/bare.zod", CrLf("[Step]\n5\n"));
  auto shell = Make(TFormShell::TypeOpenBrowser, ".zod", root + "docs");
  ShowLoaded(*shell);
  TFrameOpenBrowser* frame = shell->FrameOpenBrowser;
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->isVisible());
  EXPECT_TRUE(shell->LabelSub->isVisible());
  EXPECT_EQ(shell->LabelSub->text(), "(нет)");

  Pick(*shell, "with.zod");
  EXPECT_TRUE(frame->isVisible());
  EXPECT_FALSE(shell->LabelSub->isVisible());
  EXPECT_EQ(frame->WebBrowser->Location(), root + "pages/comment.htm");
  QString text = frame->WebBrowser->toPlainText();
  EXPECT_LT(text.indexOf("First"), text.indexOf("Second"));
  EXPECT_TRUE(text.contains("Автор файла: Ivan. Время создания: 01.02.2003 04:05:06. Версия формата данных: 0.5.2."));

  // The arrow keys move the selection and the preview follows (bare.zod comes first).
  shell->ShellListView->setFocus();
  TShellListView* list = shell->ShellListView;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !list->visualRect(list->currentIndex()).isEmpty(); }, 10000));  // laid out
  QTest::keyClick(list, Qt::Key_Up);
  EXPECT_EQ(shell->EditFileName->text(), "bare.zod");
  text = frame->WebBrowser->toPlainText();
  EXPECT_FALSE(text.contains("First"));
  EXPECT_TRUE(text.contains("Автор файла: . Время создания: . Версия формата данных: ."));

  // A folder hides the preview again.
  Pick(*shell, "A");
  EXPECT_FALSE(frame->isVisible());
  EXPECT_TRUE(shell->LabelSub->isVisible());
}

TEST_F(ShellWindow, ResourceSetPreviewListsTheSetsNames) {
  TResourceObject res(0, 5, 10);
  TPlantObject plant(0, 5, 10);
  res.Add("Трава", 25, 70, 65280);
  res.Add("Вода", 5, 50, 255);
  for (const char* name : {"Корова", "Коза", "Гриб"}) plant.Add(NewPlantParameter(name, TGenome(1, 1, 5, 10, 3, 10, 0, 1)));
  ASSERT_TRUE(ExportResourceSet((root + "docs/all.zor").toStdString(), res, plant, {{true, true}, {true, true, true}}));
  ASSERT_TRUE(ExportResourceSet((root + "docs/plants.zor").toStdString(), res, plant, {{}, {true, false, true}}));
  Touch(root + "docs/old.zor", CrLf("[FileDataVersion]\n0.5.1\n[ResourceCount]\n1\n[Resource0]\nA\n1\n2\n3\n"));

  auto shell = Make(TFormShell::TypeImport, ".zor", root + "docs");
  ShowLoaded(*shell);
  TFrameImport* frame = shell->FrameImport;
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->isVisible());

  Pick(*shell, "all.zor");
  EXPECT_TRUE(frame->isVisible());
  TCheckListBox* list = frame->CheckListBox;
  QStringList rows;
  for (int i = 0; i < list->Count(); ++i) rows << list->Text(i);
  EXPECT_EQ(rows, (QStringList{"Ресурсы", "Трава", "Вода", "Организмы", "Корова", "Коза", "Гриб"}));
  EXPECT_TRUE(list->Header(0));
  EXPECT_TRUE(list->Header(3));
  EXPECT_EQ(frame->ResourceStart, 1);
  EXPECT_EQ(frame->PlantStart, 4);
  for (int i = 0; i < list->Count(); ++i) EXPECT_FALSE(list->Checked(i));
  frame->ActionSelectAll->trigger();
  frame->ActionInverse->trigger();
  for (int i = 0; i < list->Count(); ++i) EXPECT_FALSE(list->Checked(i));

  Pick(*shell, "plants.zor");
  ASSERT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Text(0), "Организмы");
  EXPECT_EQ(frame->PlantStart, 1);

  Pick(*shell, "old.zor");
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(list->Count(), 0);
}

TEST_F(ShellWindow, ExportListsTheModelUnderBothHeaders) {
  auto empty = Make(TFormShell::TypeExport, ".zor", root + "docs");
  TFrameImport* frame = empty->FrameImport;
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->isHidden());
  EXPECT_EQ(empty->PanelSub->frameShape(), QFrame::NoFrame);
  ASSERT_EQ(frame->CheckListBox->Count(), 2);
  EXPECT_EQ(frame->ResourceStart, 1);
  EXPECT_EQ(frame->PlantStart, 2);

  host.ResourceNames = {"R0", "R1"};
  host.PlantNames = {"P0"};
  auto shell = Make(TFormShell::TypeExport, ".zor", root + "docs");
  frame = shell->FrameImport;
  ASSERT_EQ(frame->CheckListBox->Count(), 5);
  EXPECT_EQ(frame->CheckListBox->Text(4), "P0");
  frame->CheckListBox->SetChecked(2, true);
  frame->CheckListBox->SetChecked(4, true);
  EXPECT_EQ(frame->Ticks(frame->ResourceStart), (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(frame->Ticks(frame->PlantStart), std::vector<bool>{true});
}

TEST_F(ShellWindow, PictureFrameChoicesNamesAndQuality) {
  host.CurrentFile = "/data/fight_mutation.zod";
  host.Step = 120;
  host.HistoryItem = "Количество";
  host.StatItem = "Возраст";
  {
    auto shell = Make(TFormShell::TypeSaveShot, ".jpg", root + "docs");
    TFrameSaveShot* frame = shell->FrameSaveShot;
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->TrackBar->value(), 70);
    EXPECT_EQ(frame->LabelPosition->text(), "70 %");
    EXPECT_TRUE(frame->RadioButtonView->isChecked());
    EXPECT_EQ(shell->EditFileName->text(), "fight_mutation_120");
    frame->RadioButtonHistory->click();
    EXPECT_EQ(shell->EditFileName->text(), "fight_mutationh_120_Количество");
    frame->RadioButtonStat->click();
    EXPECT_EQ(shell->EditFileName->text(), "fight_mutations_120_Возраст");
    frame->TrackBar->setValue(85);
    EXPECT_EQ(frame->LabelPosition->text(), "85%");
  }
  {
    auto shell = Make(TFormShell::TypeSaveShot, ".jpg", root + "docs");
    EXPECT_EQ(shell->FrameSaveShot->TrackBar->value(), 85);
    EXPECT_EQ(shell->FrameSaveShot->LabelPosition->text(), "85%");
    EXPECT_TRUE(shell->FrameSaveShot->RadioButtonStat->isChecked());
  }
  // All three choices off: none checked and no name; the older key "Chart" stands for History.
  {
    TIniFile edit(host.SettingsFile.toStdString());
    edit.WriteBool("FormShell", "SaveShot.View", false);
    edit.WriteBool("FormShell", "SaveShot.Stat", false);
  }
  {
    auto shell = Make(TFormShell::TypeSaveShot, ".jpg", root + "docs");
    TFrameSaveShot* frame = shell->FrameSaveShot;
    EXPECT_FALSE(frame->RadioButtonView->isChecked() || frame->RadioButtonStat->isChecked() ||
                 frame->RadioButtonHistory->isChecked());
    EXPECT_EQ(shell->EditFileName->text(), "");
  }
  QFile::remove(host.SettingsFile);
  {
    TIniFile edit(host.SettingsFile.toStdString());
    edit.WriteBool("FormShell", "SaveShot.Chart", true);
    edit.WriteBool("FormShell", "SaveShot.View", false);
  }
  auto shell = Make(TFormShell::TypeSaveShot, ".jpg", root + "docs");
  EXPECT_TRUE(shell->FrameSaveShot->RadioButtonHistory->isChecked());
  // An unsaved new file gives its provisional name as the base.
  host.CurrentFile = root + "docs/noname3.zod";
  auto fresh = Make(TFormShell::TypeSaveShot, ".jpg", root + "docs");
  EXPECT_EQ(fresh->EditFileName->text(), "noname3h_120_Количество");
}
