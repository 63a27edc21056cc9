#include "windows/parameter/fParameter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <limits>
#include <new>

#include "controls/ToolEdit.h"
#include "controls/fCombo.h"
#include "model/uFieldEdit.h"
#include "model/uLimits.h"
#include "platform/Cp1251.h"
#include "platform/IniFile.h"
#include "windows/look/DrawGrid.h"
#include "windows/look/ValueListEditor.h"
#include "windows/look/uProc.h"
#include "windows/main/main.h"
#include "windows/parameter/frComboColor.h"
#include "windows/parameter/frComboPercent.h"
#include "windows/parameter/frResource.h"
#include "windows/place/uSticky.h"
#include "windows/program/uProgram.h"
#include "windows/settings/uSettings.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"

TFormParameter* FormParameter = nullptr;

const QString TFormParameter::KeyColor = QStringLiteral("Цвет");
const QString TFormParameter::KeyColorMutant = QStringLiteral("Цвет признака мутации");
const QString TFormParameter::KeyMutation = QStringLiteral("Мутация,%");
const QString TFormParameter::KeyResourceIn = QStringLiteral("Питание, ресурс");
const QString TFormParameter::KeyResourceOut = QStringLiteral("Отход, ресурс");
const QString TFormParameter::KeyBrushValue = QStringLiteral("Значение кисти, ед");
const QString TFormParameter::KeySlur = QStringLiteral("Расстекание, %");
const QString TFormParameter::KeyResourceBegin = QStringLiteral("Начальная масса, ед");
const QString TFormParameter::KeyResourceEat = QStringLiteral("Питание за такт, ед");
const QString TFormParameter::KeyAgeReproduct = QStringLiteral("Зрелость, тактов");
const QString TFormParameter::KeyChildrenCount = QStringLiteral("Размножение, шт");
const QString TFormParameter::KeyAgeMax = QStringLiteral("Продолжительность жизни, тактов");

namespace {

const QString kSectionConst = QStringLiteral("&Постоянные параметры");
const QString kSectionVar = QStringLiteral("&Переменные параметры");
const QString kInfoCaption = QStringLiteral("Информация");
const QString kErrorCaption = QStringLiteral("Ошибка");

// A cell's text as a decimal integer, or `def` when it is not one.
int32_t NumberOr(const QString& text, int32_t def) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  return ok ? value : def;
}

// A cell's text as a decimal integer within [lo, hi]: a number beyond the
// range (however many digits it has) gives the bound on its side, a text that
// is no number `def`.
int32_t NumberIn(const QString& text, int32_t def, int32_t lo, int32_t hi) {
  const QString t = text.trimmed();
  bool ok = false;
  const qlonglong value = t.toLongLong(&ok, 10);
  if (ok) return static_cast<int32_t>(std::clamp<qlonglong>(value, lo, hi));
  static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
  if (digits.match(t).hasMatch()) return t.startsWith(QLatin1Char('-')) ? lo : hi;
  return std::clamp(def, lo, hi);
}

constexpr int32_t kMaxCount = std::numeric_limits<int32_t>::max();

// Why a text that the data file keeps as a line cannot be taken, or nothing:
// the file is in code page 1251, and a character that code page has no place
// for would come back as "?". `what` names the text in the message.
QString CodePageRefusal(const QString& what, const QString& text) {
  if (const std::string sign = FirstCharNotInCp1251(text.toStdString()); !sign.empty())
    return QStringLiteral("%1 не может содержать знак \"%2\": его нельзя записать в файл данных.")
        .arg(what, QString::fromStdString(sign));
  return {};
}

// Why a name typed for a resource or species cannot be taken, or nothing: a
// name is a key of the settings file, where a "=" ends a key and a line that
// begins with "[" opens a section, so the editor takes neither, nor blanks
// alone. (Such names can still come in from data files and resource sets; the
// settings file keeps them through character references.) A name is also a
// line of the data file and the resource set, so a character code page 1251
// has no place for is refused as well.
QString NameRefusal(const QString& typed) {
  const QString name = typed.trimmed();
  if (name.isEmpty()) return QStringLiteral("Наименование не может состоять из одних пробелов.");
  if (name.contains(QLatin1Char('='))) return QStringLiteral("Наименование не может содержать знак \"=\".");
  if (name.startsWith(QLatin1Char('['))) return QStringLiteral("Наименование не может начинаться со знака \"[\".");
  return CodePageRefusal(QStringLiteral("Наименование"), name);
}

// The tool buttons' pictures: a plus, a pencil, a cross, each with its greyed form.
QIcon ToolIcon(int kind) {
  QPixmap pix(16, 16);
  pix.fill(Qt::transparent);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  if (kind == 0) {
    p.setPen(QPen(QColor(0, 100, 0), 1));
    p.setBrush(QColor(40, 170, 40));
    QPainterPath plus;
    plus.addRect(6.5, 2.5, 3, 11);
    plus.addRect(2.5, 6.5, 11, 3);
    p.drawPath(plus.simplified());
  } else if (kind == 1) {
    p.translate(8, 8);
    p.rotate(-45);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(250, 200, 60));
    p.drawRect(QRectF(-5.5, -1.8, 9, 3.6));
    p.setBrush(QColor(240, 150, 150));
    p.drawRect(QRectF(3.5, -1.8, 2.5, 3.6));
    QPolygonF tip;
    tip << QPointF(-5.5, -1.8) << QPointF(-8, 0) << QPointF(-5.5, 1.8);
    p.setBrush(QColor(60, 60, 60));
    p.drawPolygon(tip);
  } else {
    p.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
  }
  p.end();
  // A disabled button (delete, with an empty list) shows the picture greyed,
  // as the style greys the field view's disabled brush buttons.
  QIcon icon(pix);
  icon.addPixmap(icon.pixmap(pix.size(), QIcon::Disabled), QIcon::Disabled);
  return icon;
}

}  // namespace

TFormParameter::TFormParameter(QWidget* parent) : QWidget(parent, Qt::Tool) {
  InstallSticky(this, TStickyKind::Parameter, &Dockable);
  setWindowTitle(QStringLiteral("Параметры"));
  // Hints of cut-off cells also while another window of the program is active.
  setAttribute(Qt::WA_AlwaysShowToolTips);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  Panel = new QWidget(this);
  outer->addWidget(Panel);
  auto* panelLayout = new QVBoxLayout(Panel);
  panelLayout->setContentsMargins(2, 2, 2, 2);
  PageControl = new QTabWidget(Panel);
  panelLayout->addWidget(PageControl);

  CreateGeneralPage();
  TabSheet2 = CreateListPage(false);
  TabSheet3 = CreateListPage(true);
  PageControl->addTab(TabSheet1, QStringLiteral("Общие"));
  PageControl->addTab(TabSheet2, QStringLiteral("Ресурсы"));
  PageControl->addTab(TabSheet3, QStringLiteral("Организмы"));

  // The key columns fit the longest key of the species grid, within limits.
  int widest = 0;
  for (int row = 1; row < ValueListEditorPlant->RowCount(); ++row)
    if (!ValueListEditorPlant->IsSectionRow(row))
      widest = std::max(widest, ValueListEditorPlant->fontMetrics().horizontalAdvance(ValueListEditorPlant->Keys(row)));
  for (TValueListEditor* grid : {ValueListEditorResource, ValueListEditorPlant})
    grid->SetColWidths(0, std::max(140, std::min(widest + 8, 230)));

  resize(std::max(374, sizeHint().width()), std::max(283, sizeHint().height()));
}

TFormParameter::~TFormParameter() {
  // The lists empty themselves while they go: nothing is to follow then.
  for (QListWidget* list : {ListBoxResource, ListBoxPlant}) {
    list->model()->disconnect(this);
    list->model()->blockSignals(true);  // the lambdas' connections outlived the disconnect here
  }
  if (FormParameter == this) FormParameter = nullptr;
}

void TFormParameter::CreateGeneralPage() {
  TabSheet1 = new QWidget;
  auto* page = new QVBoxLayout(TabSheet1);
  page->setContentsMargins(6, 6, 6, 6);
  page->setSpacing(4);

  GroupBoxParameters = new QGroupBox(QStringLiteral(" Поле: "), TabSheet1);
  auto* field = new QGridLayout(GroupBoxParameters);
  field->setContentsMargins(8, 4, 8, 6);
  field->setVerticalSpacing(3);
  Label1 = new QLabel(QStringLiteral("Ширина, ячеек:"));
  UpDownC = new QSpinBox;
  UpDownC->setRange(10, 1000);
  UpDownC->setSingleStep(10);
  UpDownC->setValue(10);
  Label2 = new QLabel(QStringLiteral("Высота, ячеек:"));
  UpDownR = new QSpinBox;
  UpDownR->setRange(5, 1000);
  UpDownR->setSingleStep(10);
  UpDownR->setValue(10);
  Label15 = new QLabel(QStringLiteral("Цвет поля:"));
  ComboEditField = new TComboEdit;
  Label11 = new QLabel(QStringLiteral("Размер ячейки, пикселей:"));
  UpDownCellSize = new QSpinBox;
  UpDownCellSize->setRange(3, 1000);
  UpDownCellSize->setSingleStep(1);
  UpDownCellSize->setValue(10);
  for (QSpinBox* box : {UpDownC, UpDownR, UpDownCellSize}) box->setMinimumWidth(70);
  // A typed field size is applied when the typing is done (Enter, leaving the
  // box): applied keystroke by keystroke, "1000" typed over "200" would pass
  // through 1 and 10 and cut the field, and what lay beyond would be lost.
  // The arrows still apply at once.
  UpDownC->setKeyboardTracking(false);
  UpDownR->setKeyboardTracking(false);
  UpDownCellSize->setKeyboardTracking(true);
  // A size box takes the wheel only while it has the focus: a wheel turned
  // over it on the way elsewhere would resize the field at every notch and
  // lose what lay beyond the new edge (eventFilter).
  for (QSpinBox* box : {UpDownC, UpDownR, UpDownCellSize}) {
    box->setFocusPolicy(Qt::StrongFocus);
    box->installEventFilter(this);
  }
  field->addWidget(Label1, 0, 0);
  field->addWidget(UpDownC, 0, 1);
  field->addWidget(Label15, 0, 3);
  field->addWidget(ComboEditField, 0, 4);
  field->addWidget(Label2, 1, 0);
  field->addWidget(UpDownR, 1, 1);
  field->addWidget(Label11, 1, 3);
  field->addWidget(UpDownCellSize, 1, 4);
  field->setColumnMinimumWidth(2, 12);
  field->setColumnStretch(2, 1);
  page->addWidget(GroupBoxParameters);

  GroupBox3 = new QGroupBox(QStringLiteral(" Статистика: "), TabSheet1);
  auto* stat = new QHBoxLayout(GroupBox3);
  stat->setContentsMargins(8, 4, 8, 6);
  Label19 = new QLabel(QStringLiteral("Цвет фона:"));
  ComboEditStatistic = new TComboEdit;
  stat->addWidget(Label19);
  stat->addWidget(ComboEditStatistic);
  stat->addStretch(1);
  page->addWidget(GroupBox3);

  for (TComboEdit* box : {ComboEditField, ComboEditStatistic}) {
    box->SetGlyphKind(gkEllipsis);
    box->SetButtonWidth(16);
    box->setFixedWidth(150);
  }

  GroupBox1 = new QGroupBox(QStringLiteral(" Наблюдение: "), TabSheet1);
  auto* watch = new QGridLayout(GroupBox1);
  watch->setContentsMargins(8, 4, 8, 6);
  watch->setVerticalSpacing(2);
  CheckBoxAutoBrush = new QCheckBox(QStringLiteral("При наблюдении автоматически сменять кисть на указатель"));
  CheckBoxOnlyPlant = new QCheckBox(QStringLiteral("При наблюдении показывать только организмы"));
  CheckBoxAutoStop = new QCheckBox(QStringLiteral("Останавливаться при каждом исчезновении организма"));
  Label6 = new QLabel(QStringLiteral("Частота обновления данных, тактов:"));
  EditRefresh = new QLineEdit(QStringLiteral("10"));
  EditRefresh->setFixedWidth(60);
  watch->addWidget(CheckBoxAutoBrush, 0, 0, 1, 3);
  watch->addWidget(CheckBoxOnlyPlant, 1, 0, 1, 3);
  watch->addWidget(CheckBoxAutoStop, 2, 0, 1, 3);
  watch->addWidget(Label6, 3, 0);
  watch->addWidget(EditRefresh, 3, 1);
  watch->setColumnStretch(2, 1);
  page->addWidget(GroupBox1);

  GroupBox2 = new QGroupBox(QStringLiteral(" Авторские сведения: "), TabSheet1);
  auto* author = new QGridLayout(GroupBox2);
  author->setContentsMargins(8, 4, 8, 6);
  author->setVerticalSpacing(2);
  Label18 = new QLabel(QStringLiteral("Автор:"));
  EditUserName = new QLineEdit;
  CheckBoxComment = new QCheckBox(QStringLiteral("Показывать комментарии при открытии  файлов"));
  author->addWidget(Label18, 0, 0);
  author->addWidget(EditUserName, 0, 1);
  author->addWidget(CheckBoxComment, 1, 0, 1, 2);
  page->addWidget(GroupBox2);
  page->addStretch(1);

  connect(UpDownC, &QSpinBox::valueChanged, this, [this] { EditCChange(); });
  connect(UpDownR, &QSpinBox::valueChanged, this, [this] { EditCChange(); });
  connect(UpDownCellSize, &QSpinBox::valueChanged, this, [this] { EditCellSizeChange(); });
  connect(EditRefresh, &QLineEdit::textChanged, this, [this] { EditRefreshChange(); });
  connect(EditUserName, &QLineEdit::textEdited, this, [this](const QString& typed) { EditUserNameEdited(typed); });
  connect(EditUserName, &QLineEdit::textChanged, this, [this] { EditUserNameChange(); });
  connect(ComboEditField, &QLineEdit::textEdited, this, [this] {
    if (ColorBoxHandlers) ComboEditFieldChange();
  });
  connect(ComboEditStatistic, &QLineEdit::textEdited, this, [this] {
    if (ColorBoxHandlers) ComboEditStatisticChange();
  });
  ComboEditField->OnButtonClick = [this](QObject*) { ComboEditFieldButtonClick(); };
  ComboEditStatistic->OnButtonClick = [this](QObject*) { ComboEditStatisticButtonClick(); };
}

QWidget* TFormParameter::CreateListPage(bool plant) {
  auto* page = new QWidget;
  auto* layout = new QGridLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setHorizontalSpacing(4);
  layout->setVerticalSpacing(0);

  auto* bar = new QToolBar(page);
  bar->setIconSize(QSize(16, 16));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setFixedHeight(22);
  QAction* add = bar->addAction(ToolIcon(0), QString());
  QAction* edit = bar->addAction(ToolIcon(1), QString());
  QAction* del = bar->addAction(ToolIcon(2), QString());

  auto* list = new QListWidget(page);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setFixedWidth(149);
  list->setSortingEnabled(false);

  auto* grid = new TValueListEditor(page);
  grid->SetTitleCaptions(QStringLiteral("Параметр"), QStringLiteral("Значение"));
  grid->SetColWidths(0, 140);
  grid->viewport()->installEventFilter(this);

  layout->addWidget(bar, 0, 0);
  layout->addWidget(list, 1, 0);
  layout->addWidget(grid, 0, 1, 2, 1);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(1, 1);

  if (plant) {
    ToolBarPlant = bar;
    ToolButtonAdd = add;
    ToolButtonPlantEdit = edit;
    ToolButtonPlantDel = del;
    ListBoxPlant = list;
    ValueListEditorPlant = grid;
    add->setToolTip(QStringLiteral("Добавить новый организм..."));
    edit->setToolTip(QStringLiteral("Изменить наименование организма..."));
    del->setToolTip(QStringLiteral("Удалить организм"));
    connect(add, &QAction::triggered, this, [this] { SpeedButtonPlantAddClick(); });
    connect(edit, &QAction::triggered, this, [this] { SpeedButtonPlantEditClick(); });
    connect(del, &QAction::triggered, this, [this] { SpeedButtonPlantDelClick(); });
    connect(list, &QListWidget::currentRowChanged, this, [this] { ListBoxPlantClick(); });
    connect(list, &QListWidget::itemDoubleClicked, this, [this] { SpeedButtonPlantEditClick(); });
    grid->InsertRow(kSectionConst, QString());
    grid->InsertRow(KeyColor, QString(), TValueListEditor::esEllipsis);
    grid->InsertRow(KeyColorMutant, QString(), TValueListEditor::esEllipsis);
    grid->InsertRow(kSectionVar, QString());
    grid->InsertRow(KeyResourceBegin, QString());
    grid->InsertRow(KeyResourceEat, QString());
    grid->InsertRow(KeyAgeReproduct, QString());
    grid->InsertRow(KeyChildrenCount, QString());
    grid->InsertRow(KeyAgeMax, QString());
    grid->InsertRow(KeyMutation, QString(), TValueListEditor::esEllipsis);
    grid->InsertRow(KeyResourceIn, QString(), TValueListEditor::esEllipsis);
    grid->InsertRow(KeyResourceOut, QString(), TValueListEditor::esEllipsis);
    grid->OnStringsChange = [this](TValueListEditor*) { ValueListEditorPlantStringsChange(); };

    grid->OnEditButtonClick = [this](TValueListEditor*) { ValueListEditorPlantEditButtonClick(); };
  } else {
    ToolBarResource = bar;
    ToolButtonResourceAdd = add;
    ToolButtonResourceEdit = edit;
    ToolButtonResourceDel = del;
    ListBoxResource = list;
    ValueListEditorResource = grid;
    add->setToolTip(QStringLiteral("Добавить новый ресурс..."));
    edit->setToolTip(QStringLiteral("Изменить наименование ресурса..."));
    del->setToolTip(QStringLiteral("Удалить ресурс"));
    connect(add, &QAction::triggered, this, [this] { SpeedButtonResourceAddClick(); });
    connect(edit, &QAction::triggered, this, [this] { SpeedButtonResourceEditClick(); });
    connect(del, &QAction::triggered, this, [this] { SpeedButtonResourceDelClick(); });
    connect(list, &QListWidget::currentRowChanged, this, [this] { ListBoxResourceClick(); });
    connect(list, &QListWidget::itemDoubleClicked, this, [this] { SpeedButtonResourceEditClick(); });
    grid->InsertRow(kSectionConst, QString());
    grid->InsertRow(KeyColor, QString(), TValueListEditor::esEllipsis);
    grid->InsertRow(KeyBrushValue, QString());
    grid->InsertRow(KeySlur, QString(), TValueListEditor::esEllipsis);
    grid->OnStringsChange = [this](TValueListEditor*) { ValueListEditorResourceStringsChange(); };

    grid->OnEditButtonClick = [this](TValueListEditor*) { ValueListEditorResourceEditButtonClick(); };
  }
  del->setEnabled(false);
  // Others fill the lists too (start-up, the data-file reader): whoever adds
  // or removes rows, the delete button and the brush indexes follow.
  QAbstractItemModel* model = list->model();
  connect(model, &QAbstractItemModel::rowsInserted, this, [this] { ListRowsChanged(); });
  connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { ListRowsChanged(); });
  connect(model, &QAbstractItemModel::modelReset, this, [this] { ListRowsChanged(); });
  return page;
}

// ---------------------------------------------------------------- colours

QString TFormParameter::ColorToName(TColor color) {
  for (const TNamedColor& item : NamedColors())
    if (item.Color == color) return item.Name;
  return {};
}

TColor TFormParameter::NameToColor(const QString& name, TColor def) {
  for (const TNamedColor& item : NamedColors())
    if (item.Name == name) return item.Color;
  return def;
}

// ---------------------------------------------------------------- general page

void TFormParameter::EditCChange() {
  if (!MainForm) return;
  int rows = UpDownR->value(), cols = UpDownC->value();
  TResourceObject* resource = MainForm->Resource;
  TPlantObject* plant = MainForm->Plant;
  if (resource && plant &&
      (resource->RowCount != rows || resource->ColCount != cols || plant->RowCount != rows || plant->ColCount != cols)) {
    // Both stores are resized as copies and replace the model only when both
    // could be: a field that does not fit in memory leaves the one in force.
    try {
      TResourceObject resized = *resource;
      resized.SetSize(rows, cols);
      TPlantObject plantResized = *plant;
      plantResized.SetSize(rows, cols);
      *resource = std::move(resized);
      *plant = std::move(plantResized);
    } catch (const std::bad_alloc&) {
      const QString note = QStringLiteral("Для поля %1 x %2 не хватает памяти. Поле оставлено прежним: %3 x %4.")
                               .arg(cols).arg(rows).arg(resource->ColCount).arg(resource->RowCount);
      rows = resource->RowCount;
      cols = resource->ColCount;
      ShowFieldSize(rows, cols);
      MainForm->ShowHtmlMessage(HtmlKindError, QStringLiteral("Ошибка"), {note});
    }
  }
  if (FormView) {
    FormView->DrawGridField->SetColCount(cols);
    FormView->DrawGridField->SetRowCount(rows);
  }
}

void TFormParameter::EditCellSizeChange() {
  if (FormView) FormView->SetCellSize(UpDownCellSize->value());
}

void TFormParameter::EditRefreshChange() {
  int32_t period = NumberOr(EditRefresh->text(), 10);
  if (period < 1) {
    // The tick takes the tick counter modulo the period: below 1 counts as 1.
    period = 1;
    const QSignalBlocker block(EditRefresh);
    EditRefresh->setText(QStringLiteral("1"));
  }
  if (MainForm) MainForm->Refresh = period;
}

void TFormParameter::EditUserNameChange() {
  if (!MainForm) return;
  MainForm->UserName = EditUserName->text();
  if (MainForm->FileName.isEmpty() || !QFileInfo::exists(MainForm->FileName)) {
    MainForm->Author = MainForm->UserName.toStdString();
    MainForm->ShowViewCaption();
  }
}

void TFormParameter::EditUserNameEdited(const QString& typed) {
  // The author is a line of the data file: a character it cannot carry does
  // not enter the line, which goes back to the name in force, and the page
  // says why.
  if (!MainForm) return;
  const QString refusal = CodePageRefusal(QStringLiteral("Имя автора"), typed);
  if (refusal.isEmpty()) return;
  const QString taken = MainForm->UserName;
  const int cursor = EditUserName->cursorPosition() - (typed.size() - taken.size());
  EditUserName->setText(taken);
  EditUserName->setCursorPosition(std::clamp(cursor, 0, static_cast<int>(taken.size())));
  MainForm->ShowHtmlMessage(HtmlKindInformation, kInfoCaption, {refusal});
}

void TFormParameter::ComboEditFieldChange() {
  if (!MainForm || !MainForm->Resource) return;
  const QSignalBlocker block(ComboEditField);
  ComboEditField->setText(ColorToName(MainForm->Resource->EmptyColor));
}

void TFormParameter::ComboEditStatisticChange() {
  if (!FormStatistic) return;
  const QSignalBlocker block(ComboEditStatistic);
  ComboEditStatistic->setText(ColorToName(FormStatistic->StatisticColor()));
}

// ---------------------------------------------------------------- window

void TFormParameter::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow();
}

void TFormParameter::FormShow() {
  ValueListEditorPlant->SetRow(2);
  ValueListEditorResource->SetRow(2);
  ColorBoxHandlers = true;
}

void TFormParameter::closeEvent(QCloseEvent* event) {
  if (MainForm && MainForm->ActionViewParameter) MainForm->ActionViewParameter->setChecked(false);
  hide();
  event->ignore();
}

void TFormParameter::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

void TFormParameter::FormResize() {
  // The value column of each grid fills what the key column leaves: the grid
  // lays its columns out so on every resize.
}

bool TFormParameter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel)
    for (QSpinBox* box : {UpDownC, UpDownR, UpDownCellSize})
      if (watched == box && !box->hasFocus()) {
        event->ignore();  // left to the page under it
        return true;
      }
  for (TValueListEditor* grid : {ValueListEditorResource, ValueListEditorPlant}) {
    if (!grid || watched != grid->viewport()) continue;
    if (event->type() == QEvent::MouseMove) ValueListEditorPlantMouseMove(grid, static_cast<QMouseEvent*>(event));
    return false;
  }
  return QWidget::eventFilter(watched, event);
}

void TFormParameter::ValueListEditorPlantMouseMove(TValueListEditor* grid, QMouseEvent* event) {
  if (grid->Splitting()) return;
  // Hint of a cut-off cell.
  const QPoint pos = event->position().toPoint();
  const QString hint = grid->HintText(grid->ColAt(pos.x()), grid->RowAt(pos.y()));
  if (grid->toolTip() != hint) {
    QToolTip::hideText();
    grid->setToolTip(hint);
  }
}

// ---------------------------------------------------------------- lists

int TFormParameter::SelectedResource() const {
  const int index = ListBoxResource->currentRow();
  const TResourceObject* res = MainForm ? MainForm->Resource : nullptr;
  return res && index >= 0 && index < res->Count ? index : -1;
}

int TFormParameter::SelectedPlant() const {
  const int index = ListBoxPlant->currentRow();
  const TPlantObject* plant = MainForm ? MainForm->Plant : nullptr;
  return plant && index >= 0 && index < plant->Count ? index : -1;
}

QString TFormParameter::ResourceName(int index) const {
  const TResourceObject* res = MainForm ? MainForm->Resource : nullptr;
  if (!res || index < 0 || index >= res->Count) return {};
  return QString::fromStdString(res->Params[index].Name);
}

bool TFormParameter::ListHas(const QListWidget* list, const QString& name) const {
  return ListIndexOf(list, name) >= 0;
}

bool TFormParameter::AcceptName(QString& name) {
  if (name.isEmpty()) return false;  // cancelled, or nothing typed
  if (const QString refusal = NameRefusal(name); !refusal.isEmpty()) {
    if (MainForm) MainForm->ShowHtmlMessage(HtmlKindInformation, kInfoCaption, {refusal});
    return false;
  }
  name = name.trimmed();
  return true;
}

QPoint TFormParameter::InputPosition(const QListWidget* list) const { return list->mapToGlobal(list->pos()); }

void TFormParameter::SetGridRow(TValueListEditor* grid, const QString& key, const QString& text) {
  const int row = grid->FindRow(key);
  if (row > 0) grid->SetValues(row, text);
}

void TFormParameter::ListBoxResourceClick() { LoadResourceGrid(); }

void TFormParameter::ListBoxPlantClick() { LoadPlantGrid(); }

void TFormParameter::ClearGridValues(TValueListEditor* grid) {
  for (int row = 1; row < grid->RowCount(); ++row)
    if (!grid->IsSectionRow(row)) grid->SetValues(row, QString());
}

void TFormParameter::LoadResourceGrid() {
  const int index = SelectedResource();
  if (index < 0) {
    ClearGridValues(ValueListEditorResource);
    return;
  }
  const TResourceParameter& p = MainForm->Resource->Params[index];
  TValueListEditor* grid = ValueListEditorResource;
  SetGridRow(grid, KeyColor, ColorToName(p.Color));
  SetGridRow(grid, KeyBrushValue, QString::number(p.BrushValue));
  SetGridRow(grid, KeySlur, QString::number(p.Slur));
}

void TFormParameter::LoadPlantGrid() {
  const int index = SelectedPlant();
  if (index < 0) {
    ClearGridValues(ValueListEditorPlant);
    return;
  }
  const TPlantParameter& p = MainForm->Plant->Params[index];
  TValueListEditor* grid = ValueListEditorPlant;
  SetGridRow(grid, KeyColor, ColorToName(p.Const.Color));
  SetGridRow(grid, KeyColorMutant, ColorToName(p.Const.ColorMutant));
  SetGridRow(grid, KeyResourceBegin, QString::number(p.Param.ResourceBegin()));
  SetGridRow(grid, KeyResourceEat, QString::number(p.Param.ResourceEat()));
  SetGridRow(grid, KeyAgeReproduct, QString::number(p.Param.AgeReproduct()));
  SetGridRow(grid, KeyChildrenCount, QString::number(p.Param.ChildrenCount()));
  SetGridRow(grid, KeyAgeMax, QString::number(p.Param.AgeMax()));
  SetGridRow(grid, KeyMutation, QString::number(p.Param.Mutation()));
  SetGridRow(grid, KeyResourceIn, ResourceName(p.Param.ResourceIn()));
  SetGridRow(grid, KeyResourceOut, ResourceName(p.Param.ResourceOut()));
}

void TFormParameter::ValueListEditorResourceStringsChange() {
  const int index = SelectedResource();
  TValueListEditor* grid = ValueListEditorResource;
  if (index < 0) {
    // Nothing to edit: the cells go back to empty.
    for (int row = 1; row < grid->RowCount(); ++row)
      if (!grid->IsSectionRow(row)) grid->SetValues(row, QString());
    return;
  }
  TResourceParameter& p = MainForm->Resource->Params[index];
  auto row = [grid](const QString& key) { return grid->Values(grid->FindRow(key)); };
  p.BrushValue = NumberIn(row(KeyBrushValue), 1, 1, kMaxCount);
  SetGridRow(grid, KeyBrushValue, QString::number(p.BrushValue));
  p.Slur = NumberIn(row(KeySlur), 0, 0, 100);
  SetGridRow(grid, KeySlur, QString::number(p.Slur));
  SetGridRow(grid, KeyColor, ColorToName(p.Color));
}

void TFormParameter::ValueListEditorPlantStringsChange() {
  const int index = SelectedPlant();
  TValueListEditor* grid = ValueListEditorPlant;
  if (index < 0) {
    for (int row = 1; row < grid->RowCount(); ++row)
      if (!grid->IsSectionRow(row)) grid->SetValues(row, QString());
    return;
  }
  TPlantParameter& p = MainForm->Plant->Params[index];
  auto row = [grid](const QString& key) { return grid->Values(grid->FindRow(key)); };
  const std::pair<const QString*, int> counts[] = {{&KeyResourceBegin, gResourceBegin},
                                                   {&KeyResourceEat, gResourceEat},
                                                   {&KeyAgeReproduct, gAgeReproduct},
                                                   {&KeyChildrenCount, gChildrenCount},
                                                   {&KeyAgeMax, gAgeMax}};
  for (const auto& [key, gene] : counts) {
    p.Param[gene] = NumberIn(row(*key), 1, 1, gene == gChildrenCount ? MaxChildrenCount : kMaxCount);
    SetGridRow(grid, *key, QString::number(p.Param[gene]));
  }
  p.Param.Mutation() = NumberIn(row(KeyMutation), 0, 0, 100);
  SetGridRow(grid, KeyMutation, QString::number(p.Param.Mutation()));
  SetGridRow(grid, KeyResourceIn, ResourceName(p.Param.ResourceIn()));
  SetGridRow(grid, KeyResourceOut, ResourceName(p.Param.ResourceOut()));
  SetGridRow(grid, KeyColor, ColorToName(p.Const.Color));
  SetGridRow(grid, KeyColorMutant, ColorToName(p.Const.ColorMutant));
}

void TFormParameter::UpdateListButtons() {
  ToolButtonResourceDel->setEnabled(ListBoxResource->count() > 0);
  ToolButtonPlantDel->setEnabled(ListBoxPlant->count() > 0);
}

void TFormParameter::ListRowsChanged() {
  if (!ToolButtonResourceDel || !ToolButtonPlantDel) return;
  UpdateListButtons();
  if (OwnListChange || !MainForm) return;
  // A list being refilled is judged once it is complete.
  const int resources = ListBoxResource->count(), plants = ListBoxPlant->count();
  if (!RefillingResources && MainForm->SubBrushResource >= resources)
    MainForm->SubBrushResource = std::max(0, resources - 1);
  if (!RefillingPlants && MainForm->SubBrushPlant >= plants) MainForm->SubBrushPlant = std::max(0, plants - 1);
}

void TFormParameter::ClearResourceList() {
  RefillingResources = true;
  ListBoxResource->clear();
  if (FormView && FormView->PopupMenuResource) FormView->PopupMenuResource->clear();
  UpdateListButtons();
}

void TFormParameter::AddResourceItem(int index, const QString& name) {
  {
    const QSignalBlocker block(ListBoxResource);
    ListBoxResource->addItem(name);
  }
  if (FormView) FormView->SetBrushMenuItem(TBrushTool::Resource, name, index);
  UpdateListButtons();
}

void TFormParameter::SelectFirstResource() {
  RefillingResources = false;
  ListRowsChanged();
  if (FormView) FormView->SetBrushMenuItem();  // the brush's item, also when its index was lowered
  ListBoxResource->setCurrentRow(ListBoxResource->count() > 0 ? 0 : -1);
  ListBoxResourceClick();
}

void TFormParameter::ClearPlantList() {
  RefillingPlants = true;
  ListBoxPlant->clear();
  if (FormView && FormView->PopupMenuPlant) FormView->PopupMenuPlant->clear();
  UpdateListButtons();
}

void TFormParameter::AddPlantItem(int index, const QString& name) {
  {
    const QSignalBlocker block(ListBoxPlant);
    ListBoxPlant->addItem(name);
  }
  if (FormView) FormView->SetBrushMenuItem(TBrushTool::Plant, name, index);
  UpdateListButtons();
}

void TFormParameter::SelectFirstPlant() {
  RefillingPlants = false;
  ListRowsChanged();
  if (FormView) FormView->SetBrushMenuItem();
  ListBoxPlant->setCurrentRow(ListBoxPlant->count() > 0 ? 0 : -1);
  ListBoxPlantClick();
}

void TFormParameter::ShowFieldSize(int rows, int cols) {
  const QSignalBlocker blockR(UpDownR), blockC(UpDownC);
  UpDownR->setValue(rows);
  UpDownC->setValue(cols);
}

void TFormParameter::SetFieldSize(int rows, int cols) {
  // One resize for both values: setting them one by one would pass through
  // a mixed size that cuts the stores.
  ShowFieldSize(rows, cols);
  EditCChange();
}

void TFormParameter::RefreshAfterListChange(bool update, bool firstSelectorItems) {
  if (ListChangeDepth > 0) {
    LayoutPending = true;
    FirstSelectorItemsPending = FirstSelectorItemsPending || firstSelectorItems;
    return;
  }
  if (!FormStatistic) return;
  FormStatistic->RebuildLayout();
  if (firstSelectorItems) {
    FormStatistic->ComboBoxHistory->setCurrentIndex(0);
    FormStatistic->ComboBoxStat->setCurrentIndex(0);
    FormStatistic->ComboBoxHistoryChange();
    FormStatistic->ComboBoxStatChange();
  }
  if (update) FormStatistic->UpdateView();
}

void TFormParameter::BeginListChanges() { ++ListChangeDepth; }

void TFormParameter::EndListChanges() {
  if (ListChangeDepth == 0 || --ListChangeDepth > 0) return;
  const bool layout = LayoutPending, firstItems = FirstSelectorItemsPending;
  LayoutPending = FirstSelectorItemsPending = false;
  FollowStores([&] {
    if (layout) RefreshAfterListChange(true, firstItems);
    else if (FormStatistic) FormStatistic->UpdateView();
  });
}

void TFormParameter::FollowStores(const std::function<void()>& follow) {
  try {
    follow();
  } catch (const std::bad_alloc&) {
    ListsFromStores();
  }
}

void TFormParameter::ListsFromStores() {
  if (!MainForm || !MainForm->Resource || !MainForm->Plant) return;
  OwnListChange = false;
  const TResourceObject& res = *MainForm->Resource;
  const TPlantObject& plant = *MainForm->Plant;
  const int resourceRow = ListBoxResource->currentRow(), plantRow = ListBoxPlant->currentRow();
  ClearResourceList();
  for (int32_t i = 0; i < res.Count; ++i) AddResourceItem(i, QString::fromStdString(res.Params[i].Name));
  SelectFirstResource();
  ClearPlantList();
  for (int32_t i = 0; i < plant.Count; ++i) AddPlantItem(i, QString::fromStdString(plant.Params[i].Const.Name));
  SelectFirstPlant();
  // The entries that were selected stay so, as far as the lists reach.
  if (resourceRow > 0) ListBoxResource->setCurrentRow(std::min(resourceRow, res.Count - 1));
  if (plantRow > 0) ListBoxPlant->setCurrentRow(std::min(plantRow, plant.Count - 1));
  RefreshAfterListChange(true);
}

void TFormParameter::RepaintField() {
  if (FormView && FormView->ToolBar) FormView->ToolBar->update();
  if (FormStatistic) FormStatistic->UpdateView();
}

void TFormParameter::SpeedButtonResourceAddClick() {
  if (!MainForm || !MainForm->Resource) return;
  if (MainForm->Resource->Count >= MaxItemCount) {
    MainForm->ShowHtmlMessage(HtmlKindInformation, kInfoCaption,
                              {QStringLiteral("Нельзя добавить больше %1 ресурсов.").arg(MaxItemCount)});
    return;
  }
  QString name = MainForm->InputText(InputPosition(ListBoxResource), QStringLiteral("Добавить ресурс"),
                                           QStringLiteral("Наименование ресурса:"), QStringLiteral("Ресурс"));
  if (!AcceptName(name) || ListHas(ListBoxResource, name)) return;
  // A new resource copies the selected one; with none selected it starts as
  // the program's default resource.
  int32_t brush = 25, slur = 70;
  TColor color = clYellow;
  const int index = SelectedResource();
  if (index >= 0) {
    const TResourceParameter& p = MainForm->Resource->Params[index];
    brush = p.BrushValue;
    slur = p.Slur;
    color = p.Color;
  }
  try {
    MainForm->Resource->Add(name.toStdString(), brush, slur, color);
    AddResource(name);
  } catch (const std::bad_alloc&) {
    MainForm->ShowHtmlMessage(HtmlKindError, kErrorCaption,
                              {QStringLiteral("Для ресурса \"%1\" не хватает памяти. Ресурс не добавлен.").arg(name)});
  }
}

void TFormParameter::AddResource(const QString& name) {
  try {
    ListAddedResource(name);
  } catch (const std::bad_alloc&) {
    // The resource leaves the store again (which allocates nothing), and the
    // windows show the stores as they were.
    if (MainForm && MainForm->Resource && MainForm->Resource->Count > 0)
      MainForm->Resource->Delete(MainForm->Resource->Count - 1);
    ListsFromStores();
    throw;
  }
}

void TFormParameter::ListAddedResource(const QString& name) {
  ListBoxResource->addItem(name);
  const int index = ListBoxResource->count() - 1;
  ListBoxResource->setCurrentRow(index);
  if (FormView) FormView->SetBrushMenuItem(TBrushTool::Resource, name, index);
  UpdateListButtons();
  if (FormView && FormView->ToolButtonResource && !FormView->ToolButtonResource->isEnabled() && MainForm) {
    MainForm->SubBrushResource = 0;
    FormView->ToolButtonResource->setToolTip(QStringLiteral("Ресурс: ") + ResourceName(0));
    FormView->ToolButtonResource->setEnabled(true);
  }
  RefreshAfterListChange(true);
}

void TFormParameter::SpeedButtonPlantAddClick() {
  if (!MainForm || !MainForm->Plant) return;
  if (ListBoxResource->count() == 0 || !MainForm->Resource || MainForm->Resource->Count == 0) {
    MainForm->ShowHtmlMessage(HtmlKindInformation, kInfoCaption,
                              {QStringLiteral("Нельзя добавить организм, пока нет ни одного ресурса.")});
    return;
  }
  if (MainForm->Plant->Count >= MaxItemCount) {
    MainForm->ShowHtmlMessage(HtmlKindInformation, kInfoCaption,
                              {QStringLiteral("Нельзя добавить больше %1 организмов.").arg(MaxItemCount)});
    return;
  }
  QString name = MainForm->InputText(InputPosition(ListBoxPlant), QStringLiteral("Добавить организм"),
                                           QStringLiteral("Наименование организма:"), QStringLiteral("Организм"));
  if (!AcceptName(name) || ListHas(ListBoxPlant, name)) return;
  // With none selected the new species starts as the program's default species.
  const int index = SelectedPlant();
  try {
    TPlantParameter species = index >= 0 ? MainForm->Plant->Params[index] : DefaultSettingsPlant();
    species.Const.Name = name.toStdString();
    AddPlant(species);
  } catch (const std::bad_alloc&) {
    MainForm->ShowHtmlMessage(HtmlKindError, kErrorCaption,
                              {QStringLiteral("Для организма \"%1\" не хватает памяти. Организм не добавлен.").arg(name)});
  }
}

void TFormParameter::AddPlant(TPlantParameter species) {
  if (!MainForm || !MainForm->Plant) return;
  species.Const.Count = 0;
  species.Const.Mass = 0;
  species.Stat.MaxMass = 0;
  species.Stat.MaxCount = 0;
  TPlantObject& plant = *MainForm->Plant;
  plant.Add(species);  // as it was when this fails
  try {
    ListAddedPlant(QString::fromStdString(species.Const.Name));
  } catch (const std::bad_alloc&) {
    // The species leaves the store and the run's rules again (neither
    // allocates), and the windows show the stores as they were.
    const int32_t added = plant.Count - 1;
    plant.Delete(added);
    if (MainForm->StopRules.Entries().size() > static_cast<size_t>(plant.Count))
      MainForm->StopRules.SpeciesDeleted(added);
    ListsFromStores();
    throw;
  }
}

void TFormParameter::ListAddedPlant(const QString& name) {
  // A species added during a run can not stop it until it has lived.
  if (MainForm->IsRunning()) MainForm->StopRules.SpeciesAdded();
  ListBoxPlant->addItem(name);
  const int index = ListBoxPlant->count() - 1;
  ListBoxPlant->setCurrentRow(index);
  if (FormView) FormView->SetBrushMenuItem(TBrushTool::Plant, name, index);
  UpdateListButtons();
  if (FormView && FormView->ToolButtonPlant && !FormView->ToolButtonPlant->isEnabled()) {
    MainForm->SubBrushPlant = 0;
    FormView->ToolButtonPlant->setToolTip(QStringLiteral("Организм: ") +
                                          QString::fromStdString(MainForm->Plant->Params[0].Const.Name));
    FormView->ToolButtonPlant->setEnabled(true);
    // The charts show the first item's series of the first species.
    RefreshAfterListChange(true, true);
  } else {
    RefreshAfterListChange(true);
  }
}

void TFormParameter::SpeedButtonResourceEditClick() {
  const int index = SelectedResource();
  if (!MainForm || index < 0) return;
  QString name = MainForm->InputText(InputPosition(ListBoxResource), QStringLiteral("Изменить ресурс"),
                                           QStringLiteral("Наименование ресурса:"), ResourceName(index));
  if (!AcceptName(name) || ListHas(ListBoxResource, name)) return;
  RenameResource(name, index);
}

void TFormParameter::SpeedButtonPlantEditClick() {
  const int index = SelectedPlant();
  if (!MainForm || index < 0) return;
  QString name =
      MainForm->InputText(InputPosition(ListBoxPlant), QStringLiteral("Изменить организм"),
                          QStringLiteral("Наименование организма:"),
                          QString::fromStdString(MainForm->Plant->Params[index].Const.Name));
  if (!AcceptName(name) || ListHas(ListBoxPlant, name)) return;
  RenamePlant(name, index);
}

void TFormParameter::RenameResource(const QString& name, int index) {
  if (!MainForm || !MainForm->Resource || index < 0 || index >= MainForm->Resource->Count) return;
  MainForm->Resource->Params[index].Name = name.toStdString();
  if (QListWidgetItem* item = ListBoxResource->item(index)) item->setText(name);
  const int plant = SelectedPlant();
  if (plant >= 0) {
    const TGenome& g = MainForm->Plant->Params[plant].Param;
    if (g.ResourceIn() == index) SetGridRow(ValueListEditorPlant, KeyResourceIn, name);
    if (g.ResourceOut() == index) SetGridRow(ValueListEditorPlant, KeyResourceOut, name);
  }
  if (FormView) FormView->SetBrushMenuItem(TBrushTool::Resource, name, index);
  RefreshAfterListChange(false);
}

void TFormParameter::RenamePlant(const QString& name, int index) {
  if (!MainForm || !MainForm->Plant || index < 0 || index >= MainForm->Plant->Count) return;
  MainForm->Plant->Params[index].Const.Name = name.toStdString();
  if (QListWidgetItem* item = ListBoxPlant->item(index)) item->setText(name);
  if (FormView) FormView->SetBrushMenuItem(TBrushTool::Plant, name, index);
  RefreshAfterListChange(false);
}

void TFormParameter::SpeedButtonResourceDelClick() {
  const int index = ListBoxResource->currentRow();
  FollowStores([&] { DeleteResource(index); });
}

bool TFormParameter::DeleteResource(int index) {
  if (!MainForm || !MainForm->Resource || !MainForm->Plant) return false;
  TResourceObject& res = *MainForm->Resource;
  TPlantObject& plant = *MainForm->Plant;
  bool used = false;
  for (int32_t s = 0; s < plant.Count; ++s) {
    const TGenome& g = plant.Params[s].Param;
    if (g.ResourceIn() == index || g.ResourceOut() == index) used = true;
  }
  auto refuse = [] {
    MainForm->ShowHtmlMessage(HtmlKindInformation, kInfoCaption,
                              {QStringLiteral("Нельзя удалить ресурс, пока на него ссылается хотя бы один организм.")});
    return false;
  };
  if (used) return refuse();
  if (index < 0 || index >= res.Count) return false;
  // Species always eat and excrete some resource: the last one stays while any species lives on.
  if (plant.Count > 0 && res.Count == 1) return refuse();
  // Food and waste indexes of species and organisms above it move down.
  try {
    ::DeleteResource(res, plant, index);
  } catch (const std::bad_alloc&) {
    MainForm->ShowHtmlMessage(HtmlKindError, kErrorCaption,
                              {QStringLiteral("Для удаления ресурса \"%1\" не хватает памяти. Ресурс оставлен.")
                                   .arg(ResourceName(index))});
    return false;
  }
  const int count = res.Count;
  {
    OwnListChange = true;
    const QSignalBlocker block(ListBoxResource);
    delete ListBoxResource->takeItem(index);
    ListBoxResource->setCurrentRow(std::min(count - 1, index));
    OwnListChange = false;
  }
  LoadResourceGrid();
  LoadPlantGrid();
  if (MainForm->SubBrushResource >= count) MainForm->SubBrushResource = std::max(0, count - 1);
  if (FormView && FormView->PopupMenuResource) {
    FormView->FillBrushMenu(FormView->PopupMenuResource, ListBoxResource, TBrushTool::Resource);
    if (count > 0) FormView->SetBrushMenuItem();
  }
  UpdateListButtons();
  RefreshAfterListChange(true);
  return true;
}

void TFormParameter::SpeedButtonPlantDelClick() {
  FollowStores([this] { DeletePlant(ListBoxPlant->currentRow()); });
}

void TFormParameter::DeletePlant(int index) {
  if (!MainForm || !MainForm->Plant || index < 0 || index >= MainForm->Plant->Count) return;
  TPlantObject& plant = *MainForm->Plant;
  // Neither allocates: the windows follow a store that has changed whole.
  plant.Clear(index);
  plant.Delete(index);
  MainForm->StopRules.SpeciesDeleted(index);
  const int count = plant.Count;
  int selected;
  {
    OwnListChange = true;
    const QSignalBlocker block(ListBoxPlant);
    delete ListBoxPlant->takeItem(index);
    selected = std::min(count - 1, index);
    ListBoxPlant->setCurrentRow(selected);
    OwnListChange = false;
  }
  LoadPlantGrid();
  if (MainForm->SubBrushPlant >= count) MainForm->SubBrushPlant = std::max(0, selected);
  if (FormView && FormView->PopupMenuPlant) {
    FormView->FillBrushMenu(FormView->PopupMenuPlant, ListBoxPlant, TBrushTool::Plant);
    if (count > 0) FormView->SetBrushMenuItem();
  }
  UpdateListButtons();
  RefreshAfterListChange(true);
}

// ---------------------------------------------------------------- pickers

template <class Frame>
void TFormParameter::EnsurePicker(TWindowCombo*& combo, Frame*& frame, const char* name, QWidget* anchor,
                                  void (TFormParameter::*onSelect)()) {
  if (combo) {
    // One picker serves several cells and editors: it opens at the one in use.
    combo->SetCombo(anchor);
    return;
  }
  combo = new TWindowCombo(this, anchor);
  frame = new Frame(combo);
  const QString key = QString::fromLatin1(name);
  const int width = ReadPickerSize(key + QStringLiteral(".Width"), frame->width());
  const int height = ReadPickerSize(key + QStringLiteral(".Height"), frame->height() + combo->Panel->height());
  combo->resize(width, height);
  combo->SetFrame(frame);
  combo->SetGripVisible(false);
  combo->SetOnSelect([this, onSelect](QObject*) { (this->*onSelect)(); });
}

int TFormParameter::ReadPickerSize(const QString& key, int def) {
  // The settings file in use (the user's own when the program's folder is
  // read-only); none in use, the default sizes.
  const QString file = WindowSettingsFile();
  if (file.isEmpty()) return def;
  const TIniFile ini(file.toStdString(), WindowSettingsStart().toStdString());
  const int value = ini.ReadInteger("FormParameter", key.toStdString(), def);
  return value > 0 && value <= 10000 ? value : def;
}

QWidget* TFormParameter::GridAnchor(TValueListEditor* grid) const {
  QWidget* editor = grid->InplaceEditor();
  return editor->isVisible() ? editor : grid;
}

void TFormParameter::ComboEditFieldButtonClick() {
  EnsurePicker(ComboFieldColor, FrameFieldColor, "ComboFieldColor", ComboEditField,
               &TFormParameter::ComboFieldColorSelect);
  ComboFieldColor->Show();
  FrameFieldColor->SelectColor(MainForm && MainForm->Resource ? MainForm->Resource->EmptyColor : clBlack);
}

void TFormParameter::ComboEditStatisticButtonClick() {
  EnsurePicker(ComboStatisticColor, FrameStatisticColor, "ComboStatisticColor", ComboEditStatistic,
               &TFormParameter::ComboStatisticColorSelect);
  ComboStatisticColor->Show();
  FrameStatisticColor->SelectColor(FormStatistic ? FormStatistic->StatisticColor() : clBlack);
}

void TFormParameter::ValueListEditorResourceEditButtonClick() {
  TValueListEditor* grid = ValueListEditorResource;
  const QString key = grid->Keys(grid->Row());
  if (key == KeyColor) {
    EnsurePicker(ComboResourceColor, FrameResourceColor, "ComboResourceColor", GridAnchor(grid),
                 &TFormParameter::ComboResourceColorSelect);
    ComboResourceColor->Show();
    const int index = SelectedResource();
    FrameResourceColor->SelectColor(index >= 0 ? MainForm->Resource->Params[index].Color : clBlack);
  } else if (key == KeySlur) {
    EnsurePicker(ComboResourceSlur, FrameResourceSlur, "ComboResourceSlur", GridAnchor(grid),
                 &TFormParameter::ComboResourceSlurSelect);
    ComboResourceSlur->Show();
    FrameResourceSlur->TrackBar->setValue(NumberIn(grid->Values(grid->Row()), 0, 0, 100));
  }
}

void TFormParameter::ValueListEditorPlantEditButtonClick() {
  TValueListEditor* grid = ValueListEditorPlant;
  const QString key = grid->Keys(grid->Row());
  const int index = SelectedPlant();
  const TPlantParameter* p = index >= 0 ? &MainForm->Plant->Params[index] : nullptr;
  if (key == KeyColor) {
    EnsurePicker(ComboPlantColor, FramePlantColor, "ComboPlantColor", GridAnchor(grid),
                 &TFormParameter::ComboPlantColorSelect);
    ComboPlantColor->Show();
    FramePlantColor->SelectColor(p ? p->Const.Color : clBlack);
  } else if (key == KeyColorMutant) {
    EnsurePicker(ComboPlantColorMutant, FramePlantColorMutant, "ComboPlantColorMutant", GridAnchor(grid),
                 &TFormParameter::ComboPlantColorMutantSelect);
    ComboPlantColorMutant->Show();
    FramePlantColorMutant->SelectColor(p ? p->Const.ColorMutant : clBlack);
  } else if (key == KeyMutation) {
    EnsurePicker(ComboPlantMutation, FramePlantMutation, "ComboPlantMutation", GridAnchor(grid),
                 &TFormParameter::ComboPlantMutationSelect);
    ComboPlantMutation->Show();
    FramePlantMutation->TrackBar->setValue(NumberIn(grid->Values(grid->Row()), 0, 0, 100));
  } else if (key == KeyResourceIn) {
    EnsurePicker(ComboPlantResourceIn, FramePlantResourceIn, "ComboPlantResourceIn", GridAnchor(grid),
                 &TFormParameter::ComboPlantResourceInSelect);
    ComboPlantResourceIn->Show();
    FramePlantResourceIn->FillResources();
    FramePlantResourceIn->SelectByName(p ? ResourceName(p->Param.ResourceIn()) : QString());
  } else if (key == KeyResourceOut) {
    EnsurePicker(ComboPlantResourceOut, FramePlantResourceOut, "ComboPlantResourceOut", GridAnchor(grid),
                 &TFormParameter::ComboPlantResourceOutSelect);
    ComboPlantResourceOut->Show();
    FramePlantResourceOut->FillResources();
    FramePlantResourceOut->SelectByName(p ? ResourceName(p->Param.ResourceOut()) : QString());
  }
}

void TFormParameter::ComboFieldColorSelect() {
  if (!MainForm) return;
  const TColor color = FrameFieldColor->SelectedColor();
  {
    const QSignalBlocker block(ComboEditField);
    ComboEditField->setText(FrameFieldColor->SelectedName());
  }
  if (MainForm->Resource) MainForm->Resource->EmptyColor = color;
  if (MainForm->Plant) MainForm->Plant->EmptyColor = color;
  RepaintField();
}

void TFormParameter::ComboStatisticColorSelect() {
  {
    const QSignalBlocker block(ComboEditStatistic);
    ComboEditStatistic->setText(FrameStatisticColor->SelectedName());
  }
  if (FormStatistic) FormStatistic->SetStatisticColor(FrameStatisticColor->SelectedColor());
}

void TFormParameter::ComboPlantColorSelect() {
  const int index = SelectedPlant();
  if (index < 0) return;
  SetGridRow(ValueListEditorPlant, KeyColor, FramePlantColor->SelectedName());
  MainForm->Plant->Params[index].Const.Color = FramePlantColor->SelectedColor();
  RepaintField();
}

void TFormParameter::ComboPlantColorMutantSelect() {
  const int index = SelectedPlant();
  if (index < 0) return;
  SetGridRow(ValueListEditorPlant, KeyColorMutant, FramePlantColorMutant->SelectedName());
  MainForm->Plant->Params[index].Const.ColorMutant = FramePlantColorMutant->SelectedColor();
  RepaintField();
}

void TFormParameter::ComboPlantMutationSelect() {
  const int index = SelectedPlant();
  if (index < 0) return;
  const int value = FramePlantMutation->TrackBar->value();
  SetGridRow(ValueListEditorPlant, KeyMutation, QString::number(value));
  MainForm->Plant->Params[index].Param.Mutation() = value;
}

void TFormParameter::ComboPlantResourceInSelect() {
  const int index = SelectedPlant();
  const int res = FramePlantResourceIn->ListBox->currentRow();
  if (index < 0 || res < 0 || res >= MainForm->Resource->Count) return;
  SetGridRow(ValueListEditorPlant, KeyResourceIn, ResourceName(res));
  MainForm->Plant->Params[index].Param.ResourceIn() = res;
}

void TFormParameter::ComboPlantResourceOutSelect() {
  const int index = SelectedPlant();
  const int res = FramePlantResourceOut->ListBox->currentRow();
  if (index < 0 || res < 0 || res >= MainForm->Resource->Count) return;
  SetGridRow(ValueListEditorPlant, KeyResourceOut, ResourceName(res));
  MainForm->Plant->Params[index].Param.ResourceOut() = res;
}

void TFormParameter::ComboResourceColorSelect() {
  const int index = SelectedResource();
  if (index < 0) return;
  SetGridRow(ValueListEditorResource, KeyColor, FrameResourceColor->SelectedName());
  MainForm->Resource->Params[index].Color = FrameResourceColor->SelectedColor();
  RepaintField();
}

void TFormParameter::ComboResourceSlurSelect() {
  const int index = SelectedResource();
  if (index < 0) return;
  const int value = FrameResourceSlur->TrackBar->value();
  SetGridRow(ValueListEditorResource, KeySlur, QString::number(value));
  MainForm->Resource->Params[index].Slur = value;
}

QString PageCaption(int index, const QString& fallback) {
  if (FormParameter && FormParameter->PageControl && index < FormParameter->PageControl->count())
    return FormParameter->PageControl->tabText(index);
  return fallback;
}
