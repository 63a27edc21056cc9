#include "windows/parameter/fInput.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "windows/place/uSticky.h"

namespace {
constexpr int kDesignWidth = 228, kDesignHeight = 106;
}  // namespace

TFormInput::TFormInput(QWidget* parent) : QDialog(parent, Qt::Tool) {
  InstallSticky(this, TStickyKind::None, nullptr, true);  // its own screen snapping only
  resize(kDesignWidth, kDesignHeight);
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 8);
  LabelInput = new QLabel(this);
  layout->addWidget(LabelInput);
  EditInput = new QLineEdit(this);
  layout->addWidget(EditInput);
  layout->addStretch(1);
  auto* bevel = new QFrame(this);
  bevel->setFrameShape(QFrame::HLine);
  bevel->setFrameShadow(QFrame::Sunken);
  layout->addWidget(bevel);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  ButtonYes = new QPushButton(QStringLiteral("Да"), this);
  ButtonYes->setDefault(true);
  ButtonCancel = new QPushButton(QStringLiteral("Отмена"), this);
  buttons->addWidget(ButtonYes);
  buttons->addWidget(ButtonCancel);
  layout->addLayout(buttons);
  connect(ButtonYes, &QPushButton::clicked, this, [this] { done(mrYes); });
  connect(ButtonCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

int TFormInput::CaptionWidth() const {
  // The window manager draws the caption in a bold face of about the
  // program's size; beside it the title bar holds the window's icon and up
  // to three buttons, each a square a little higher than the text, and the
  // frame lies on both sides.
  QFont bold = font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  const int bar = metrics.height() + 10;
  return std::max(kDesignWidth, metrics.horizontalAdvance(windowTitle()) + 4 * bar + 2 * 10);
}

void TFormInput::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowTitleChange && width() < CaptionWidth()) resize(CaptionWidth(), height());
}
