#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMenu>
#include <QSlider>
#include <QTableWidget>
#include <QToolBar>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <QToolBar>
#include <QToolButton>

#include "ParameterTestUtil.h"
#include "tests/FailingAlloc.h"
#include "controls/fCombo.h"
#include "controls/ToolEdit.h"
#include "model/uLimits.h"
#include "windows/look/ValueListEditor.h"
#include "windows/main/main.h"
#include "windows/parameter/fParameter.h"
#include "windows/parameter/frComboColor.h"
#include "windows/parameter/frComboPercent.h"
#include "windows/parameter/frResource.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"

namespace {

class ParameterEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    Main = new TMainForm;
    Form = FormParameter;
    ASSERT_NE(Form, nullptr);
    Form->show();
    QApplication::processEvents();
  }
  void TearDown() override {
    delete Main;
    QApplication::processEvents();
  }

  TResourceObject& Res() { return *MainForm->Resource; }
  TPlantObject& Plant() { return *MainForm->Plant; }

  // Types over a grid row's value cell, key by key (the first key replaces the selected text).
  void TypeIntoRow(TValueListEditor* grid, const QString& key, const QString& text) {
    const int row = grid->FindRow(key);
    ASSERT_GT(row, 0);
    ASSERT_TRUE(grid->SetRow(row));
    grid->InplaceEditor()->selectAll();
    QTest::keyClicks(grid->InplaceEditor(), text);
  }
  QString Row(TValueListEditor* grid, const QString& key) { return grid->Values(grid->FindRow(key)); }

  // Adds a resource through the tool button, answering the name dialog.
  void AddResourceNamed(const QString& name) {
    partest::AnswerNextInput(name);
    Form->SpeedButtonResourceAddClick();
  }
  void AddPlantNamed(const QString& name) {
    partest::AnswerNextInput(name);
    Form->SpeedButtonPlantAddClick();
  }
  void TypeInto(QWidget* box, const QString& text) {
    box->setFocus();
    QTest::keyClicks(box, text);
  }

  TMainForm* Main = nullptr;
  TFormParameter* Form = nullptr;
};

TEST_F(ParameterEditor, ATypedWidthIsAppliedWhenTheTypingIsDoneSoNothingIsCutOnTheWay) {
  Form->UpDownR->setValue(20);
  Form->UpDownC->setValue(200);
  ASSERT_EQ(Res().ColCount, 200);
  Res().AddAmount(0, 3, 150, 7);  // beyond column 10
  Plant().Place(0, 4, 130);
  ASSERT_GT(Plant().Params[0].Const.Count, 0);

  QLineEdit* edit = Form->UpDownC->findChild<QLineEdit*>();
  ASSERT_NE(edit, nullptr);
  Form->UpDownC->setFocus();
  edit->selectAll();
  // "1000" over "200" passes through 1, 10 and 100 without touching the field.
  for (Qt::Key key : {Qt::Key_1, Qt::Key_0, Qt::Key_0, Qt::Key_0}) {
    QTest::keyClick(edit, key);
    EXPECT_EQ(Res().ColCount, 200);
    EXPECT_EQ(FormView->DrawGridField->ColCount(), 200);
  }
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(Res().ColCount, 1000);
  EXPECT_EQ(Plant().ColCount, 1000);
  EXPECT_EQ(Res().RowCount, 20);
  EXPECT_EQ(FormView->DrawGridField->ColCount(), 1000);
  EXPECT_EQ(Res().Amount(0, 3, 150), 7);
  EXPECT_GT(Plant().Field(4, 130).Mass, 0);

  // Leaving the box finishes the typing as well; the arrows apply at once.
  edit->selectAll();
  QTest::keyClicks(edit, "300");
  EXPECT_EQ(Res().ColCount, 1000);
  Form->UpDownR->setFocus();
  EXPECT_EQ(Res().ColCount, 300);
  Form->UpDownC->stepUp();
  EXPECT_EQ(Res().ColCount, 310);
}

TEST_F(ParameterEditor, TheWheelTurnsASizeBoxOnlyWhenItHasTheFocus) {
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
  Form->SetFieldSize(40, 100);
  Res().AddAmount(0, 3, 95, 5);
  // One notch over the box's text, as the mouse turns it (the box is told of it
  // as of a wheel the user turned).
  auto notch = [](QSpinBox* box, int delta) {
    QLineEdit* edit = box->findChild<QLineEdit*>();
    const QPointF at = edit->rect().center();
    QWheelEvent wheel(at, edit->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(edit, &wheel);  // as the window system delivers it (sendEvent would make it the program's own)
  };
  const int cellSize = Form->UpDownCellSize->value();
  Form->EditRefresh->setFocus();
  for (QSpinBox* box : {Form->UpDownC, Form->UpDownR, Form->UpDownCellSize})
    for (int i = 0; i < 3; ++i) notch(box, -120);
  EXPECT_EQ(Form->UpDownC->value(), 100);
  EXPECT_EQ(Form->UpDownR->value(), 40);
  EXPECT_EQ(Res().ColCount, 100);
  EXPECT_EQ(Res().Amount(0, 3, 95), 5);
  EXPECT_EQ(Form->UpDownCellSize->value(), cellSize);
  EXPECT_TRUE(Form->EditRefresh->hasFocus());
  // The box the user is in takes it.
  Form->UpDownC->setFocus();
  notch(Form->UpDownC, 120);
  EXPECT_EQ(Res().ColCount, 110);
}

TEST_F(ParameterEditor, FourRowsAreRefusedFiveAccepted) {
  Form->UpDownR->setValue(30);
  QLineEdit* edit = Form->UpDownR->findChild<QLineEdit*>();
  Form->UpDownR->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClick(edit, Qt::Key_4);
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(Res().RowCount, 30);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_5);
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(Form->UpDownR->value(), 5);
  EXPECT_EQ(Res().RowCount, 5);
  EXPECT_EQ(Plant().RowCount, 5);
  // Changing the height re-applies the width as it stands.
  EXPECT_EQ(Res().ColCount, Form->UpDownC->value());
}

TEST_F(ParameterEditor, FieldSizeFromAFileIsAppliedOnceWithinTheLimits) {
  Form->SetFieldSize(20, 30);
  EXPECT_EQ(Res().RowCount, 20);
  EXPECT_EQ(Res().ColCount, 30);
  Res().AddAmount(0, 15, 25, 9);
  // A wider and lower field: no column is cut on the way.
  Form->SetFieldSize(16, 40);
  EXPECT_EQ(Res().Amount(0, 15, 25), 9);
  EXPECT_EQ(Plant().RowCount, 16);
  EXPECT_EQ(Plant().ColCount, 40);
  Form->SetFieldSize(3, 5000);
  EXPECT_EQ(Form->UpDownR->value(), 5);
  EXPECT_EQ(Form->UpDownC->value(), 1000);
  EXPECT_EQ(Res().RowCount, 5);
  EXPECT_EQ(Res().ColCount, 1000);
}

TEST_F(ParameterEditor, ListsFilledByAReaderShowTheFirstEntry) {
  Res().Params[0].Name = "Первый";
  Res().Params[0].BrushValue = 61;
  Form->ClearResourceList();
  EXPECT_EQ(Form->ListBoxResource->count(), 0);
  EXPECT_TRUE(FormView->PopupMenuResource->actions().isEmpty());
  EXPECT_FALSE(Form->ToolButtonResourceDel->isEnabled());
  MainForm->SubBrushResource = 4;
  Form->AddResourceItem(0, QStringLiteral("Первый"));
  Form->SelectFirstResource();
  EXPECT_EQ(Form->ListBoxResource->currentRow(), 0);
  EXPECT_EQ(FormView->PopupMenuResource->actions().size(), 1);
  EXPECT_TRUE(Form->ToolButtonResourceDel->isEnabled());
  EXPECT_EQ(MainForm->SubBrushResource, 0);
  EXPECT_EQ(Form->ValueListEditorResource->Values(
                Form->ValueListEditorResource->FindRow(TFormParameter::KeyBrushValue)),
            QStringLiteral("61"));
  Form->ClearPlantList();
  Form->AddPlantItem(0, QString::fromStdString(Plant().Params[0].Const.Name));
  Form->SelectFirstPlant();
  EXPECT_EQ(Form->ListBoxPlant->currentRow(), 0);
  EXPECT_EQ(FormView->PopupMenuPlant->actions().size(), 1);
}

TEST_F(ParameterEditor, ListsFilledDirectlyKeepButtonsAndBrushesInStep) {
  MainForm->SubBrushPlant = 0;
  MainForm->SubBrushResource = 0;
  Form->ListBoxPlant->clear();
  EXPECT_FALSE(Form->ToolButtonPlantDel->isEnabled());
  Form->ListBoxPlant->addItem(QStringLiteral("А"));
  Form->ListBoxPlant->addItem(QStringLiteral("Б"));
  EXPECT_TRUE(Form->ToolButtonPlantDel->isEnabled());
  MainForm->SubBrushResource = 3;
  Form->ListBoxResource->clear();
  EXPECT_EQ(MainForm->SubBrushResource, 0);
  EXPECT_FALSE(Form->ToolButtonResourceDel->isEnabled());
}

TEST_F(ParameterEditor, CellSizeGoesToTheFieldView) {
  Form->UpDownCellSize->setValue(17);
  EXPECT_EQ(FormView->DrawGridField->DefaultColWidth(), 17);
  EXPECT_EQ(FormView->DrawGridField->DefaultRowHeight(), 17);
  Form->UpDownCellSize->setValue(1);  // below the limit of 3
  EXPECT_EQ(Form->UpDownCellSize->value(), 3);
}

TEST_F(ParameterEditor, StatisticsPeriodIsANumberOfAtLeastOne) {
  Form->EditRefresh->setText(QStringLiteral("25"));
  EXPECT_EQ(MainForm->Refresh, 25);
  Form->EditRefresh->clear();
  TypeInto(Form->EditRefresh, QStringLiteral("ab"));
  EXPECT_EQ(MainForm->Refresh, 10);
  EXPECT_EQ(Form->EditRefresh->text(), QStringLiteral("ab"));
  Form->EditRefresh->clear();
  TypeInto(Form->EditRefresh, QStringLiteral("0"));
  EXPECT_EQ(MainForm->Refresh, 1);
  EXPECT_EQ(Form->EditRefresh->text(), QStringLiteral("1"));
  Form->EditRefresh->setText(QStringLiteral("-7"));
  EXPECT_EQ(MainForm->Refresh, 1);
  EXPECT_EQ(Form->EditRefresh->text(), QStringLiteral("1"));
}

TEST_F(ParameterEditor, AuthorOfUnsavedDataFollowsTheUserName) {
  MainForm->FileName = QStringLiteral("/nonexistent/never_saved.zod");
  MainForm->FileDataVersion = "0.5.2";
  MainForm->Created = "01.02.2003 04:05:06";
  Form->EditUserName->setText(QStringLiteral("Иванов"));
  EXPECT_EQ(MainForm->UserName, QStringLiteral("Иванов"));
  EXPECT_EQ(MainForm->Author, "Иванов");
  EXPECT_EQ(FormView->windowTitle(), QStringLiteral("Наблюдение 0.5.2 - Иванов 01.02.2003 04:05:06"));

  // A file on disk keeps its author and caption.
  MainForm->FileName = QCoreApplication::applicationFilePath();
  Form->EditUserName->setText(QStringLiteral("Петров"));
  EXPECT_EQ(MainForm->UserName, QStringLiteral("Петров"));
  EXPECT_EQ(MainForm->Author, "Иванов");
  EXPECT_EQ(FormView->windowTitle(), QStringLiteral("Наблюдение 0.5.2 - Иванов 01.02.2003 04:05:06"));
}

TEST_F(ParameterEditor, ColourBoxesReplaceTypedTextWithTheColourInForce) {
  Res().EmptyColor = clFieldDefault;
  FormStatistic->SetStatisticColor(clWhite);
  TypeInto(Form->ComboEditField, QStringLiteral("x"));
  EXPECT_EQ(Form->ComboEditField->text(), TFormParameter::ColorToName(clFieldDefault));
  EXPECT_FALSE(Form->ComboEditField->text().isEmpty());
  TypeInto(Form->ComboEditStatistic, QStringLiteral("zz"));
  EXPECT_EQ(Form->ComboEditStatistic->text(), TFormParameter::ColorToName(clWhite));
  // A colour outside the list shows no name.
  Res().EmptyColor = 0x123456;
  TypeInto(Form->ComboEditField, QStringLiteral("y"));
  EXPECT_EQ(Form->ComboEditField->text(), QString());
}

TEST_F(ParameterEditor, ResourceGridClampsEveryRowAndUndoesDisplayRows) {
  ASSERT_EQ(Form->ListBoxResource->currentRow(), 0);
  TValueListEditor* grid = Form->ValueListEditorResource;
  TypeIntoRow(grid, TFormParameter::KeyBrushValue, QStringLiteral("0"));
  EXPECT_EQ(Res().Params[0].BrushValue, 1);
  EXPECT_EQ(Row(grid, TFormParameter::KeyBrushValue), QStringLiteral("1"));
  TypeIntoRow(grid, TFormParameter::KeyBrushValue, QStringLiteral("42"));
  EXPECT_EQ(Res().Params[0].BrushValue, 42);
  EXPECT_EQ(Row(grid, TFormParameter::KeyBrushValue), QStringLiteral("42"));
  TypeIntoRow(grid, TFormParameter::KeySlur, QStringLiteral("250"));
  EXPECT_EQ(Res().Params[0].Slur, 100);
  EXPECT_EQ(Row(grid, TFormParameter::KeySlur), QStringLiteral("100"));
  // Clearing the spread stores 0 and shows 0.
  grid->SetRow(grid->FindRow(TFormParameter::KeySlur));
  grid->InplaceEditor()->selectAll();
  QTest::keyClick(grid->InplaceEditor(), Qt::Key_Delete);
  EXPECT_EQ(Res().Params[0].Slur, 0);
  EXPECT_EQ(Row(grid, TFormParameter::KeySlur), QStringLiteral("0"));
  // Typing into the colour row is undone at once.
  Res().Params[0].Color = clYellow;
  TypeIntoRow(grid, TFormParameter::KeyColor, QStringLiteral("q"));
  EXPECT_EQ(Row(grid, TFormParameter::KeyColor), TFormParameter::ColorToName(clYellow));
  EXPECT_EQ(Res().Params[0].Color, clYellow);
}

TEST_F(ParameterEditor, SpeciesGridClampsEveryRow) {
  ASSERT_EQ(Form->ListBoxPlant->currentRow(), 0);
  TValueListEditor* grid = Form->ValueListEditorPlant;
  const TGenome before = Plant().Params[0].Param;
  for (const QString* key : {&TFormParameter::KeyResourceBegin, &TFormParameter::KeyResourceEat,
                             &TFormParameter::KeyAgeReproduct, &TFormParameter::KeyChildrenCount,
                             &TFormParameter::KeyAgeMax}) {
    TypeIntoRow(grid, *key, QStringLiteral("0"));
    EXPECT_EQ(Row(grid, *key), QStringLiteral("1")) << key->toStdString();
  }
  const TGenome& g = Plant().Params[0].Param;
  EXPECT_EQ(g.ResourceBegin(), 1);
  EXPECT_EQ(g.ResourceEat(), 1);
  EXPECT_EQ(g.AgeReproduct(), 1);
  EXPECT_EQ(g.ChildrenCount(), 1);
  EXPECT_EQ(g.AgeMax(), 1);
  TypeIntoRow(grid, TFormParameter::KeyChildrenCount, QStringLiteral("2000000000"));
  EXPECT_EQ(g.ChildrenCount(), MaxChildrenCount);
  EXPECT_EQ(Row(grid, TFormParameter::KeyChildrenCount), QString::number(MaxChildrenCount));
  TypeIntoRow(grid, TFormParameter::KeyAgeMax, QStringLiteral("abc"));
  EXPECT_EQ(g.AgeMax(), 1);
  EXPECT_EQ(Row(grid, TFormParameter::KeyAgeMax), QStringLiteral("1"));
  // A pasted -5 stores 0 (typed key by key, the lone "-" already becomes 0).
  grid->SetRow(grid->FindRow(TFormParameter::KeyMutation));
  QApplication::clipboard()->setText(QStringLiteral("-5"));
  grid->InplaceEditor()->selectAll();
  grid->InplaceEditor()->paste();
  EXPECT_EQ(g.Mutation(), 0);
  EXPECT_EQ(Row(grid, TFormParameter::KeyMutation), QStringLiteral("0"));
  TypeIntoRow(grid, TFormParameter::KeyMutation, QStringLiteral("250"));
  EXPECT_EQ(g.Mutation(), 100);
  EXPECT_EQ(Row(grid, TFormParameter::KeyMutation), QStringLiteral("100"));
  // Food and waste rows show the resource's name whatever is typed.
  TypeIntoRow(grid, TFormParameter::KeyResourceIn, QStringLiteral("zzz"));
  EXPECT_EQ(Row(grid, TFormParameter::KeyResourceIn), QString::fromStdString(Res().Params[0].Name));
  EXPECT_EQ(g.ResourceIn(), before.ResourceIn());
}

TEST_F(ParameterEditor, SectionRowsCannotBeSelected) {
  TValueListEditor* grid = Form->ValueListEditorPlant;
  EXPECT_TRUE(grid->IsSectionRow(1));
  EXPECT_TRUE(grid->IsSectionRow(4));
  EXPECT_EQ(grid->Row(), 2);  // shown: the colour row is current
  EXPECT_FALSE(grid->SetRow(4));
  EXPECT_EQ(grid->Row(), 2);
  // Moving down from the last constant row skips the section.
  grid->SetRow(3);
  QTest::keyClick(grid->InplaceEditor(), Qt::Key_Down);
  EXPECT_EQ(grid->Row(), 5);
  QTest::keyClick(grid->InplaceEditor(), Qt::Key_Up);
  EXPECT_EQ(grid->Row(), 3);
}

TEST_F(ParameterEditor, KeyColumnIsDraggedWithinThirtyPixelsOfEitherEdge) {
  Form->PageControl->setCurrentIndex(2);
  Form->resize(600, 400);
  QApplication::processEvents();
  TValueListEditor* grid = Form->ValueListEditorPlant;
  QWidget* vp = grid->viewport();
  const int y = grid->CellRect(0, 5).center().y();
  auto send = [&](QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(x, y), vp->mapToGlobal(QPointF(x, y)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(vp, &event);
  };
  const int edge = grid->ColWidths(0);
  const int row = grid->Row();
  send(QEvent::MouseButtonPress, edge + 1, Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(grid->Splitting());
  EXPECT_EQ(grid->Row(), row);  // the drag selects no row
  send(QEvent::MouseMove, 3, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(grid->ColWidths(0), 30);
  send(QEvent::MouseMove, vp->width() + 50, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(grid->ColWidths(0), vp->width() - 30);
  send(QEvent::MouseMove, 120, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, 120, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(grid->Splitting());
  EXPECT_EQ(grid->ColWidths(0), 120);
  EXPECT_EQ(grid->ColWidths(0) + grid->GridLineWidth() + grid->ColWidths(1), vp->width());
  // Without the button held the mouse only moves.
  send(QEvent::MouseMove, 60, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(grid->ColWidths(0), 120);
}

TEST_F(ParameterEditor, AddResourceCopiesTheSelectedOneAndRefusesDuplicates) {
  Res().Params[0].BrushValue = 33;
  Res().Params[0].Slur = 12;
  Res().Params[0].Color = clRed;
  AddResourceNamed(QStringLiteral("Вода"));
  ASSERT_EQ(Res().Count, 2);
  EXPECT_EQ(Res().Params[1].Name, "Вода");
  EXPECT_EQ(Res().Params[1].BrushValue, 33);
  EXPECT_EQ(Res().Params[1].Slur, 12);
  EXPECT_EQ(Res().Params[1].Color, clRed);
  EXPECT_EQ(Form->ListBoxResource->count(), 2);
  EXPECT_EQ(Form->ListBoxResource->currentRow(), 1);
  EXPECT_EQ(FormView->PopupMenuResource->actions().size(), 2);
  EXPECT_TRUE(Form->ToolButtonResourceDel->isEnabled());

  AddResourceNamed(QStringLiteral("вОДА"));  // the same name in other letter case
  EXPECT_EQ(Res().Count, 2);
  AddResourceNamed(QString());
  EXPECT_EQ(Res().Count, 2);
  partest::CancelNextInput();
  Form->SpeedButtonResourceAddClick();
  EXPECT_EQ(Res().Count, 2);
  EXPECT_EQ(Form->ListBoxResource->count(), 2);
}

TEST_F(ParameterEditor, RenameRefusesDuplicatesAndFollowsIntoTheSpeciesGrid) {
  AddResourceNamed(QStringLiteral("Вода"));
  Plant().Params[0].Param.ResourceIn() = 1;
  Form->ListBoxPlantClick();
  Form->ListBoxResource->setCurrentRow(1);
  partest::AnswerNextInput(QStringLiteral("ВОДА"));  // its own name in other case
  Form->SpeedButtonResourceEditClick();
  EXPECT_EQ(Res().Params[1].Name, "Вода");
  partest::AnswerNextInput(QString::fromStdString(Res().Params[0].Name).toUpper());
  Form->SpeedButtonResourceEditClick();
  EXPECT_EQ(Res().Params[1].Name, "Вода");
  partest::AnswerNextInput(QStringLiteral("Лёд"));
  Form->SpeedButtonResourceEditClick();
  EXPECT_EQ(Res().Params[1].Name, "Лёд");
  EXPECT_EQ(Form->ListBoxResource->item(1)->text(), QStringLiteral("Лёд"));
  EXPECT_EQ(Row(Form->ValueListEditorPlant, TFormParameter::KeyResourceIn), QStringLiteral("Лёд"));
  EXPECT_EQ(FormView->PopupMenuResource->actions().at(1)->text().remove('&'), QStringLiteral("Лёд"));

  AddPlantNamed(QStringLiteral("Мох"));
  partest::AnswerNextInput(QStringLiteral("мох"));
  Form->SpeedButtonPlantEditClick();
  EXPECT_EQ(Plant().Params[1].Const.Name, "Мох");
  partest::AnswerNextInput(QStringLiteral("Лишайник"));
  Form->SpeedButtonPlantEditClick();
  EXPECT_EQ(Plant().Params[1].Const.Name, "Лишайник");
  EXPECT_EQ(Form->ListBoxPlant->item(1)->text(), QStringLiteral("Лишайник"));
}

TEST_F(ParameterEditor, ANumberBeyondItsRowIsBroughtToTheRowsBound) {
  TValueListEditor* resources = Form->ValueListEditorResource;
  TypeIntoRow(resources, TFormParameter::KeyBrushValue, QStringLiteral("99999999999"));
  EXPECT_EQ(Res().Params[0].BrushValue, 2147483647);
  EXPECT_EQ(Row(resources, TFormParameter::KeyBrushValue), QStringLiteral("2147483647"));
  TValueListEditor* species = Form->ValueListEditorPlant;
  const TGenome& g = Plant().Params[0].Param;
  TypeIntoRow(species, TFormParameter::KeyMutation, QStringLiteral("99999999999999999999999"));
  EXPECT_EQ(g.Mutation(), 100);
  species->SetRow(species->FindRow(TFormParameter::KeyAgeMax));
  QApplication::clipboard()->setText(QStringLiteral("-99999999999"));
  species->InplaceEditor()->selectAll();
  species->InplaceEditor()->paste();
  EXPECT_EQ(g.AgeMax(), 1);
  TypeIntoRow(species, TFormParameter::KeyChildrenCount, QStringLiteral("12345678901"));
  EXPECT_EQ(g.ChildrenCount(), MaxChildrenCount);
}

TEST_F(ParameterEditor, NamesTheSettingsFileCannotKeepAreRefusedAndBlanksTrimmed) {
  auto answerAndCollect = [](const QString& name, QString* shown) {
    partest::OnNextModal([name, shown](QWidget* w) {
      if (QLineEdit* edit = w->findChild<QLineEdit*>()) edit->setText(name);
      partest::CollectNextMessage(shown);
      if (auto* d = qobject_cast<QDialog*>(w)) d->done(6);
    });
  };
  QString shown;
  answerAndCollect(QStringLiteral("   "), &shown);
  Form->SpeedButtonResourceAddClick();
  EXPECT_TRUE(shown.contains(QStringLiteral("пробелов"))) << shown.toStdString();
  EXPECT_EQ(Res().Count, 1);
  shown.clear();
  answerAndCollect(QStringLiteral("Вода=1"), &shown);
  Form->SpeedButtonResourceAddClick();
  EXPECT_TRUE(shown.contains(QStringLiteral("\"=\""))) << shown.toStdString();
  EXPECT_EQ(Res().Count, 1);
  shown.clear();
  answerAndCollect(QStringLiteral("[Вода"), &shown);
  Form->SpeedButtonPlantEditClick();
  EXPECT_TRUE(shown.contains(QStringLiteral("\"[\""))) << shown.toStdString();
  EXPECT_EQ(Plant().Params[0].Const.Name, "Организм Lime");

  // Blanks around a name are dropped, and the name is then compared.
  AddResourceNamed(QStringLiteral("  Вода  "));
  ASSERT_EQ(Res().Count, 2);
  EXPECT_EQ(Res().Params[1].Name, "Вода");
  EXPECT_EQ(Form->ListBoxResource->item(1)->text(), QStringLiteral("Вода"));
  AddResourceNamed(QStringLiteral(" вода"));
  EXPECT_EQ(Res().Count, 2);
  partest::AnswerNextInput(QStringLiteral(" Мох "));
  Form->SpeedButtonPlantEditClick();
  EXPECT_EQ(Plant().Params[0].Const.Name, "Мох");
}

TEST_F(ParameterEditor, ANameWithACharacterTheDataFileCannotCarryIsRefusedWithTheReason) {
  // Typed into the name window opened from the tool bar, confirmed with Enter.
  auto typeName = [](const QString& name, QString* shown) {
    partest::OnNextModal([name, shown](QWidget* w) {
      QLineEdit* edit = w->findChild<QLineEdit*>();
      ASSERT_NE(edit, nullptr);
      edit->selectAll();
      for (const QChar c : name) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
      if (shown) partest::CollectNextMessage(shown);
      QTest::keyClick(edit, Qt::Key_Return);
    });
  };
  Form->PageControl->setCurrentIndex(1);
  QString shown;
  typeName(QStringLiteral("Снег☃"), &shown);
  QTest::mouseClick(Form->ToolBarResource->widgetForAction(Form->ToolButtonResourceAdd), Qt::LeftButton);
  EXPECT_TRUE(shown.contains(QStringLiteral("\"☃\""))) << shown.toStdString();
  EXPECT_TRUE(shown.contains(QStringLiteral("Информация"))) << shown.toStdString();
  EXPECT_EQ(Res().Count, 1);
  Form->PageControl->setCurrentIndex(2);
  shown.clear();
  typeName(QStringLiteral("Ёж №5 € ☃"), &shown);
  QTest::mouseClick(Form->ToolBarPlant->widgetForAction(Form->ToolButtonPlantEdit), Qt::LeftButton);
  EXPECT_TRUE(shown.contains(QStringLiteral("\"☃\""))) << shown.toStdString();
  EXPECT_EQ(Plant().Params[0].Const.Name, "Организм Lime");
  // What the code page carries is taken.
  typeName(QStringLiteral("Ёж №5 €"), nullptr);
  QTest::mouseClick(Form->ToolBarPlant->widgetForAction(Form->ToolButtonPlantEdit), Qt::LeftButton);
  EXPECT_EQ(Plant().Params[0].Const.Name, "Ёж №5 €");
}

// The author is a line of the data file: a character code page 1251 lacks
// does not enter the author line, and the information page says why.
TEST_F(ParameterEditor, TheAuthorLineRefusesACharacterTheDataFileCannotCarry) {
  MainForm->FileName = QStringLiteral("/nonexistent/never_saved.zod");
  MainForm->FileDataVersion = "0.5.2";
  MainForm->Created = "01.02.2003 04:05:06";
  QLineEdit* edit = Form->EditUserName;
  edit->clear();
  edit->setFocus();
  // keyClicks carries Latin-1 only: the other characters go one key at a time.
  auto typeChar = [edit](const QString& c) {
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, c, Qt::NoModifier);
  };
  QTest::keyClicks(edit, "Ivan");
  QString shown;
  partest::CollectNextMessage(&shown);
  typeChar(QStringLiteral("☃"));
  EXPECT_TRUE(shown.contains(
      QStringLiteral("Имя автора не может содержать знак \"☃\": его нельзя записать в файл данных.")))
      << shown.toStdString();
  EXPECT_TRUE(shown.contains(QStringLiteral("Информация"))) << shown.toStdString();
  EXPECT_EQ(edit->text(), QStringLiteral("Ivan"));
  EXPECT_EQ(MainForm->UserName, QStringLiteral("Ivan"));
  EXPECT_EQ(MainForm->Author, "Ivan");
  EXPECT_EQ(FormView->windowTitle(), QStringLiteral("Наблюдение 0.5.2 - Ivan 01.02.2003 04:05:06"));
  // Refused in the middle of the line, the cursor stays where it was.
  QTest::keyClick(edit, Qt::Key_Home);
  shown.clear();
  partest::CollectNextMessage(&shown);
  typeChar(QStringLiteral("☃"));
  EXPECT_TRUE(shown.contains(QStringLiteral("\"☃\""))) << shown.toStdString();
  QTest::keyClicks(edit, "J ");
  EXPECT_EQ(edit->text(), QStringLiteral("J Ivan"));
  // What the code page carries enters the line and the caption.
  QTest::keyClick(edit, Qt::Key_End);
  for (const QChar c : QStringLiteral(" Иванов №5")) typeChar(QString(c));
  EXPECT_EQ(edit->text(), QStringLiteral("J Ivan Иванов №5"));
  EXPECT_EQ(MainForm->Author, "J Ivan Иванов №5");
  EXPECT_EQ(FormView->windowTitle(), QStringLiteral("Наблюдение 0.5.2 - J Ivan Иванов №5 01.02.2003 04:05:06"));
}

TEST_F(ParameterEditor, AddSpeciesWithoutResourcesIsRefusedWithTheInformationText) {
  // Remove the species first, then the only resource.
  Form->DeletePlant(0);
  ASSERT_EQ(Plant().Count, 0);
  ASSERT_TRUE(Form->DeleteResource(0));
  ASSERT_EQ(Res().Count, 0);
  QString shown;
  partest::CollectNextMessage(&shown);
  Form->SpeedButtonPlantAddClick();
  EXPECT_TRUE(shown.contains(QStringLiteral("Нельзя добавить организм, пока нет ни одного ресурса."))) << shown.toStdString();
  EXPECT_EQ(Plant().Count, 0);
  EXPECT_EQ(Form->ListBoxPlant->count(), 0);
}

TEST_F(ParameterEditor, AddingBeyondTheItemLimitIsRefusedWithTheInformationText) {
  while (Res().Count < MaxItemCount) {
    const std::string name = "R" + std::to_string(Res().Count);
    Res().Add(name, 1, 0, clYellow);
    Form->AddResourceItem(Res().Count - 1, QString::fromStdString(name));
  }
  while (Plant().Count < MaxItemCount) {
    const std::string name = "P" + std::to_string(Plant().Count);
    Plant().Add(NewPlantParameter(name, TGenome(1, 1, 5, 10, 3, 10, 0, 0)));
    Form->AddPlantItem(Plant().Count - 1, QString::fromStdString(name));
  }
  QString shown;
  partest::CollectNextMessage(&shown);
  Form->SpeedButtonResourceAddClick();
  EXPECT_TRUE(shown.contains(QStringLiteral("Нельзя добавить больше 1000 ресурсов."))) << shown.toStdString();
  EXPECT_TRUE(shown.contains(QStringLiteral("Информация")));
  EXPECT_EQ(Res().Count, MaxItemCount);
  shown.clear();
  partest::CollectNextMessage(&shown);
  Form->SpeedButtonPlantAddClick();
  EXPECT_TRUE(shown.contains(QStringLiteral("Нельзя добавить больше 1000 организмов."))) << shown.toStdString();
  EXPECT_EQ(Plant().Count, MaxItemCount);
  EXPECT_EQ(Form->ListBoxPlant->count(), MaxItemCount);
}

TEST_F(ParameterEditor, AddSpeciesCopiesTheSelectedOneWithoutOrganisms) {
  Plant().Place(0, 1, 1);
  Plant().Params[0].Param.AgeMax() = 77;
  AddPlantNamed(QStringLiteral("Мох"));
  ASSERT_EQ(Plant().Count, 2);
  const TPlantParameter& p = Plant().Params[1];
  EXPECT_EQ(p.Const.Name, "Мох");
  EXPECT_EQ(p.Param.AgeMax(), 77);
  EXPECT_EQ(p.Const.Count, 0);
  EXPECT_EQ(p.Const.Mass, 0);
  EXPECT_EQ(p.Stat.MaxCount, 0);
  EXPECT_EQ(p.Stat.MaxMass, 0);
  EXPECT_EQ(p.Const.Color, Plant().Params[0].Const.Color);
  EXPECT_EQ(Form->ListBoxPlant->currentRow(), 1);
  EXPECT_EQ(Row(Form->ValueListEditorPlant, TFormParameter::KeyAgeMax), QStringLiteral("77"));
  AddPlantNamed(QStringLiteral("МОХ"));
  EXPECT_EQ(Plant().Count, 2);
}

TEST_F(ParameterEditor, SpeciesAddedToAnEmptyListEnablesItsBrush) {
  Form->DeletePlant(0);
  ASSERT_FALSE(FormView->ToolButtonPlant->isEnabled());
  AddPlantNamed(QStringLiteral("Мох"));
  ASSERT_EQ(Plant().Count, 1);
  EXPECT_TRUE(FormView->ToolButtonPlant->isEnabled());
  EXPECT_EQ(FormView->ToolButtonPlant->toolTip(), QStringLiteral("Организм: Мох"));
  EXPECT_EQ(MainForm->SubBrushPlant, 0);
  EXPECT_EQ(FormStatistic->ComboBoxHistory->currentIndex(), 0);
}

TEST_F(ParameterEditor, DeletingAResourceInUseIsRefused) {
  AddResourceNamed(QStringLiteral("Вода"));
  Plant().Params[0].Param.ResourceOut() = 1;
  Form->ListBoxResource->setCurrentRow(1);
  QString shown;
  partest::CollectNextMessage(&shown);
  Form->SpeedButtonResourceDelClick();
  EXPECT_TRUE(shown.contains(QStringLiteral("Нельзя удалить ресурс, пока на него ссылается хотя бы один организм.")))
      << shown.toStdString();
  EXPECT_EQ(Res().Count, 2);
  EXPECT_EQ(Form->ListBoxResource->count(), 2);
}

TEST_F(ParameterEditor, DeletingAResourceRenumbersFoodAndBrush) {
  AddResourceNamed(QStringLiteral("Вода"));
  AddResourceNamed(QStringLiteral("Свет"));
  Plant().Params[0].Param.ResourceIn() = 2;
  Plant().Params[0].Param.ResourceOut() = 2;
  Plant().Place(0, 2, 2);
  MainForm->SubBrushResource = 2;
  Form->ListBoxResource->setCurrentRow(1);
  Form->SpeedButtonResourceDelClick();
  ASSERT_EQ(Res().Count, 2);
  EXPECT_EQ(Res().Params[1].Name, "Свет");
  EXPECT_EQ(Plant().Params[0].Param.ResourceIn(), 1);
  EXPECT_EQ(Plant().Field(2, 2).Genome.ResourceIn(), 1);
  EXPECT_EQ(MainForm->SubBrushResource, 1);
  EXPECT_EQ(Form->ListBoxResource->currentRow(), 1);
  EXPECT_EQ(Row(Form->ValueListEditorPlant, TFormParameter::KeyResourceIn), QStringLiteral("Свет"));
  EXPECT_EQ(FormView->PopupMenuResource->actions().size(), 2);
}

TEST_F(ParameterEditor, DeletingEverythingLeavesValidBrushes) {
  // The red of the delete button's cross, as the button is drawn.
  auto redPixels = [this] {
    const QImage image = Form->ToolBarPlant->widgetForAction(Form->ToolButtonPlantDel)->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() - std::max(c.green(), c.blue()) > 100) ++count;
      }
    return count;
  };
  EXPECT_GT(redPixels(), 10);
  FormView->ToolButtonPlantClick();
  ASSERT_EQ(MainForm->Brush, TBrushTool::Plant);
  Form->DeletePlant(0);
  EXPECT_EQ(Plant().Count, 0);
  EXPECT_EQ(Form->ListBoxPlant->count(), 0);
  EXPECT_FALSE(Form->ToolButtonPlantDel->isEnabled());
  EXPECT_EQ(redPixels(), 0) << "a disabled button's picture is greyed";
  EXPECT_EQ(MainForm->SubBrushPlant, 0);
  EXPECT_EQ(MainForm->Brush, TBrushTool::Pointer);
  EXPECT_EQ(FormView->DrawGridField->PopupMenu, FormView->PopupMenu);  // the pointer's menu is back
  FormView->ToolButtonResourceClick();
  ASSERT_EQ(MainForm->Brush, TBrushTool::Resource);
  EXPECT_TRUE(Form->DeleteResource(0));
  EXPECT_EQ(Res().Count, 0);
  EXPECT_FALSE(Form->ToolButtonResourceDel->isEnabled());
  EXPECT_EQ(MainForm->SubBrushResource, 0);
  EXPECT_EQ(MainForm->Brush, TBrushTool::Pointer);
  EXPECT_EQ(FormView->DrawGridField->PopupMenu, FormView->PopupMenu);
  EXPECT_TRUE(FormView->PopupMenuResource->actions().isEmpty());
  // Grid edits with nothing selected write nowhere.
  TValueListEditor* grid = Form->ValueListEditorResource;
  TypeIntoRow(grid, TFormParameter::KeyBrushValue, QStringLiteral("5"));
  EXPECT_EQ(Row(grid, TFormParameter::KeyBrushValue), QString());
}

TEST_F(ParameterEditor, DeletingTheFirstOfThreeMovesTheBrushIndexes) {
  AddResourceNamed(QStringLiteral("Б"));
  AddResourceNamed(QStringLiteral("В"));
  AddPlantNamed(QStringLiteral("Б"));
  AddPlantNamed(QStringLiteral("В"));
  for (int s = 0; s < 3; ++s) Plant().Params[s].Param.ResourceIn() = Plant().Params[s].Param.ResourceOut() = 1;
  MainForm->SubBrushResource = 2;
  MainForm->SubBrushPlant = 2;
  Form->ListBoxResource->setCurrentRow(0);
  Form->SpeedButtonResourceDelClick();
  Form->ListBoxPlant->setCurrentRow(0);
  Form->SpeedButtonPlantDelClick();
  EXPECT_EQ(MainForm->SubBrushResource, 1);
  EXPECT_EQ(MainForm->SubBrushPlant, 0);
  EXPECT_EQ(Form->ListBoxPlant->currentRow(), 0);
  EXPECT_EQ(Plant().Params[0].Param.ResourceIn(), 0);  // resource 1 became 0
}

TEST_F(ParameterEditor, StopRuleSnapshotFollowsSpeciesDuringARun) {
  AddPlantNamed(QStringLiteral("Б"));
  Plant().Place(0, 1, 1);
  Plant().Place(1, 2, 2);
  MainForm->ActionFieldStop->setEnabled(true);  // as while a run goes on
  ASSERT_TRUE(MainForm->IsRunning());
  MainForm->StopRules.Start(Plant());
  ASSERT_EQ(MainForm->StopRules.Entries().size(), 2u);
  AddPlantNamed(QStringLiteral("В"));
  EXPECT_EQ(MainForm->StopRules.Entries().size(), 3u);
  Form->DeletePlant(0);
  EXPECT_EQ(MainForm->StopRules.Entries().size(), 2u);
  EXPECT_EQ(MainForm->StopRules.Entries()[0], 1);  // the second species, alive at the start
  MainForm->ActionFieldStop->setEnabled(false);
}

TEST_F(ParameterEditor, ResourceColourPickerChosenWithEnterWritesStoreAndGrid) {
  TValueListEditor* grid = Form->ValueListEditorResource;
  ASSERT_TRUE(grid->SetRow(grid->FindRow(TFormParameter::KeyColor)));
  Res().Params[0].Color = clYellow;
  Form->ValueListEditorResourceEditButtonClick();
  ASSERT_NE(Form->ComboResourceColor, nullptr);
  ASSERT_NE(Form->FrameResourceColor, nullptr);
  EXPECT_TRUE(Form->ComboResourceColor->isVisible());
  EXPECT_EQ(Form->FrameResourceColor->SelectedColor(), clYellow);  // preset to the colour in force
  Form->FrameResourceColor->SelectColor(0xFF0000);
  QTest::keyClick(Form->FrameResourceColor->ListBox, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_FALSE(Form->ComboResourceColor->isVisible());
  EXPECT_EQ(Res().Params[0].Color, 0xFF0000);
  EXPECT_EQ(Row(grid, TFormParameter::KeyColor), TFormParameter::ColorToName(0xFF0000));
}

TEST_F(ParameterEditor, DoubleClickInAPickerAccepts) {
  TValueListEditor* grid = Form->ValueListEditorPlant;
  ASSERT_TRUE(grid->SetRow(grid->FindRow(TFormParameter::KeyColorMutant)));
  Form->ValueListEditorPlantEditButtonClick();
  ASSERT_NE(Form->FramePlantColorMutant, nullptr);
  QListWidget* list = Form->FramePlantColorMutant->ListBox;
  const QList<QListWidgetItem*> white = list->findItems(TFormParameter::ColorToName(clWhite), Qt::MatchExactly);
  ASSERT_EQ(white.size(), 1);
  const int row = list->row(white.first());
  list->scrollToItem(list->item(row));
  const QRect rect = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  QApplication::processEvents();
  EXPECT_EQ(Plant().Params[0].Const.ColorMutant, clWhite);
  EXPECT_EQ(Row(grid, TFormParameter::KeyColorMutant), TFormParameter::ColorToName(clWhite));
  EXPECT_FALSE(Form->ComboPlantColorMutant->isVisible());
}

TEST_F(ParameterEditor, APickerWithoutSettingsHasTheFramesSizeAndNoGrip) {
  TValueListEditor* grid = Form->ValueListEditorResource;
  ASSERT_TRUE(grid->SetRow(grid->FindRow(TFormParameter::KeyColor)));
  Form->ValueListEditorResourceEditButtonClick();
  ASSERT_NE(Form->ComboResourceColor, nullptr);
  EXPECT_EQ(Form->ComboResourceColor->height(), 196 + Form->ComboResourceColor->Panel->height());
  EXPECT_FALSE(Form->ComboResourceColor->GripVisible());
}

TEST_F(ParameterEditor, FieldColourPickerChangesBothStores) {
  Res().EmptyColor = 0x123456;  // not in the list: the first colour is preset
  Form->ComboEditFieldButtonClick();
  ASSERT_NE(Form->FrameFieldColor, nullptr);
  EXPECT_EQ(Form->FrameFieldColor->ListBox->currentRow(), 0);
  Form->FrameFieldColor->SelectColor(clWhite);
  Form->ComboFieldColor->SpeedButtonYesClick();
  QApplication::processEvents();
  EXPECT_EQ(Res().EmptyColor, clWhite);
  EXPECT_EQ(Plant().EmptyColor, clWhite);
  EXPECT_EQ(Form->ComboEditField->text(), TFormParameter::ColorToName(clWhite));
}

TEST_F(ParameterEditor, StatisticsColourPickerOpensOnTheColourInForce) {
  FormStatistic->SetStatisticColor(clFieldDefault);
  Form->ComboEditStatisticButtonClick();
  ASSERT_NE(Form->FrameStatisticColor, nullptr);
  EXPECT_EQ(Form->FrameStatisticColor->SelectedColor(), clFieldDefault);
  Form->FrameStatisticColor->SelectColor(0xC0C0C0);
  Form->ComboStatisticColor->SpeedButtonYesClick();
  QApplication::processEvents();
  EXPECT_EQ(FormStatistic->StatisticColor(), 0xC0C0C0);
  EXPECT_EQ(Form->ComboEditStatistic->text(), TFormParameter::ColorToName(0xC0C0C0));
}

TEST_F(ParameterEditor, CancelledPickerLeavesTheModelAlone) {
  TValueListEditor* grid = Form->ValueListEditorPlant;
  ASSERT_TRUE(grid->SetRow(grid->FindRow(TFormParameter::KeyColor)));
  const TColor before = Plant().Params[0].Const.Color;
  Form->ValueListEditorPlantEditButtonClick();
  ASSERT_NE(Form->FramePlantColor, nullptr);
  Form->FramePlantColor->SelectColor(before == clWhite ? clBlack : clWhite);
  QTest::keyClick(Form->FramePlantColor->ListBox, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(Plant().Params[0].Const.Color, before);
}

TEST_F(ParameterEditor, MutationPickerIsPresetFromTheRowAndClamped) {
  TValueListEditor* grid = Form->ValueListEditorPlant;
  const int row = grid->FindRow(TFormParameter::KeyMutation);
  ASSERT_TRUE(grid->SetRow(row));
  grid->SetValues(row, QStringLiteral("150"));
  Form->ValueListEditorPlantEditButtonClick();
  ASSERT_NE(Form->FramePlantMutation, nullptr);
  EXPECT_EQ(Form->FramePlantMutation->TrackBar->value(), 100);
  Form->ComboPlantMutation->hide();
  grid->SetValues(row, QStringLiteral("abc"));
  Form->ValueListEditorPlantEditButtonClick();
  EXPECT_EQ(Form->FramePlantMutation->TrackBar->value(), 0);
  Form->FramePlantMutation->TrackBar->setValue(35);
  Form->ComboPlantMutation->SpeedButtonYesClick();
  QApplication::processEvents();
  EXPECT_EQ(Plant().Params[0].Param.Mutation(), 35);
  EXPECT_EQ(grid->Values(row), QStringLiteral("35"));
}

TEST_F(ParameterEditor, FoodPickerListsResourcesUnderTheirCurrentNames) {
  AddResourceNamed(QStringLiteral("Вода"));
  TValueListEditor* grid = Form->ValueListEditorPlant;
  ASSERT_TRUE(grid->SetRow(grid->FindRow(TFormParameter::KeyResourceIn)));
  Form->ValueListEditorPlantEditButtonClick();
  ASSERT_NE(Form->FramePlantResourceIn, nullptr);
  ASSERT_EQ(Form->FramePlantResourceIn->ListBox->count(), 2);
  EXPECT_EQ(Form->FramePlantResourceIn->ListBox->currentRow(), 0);
  Form->ComboPlantResourceIn->hide();
  Form->RenameResource(QStringLiteral("Лёд"), 1);
  Form->ValueListEditorPlantEditButtonClick();
  EXPECT_EQ(Form->FramePlantResourceIn->ListBox->item(1)->text(), QStringLiteral("Лёд"));
  Form->FramePlantResourceIn->ListBox->setCurrentRow(1);
  Form->ComboPlantResourceIn->SpeedButtonYesClick();
  QApplication::processEvents();
  EXPECT_EQ(Plant().Params[0].Param.ResourceIn(), 1);
  EXPECT_EQ(Row(grid, TFormParameter::KeyResourceIn), QStringLiteral("Лёд"));
}

}  // namespace

TEST_F(ParameterEditor, APickerOpensAtTheCellOrEditorInUseEachTime) {
  TValueListEditor* grid = Form->ValueListEditorResource;
  Form->PageControl->setCurrentWidget(Form->TabSheet2);
  ASSERT_TRUE(grid->SetRow(grid->FindRow(TFormParameter::KeyColor)));
  QApplication::processEvents();
  ASSERT_TRUE(grid->InplaceEditor()->isVisible());
  Form->ValueListEditorResourceEditButtonClick();
  ASSERT_NE(Form->ComboResourceColor, nullptr);
  EXPECT_EQ(Form->ComboResourceColor->Combo(), grid->InplaceEditor());
  Form->ComboResourceColor->FormDeactivate();
  // Without the cell's edit box the picker opens at the grid itself.
  grid->InplaceEditor()->hide();
  Form->ValueListEditorResourceEditButtonClick();
  EXPECT_EQ(Form->ComboResourceColor->Combo(), grid);
  Form->ComboResourceColor->FormDeactivate();
  grid->InplaceEditor()->show();
  Form->ValueListEditorResourceEditButtonClick();
  EXPECT_EQ(Form->ComboResourceColor->Combo(), grid->InplaceEditor());
  Form->ComboResourceColor->FormDeactivate();
}

TEST_F(ParameterEditor, DeletingTheLastEntryEmptiesItsValueGrid) {
  TValueListEditor* plantGrid = Form->ValueListEditorPlant;
  TValueListEditor* resGrid = Form->ValueListEditorResource;
  ASSERT_FALSE(Row(plantGrid, TFormParameter::KeyAgeMax).isEmpty());
  ASSERT_FALSE(Row(resGrid, TFormParameter::KeySlur).isEmpty());
  Form->ListBoxPlant->setCurrentRow(0);
  Form->SpeedButtonPlantDelClick();
  ASSERT_EQ(Plant().Count, 0);
  for (int row = 1; row < plantGrid->RowCount(); ++row)
    EXPECT_EQ(plantGrid->Values(row), QString()) << plantGrid->Keys(row).toStdString();
  Form->ListBoxResource->setCurrentRow(0);
  Form->SpeedButtonResourceDelClick();
  ASSERT_EQ(Res().Count, 0);
  for (int row = 1; row < resGrid->RowCount(); ++row)
    EXPECT_EQ(resGrid->Values(row), QString()) << resGrid->Keys(row).toStdString();
}

TEST_F(ParameterEditor, DeletingWithNoResourceSelectedDoesNothingAndSaysNothing) {
  ASSERT_EQ(Res().Count, 1);
  ASSERT_GT(Plant().Count, 0);
  // Every modal window that opens is noted and closed.
  QStringList shown;
  QTimer watch;
  watch.setInterval(5);
  QObject::connect(&watch, &QTimer::timeout, [&shown] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    shown << partest::WindowText(modal);
    if (auto* d = qobject_cast<QDialog*>(modal))
      d->reject();
    else
      modal->close();
  });
  watch.start();
  Form->ListBoxResource->setCurrentRow(-1);
  Form->SpeedButtonResourceDelClick();
  EXPECT_TRUE(shown.isEmpty()) << shown.join('|').toStdString();
  EXPECT_EQ(Res().Count, 1);
  // With the last resource selected while species live, the refusal is shown.
  Form->ListBoxResource->setCurrentRow(0);
  Form->SpeedButtonResourceDelClick();
  EXPECT_EQ(shown.size(), 1);
  EXPECT_EQ(Res().Count, 1);
}

TEST_F(ParameterEditor, ListCommandsThatRunOutOfMemoryLeaveTheStoresAndTheWindowsAsTheyWere) {
  // Resources A, B, C; species P eats C and excretes A, with organisms on the
  // field, and 98 more species: deleting B renumbers what names C, and the
  // renumbering asks for a block of more than 4 KB. Memory runs out there,
  // and at the first such block an add asks for once its name is given.
  Form->RenameResource("A", 0);
  for (const char* name : {"B", "C"}) {
    Res().Add(name, 5, 10, clRed);
    Form->AddResource(name);
  }
  Form->SetFieldSize(40, 40);
  Form->BeginListChanges();
  Form->AddPlant(NewPlantParameter("P", TGenome(2, 1, 5, 10, 3, 10, 2, 0), clLime));
  for (int i = 0; i < 98; ++i)
    Form->AddPlant(NewPlantParameter("S" + std::to_string(i), TGenome(2, 1, 5, 10, 3, 10, 0, 0)));
  Form->EndListChanges();
  for (int c = 0; c < 6; ++c) Plant().Place(c % 2, 1, c);
  const TGenome eatsC = Plant().Params[1].Param;
  // P's organisms live to 600 different ages: the statistics of P ask for
  // more than 4 KB, so a species add runs out once the species is in its store.
  for (int i = 0; i < 600; ++i) {
    Plant().Params[1].Param.AgeMax() = 100 + i;
    Plant().Place(1, 2 + i / 40, i % 40);
  }
  Plant().Params[1].Param = eatsC;
  ASSERT_EQ(eatsC.ResourceIn(), 2);

  const size_t largest = 4096;
  QStringList pages;
  QTimer watch;
  watch.setInterval(5);
  QObject::connect(&watch, &QTimer::timeout, [&pages, largest] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (auto* input = modal->findChild<QLineEdit*>(); input && modal->windowTitle().startsWith("Добавить")) {
      input->setText(QStringLiteral("Новый"));
      FailNextAllocationLargerThan(largest);
      QTest::keyClick(input, Qt::Key_Return);
      return;
    }
    pages << partest::WindowText(modal);
    if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
    else modal->close();
  });
  watch.start();
  auto listed = [](QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  };
  auto menu = [](QMenu* m) {
    QStringList out;
    for (QAction* a : m->actions()) out << a->text();
    return out;
  };
  auto resources = [&] {
    QStringList out;
    for (const TResourceParameter& p : Res().Params) out << QString::fromStdString(p.Name);
    return out;
  };
  auto plants = [&] {
    QStringList out;
    for (const TPlantParameter& p : Plant().Params) out << QString::fromStdString(p.Const.Name);
    return out;
  };
  // The windows show the stores; the species name the resources they named.
  auto expectAsBefore = [&](const char* command) {
    SCOPED_TRACE(command);
    ASSERT_EQ(Res().Count, 3);
    ASSERT_EQ(Res().Field.LayerCount(), 3);
    ASSERT_EQ(Plant().Count, 100);
    EXPECT_EQ(Plant().Params[1].Param, eatsC);
    EXPECT_EQ(Plant().Field(1, 1).Genome, eatsC);
    EXPECT_EQ(listed(Form->ListBoxResource), resources());
    EXPECT_EQ(listed(Form->ListBoxPlant), plants());
    EXPECT_EQ(menu(FormView->PopupMenuResource), resources());
    EXPECT_EQ(menu(FormView->PopupMenuPlant), plants());
    EXPECT_EQ(FormStatistic->StringGridMain->rowCount(), 3 * 3 + 9 * 100);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("не хватает памяти")) << pages[0].toStdString();
    pages.clear();
  };
  auto press = [&](QToolBar* bar, QAction* command) {
    QWidget* button = bar->widgetForAction(command);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::qWait(20);
  };
  Form->ListBoxResource->setCurrentRow(1);
  FailNextAllocationLargerThan(largest);
  press(Form->ToolBarResource, Form->ToolButtonResourceDel);
  EXPECT_TRUE(StopFailingAllocations());
  expectAsBefore("delete B");
  press(Form->ToolBarResource, Form->ToolButtonResourceAdd);
  EXPECT_TRUE(StopFailingAllocations());
  expectAsBefore("add a resource");
  Form->ListBoxPlant->setCurrentRow(2);
  press(Form->ToolBarPlant, Form->ToolButtonAdd);
  EXPECT_TRUE(StopFailingAllocations());
  expectAsBefore("add a species");

  // With the memory back, B goes and what named C names it at its new place.
  Form->ListBoxResource->setCurrentRow(1);
  press(Form->ToolBarResource, Form->ToolButtonResourceDel);
  EXPECT_TRUE(pages.isEmpty()) << pages.join('|').toStdString();
  EXPECT_EQ(resources(), (QStringList{"A", "C"}));
  EXPECT_EQ(listed(Form->ListBoxResource), resources());
  EXPECT_EQ(Plant().Params[1].Param.ResourceIn(), 1);
  EXPECT_EQ(Plant().Field(1, 1).Genome.ResourceIn(), 1);
}
