#pragma once
// The kit's lightweight controls: the shadowed label TKitLabel and the
// speed button TKitSpeedButton with its glyph holder TKitButtonGlyph, whose
// state images live in image lists (TGlyphList) shared through TGlyphCache.
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "controls/KitConst.h"

class QAction;
class QShortcut;

// ---------------------------------------------------------------------------
// Shadowed text

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

// Draws `text` first in the shadow colour moved by the shadow size in the
// given direction, then in the painter's pen colour. `flags` are Qt text
// flags. With `calcRect` nothing is drawn: `rect` becomes the measured extent
// (text and shadow) starting at its top-left corner. Otherwise `rect` becomes
// the union of the text and shadow rectangles. Returns the height drawn
// (including the shadow), 0 for nothing.
int DrawShadowText(QPainter& canvas, const QString& text, QRect& rect, int flags, bool calcRect,
                   int shadowSize, const QColor& shadowColor, TShadowPosition shadowPos);

// ---------------------------------------------------------------------------
// TKitLabel: a label whose caption has a shadow

class TKitLabel : public QWidget {
  Q_OBJECT
 public:
  explicit TKitLabel(QWidget* parent = nullptr);
  ~TKitLabel() override;

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& value);
  QWidget* FocusControl() const { return FFocusControl; }
  void SetFocusControl(QWidget* value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout value);
  QColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(const QColor& value);
  uint8_t ShadowSize() const { return FShadowSize; }
  void SetShadowSize(uint8_t value);
  TShadowPosition ShadowPos() const { return FShadowPos; }
  void SetShadowPos(TShadowPosition value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // Background colour of an opaque label (the button face by default).
  QColor Color() const { return FColor; }
  void SetColor(const QColor& value);
  // Colour of the caption (the palette's window text).
  QColor FontColor() const;
  void SetFontColor(const QColor& value);

  bool Focused() const { return FFocused; }
  bool MouseInControl() const { return FMouseInControl; }
  bool Pressed() const { return FPressed; }

  // Sizes the label to its text while AutoSize is on.
  void AdjustBounds();
  QSize sizeHint() const override;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;

 protected:
  virtual QString GetLabelText() const;
  virtual QColor GetDefaultFontColor() const;
  virtual void MouseEnter();
  virtual void MouseLeave();
  // Draws (or with calcRect measures) the caption into rect.
  void DoDrawText(QPainter& canvas, QRect& rect, int flags, bool calcRect);
  void UpdateTracking(const QPoint& globalPos);

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  int TextFlags() const;
  QRect MeasureText() const;
  void UpdateAccel();
  void FocusChanged(QWidget* now);
  void AccelActivated();

  QString FCaption;
  QPointer<QWidget> FFocusControl;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  TTextLayout FLayout = tlTop;
  QColor FShadowColor;
  uint8_t FShadowSize = 1;
  TShadowPosition FShadowPos = spLeftTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  bool FShowFocus = false;
  bool FFocused = false;
  bool FMouseInControl = false;
  bool FPressed = false;
  bool FTransparent = false;
  QColor FColor;
  QShortcut* FAccel = nullptr;
};

// ---------------------------------------------------------------------------
// Glyph lists and the cache that shares them

// Drawing states of a speed button, one glyph image each.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive, bsInactive };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum TKitDropDownMenuPos { dmpBottom, dmpRight };

// Images of one size in numbered slots; a freed slot is reused, the list
// never shrinks.
class TGlyphList {
 public:
  TGlyphList(int width, int height);  // CreateSize
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Adds an image; the mask's white pixels are see-through. Returns the slot.
  int Add(const QImage& image, const QImage& mask);
  // Adds an image whose pixels of the mask colour are see-through.
  int AddMasked(const QImage& image, const QColor& maskColor);
  void Delete(int index);
  int Count() const { return FCount; }
  int Capacity() const { return static_cast<int>(FImages.size()); }
  // The image of a slot with its transparency (a null image for a bad index).
  QImage Image(int index) const;
  void Draw(QPainter& canvas, int x, int y, int index) const;

  std::vector<bool> UsedSlots;

 private:
  int AllocSlot();
  int FWidth, FHeight;
  int FCount = 0;
  std::vector<QImage> FImages;
};

// The program's one set of glyph lists, at most one per image size.
class TGlyphCache {
 public:
  TGlyphList* GetList(int width, int height);
  // Frees the list when it holds no image any more.
  void ReturnList(TGlyphList* list);
  bool Empty() const { return Lists.empty(); }
  std::vector<std::unique_ptr<TGlyphList>> Lists;
};
// The cache while it exists (created with the first glyph holder).
TGlyphCache* GlyphCacheInstance();

// ---------------------------------------------------------------------------
// TKitButtonGlyph: the glyph, caption and drop-down mark of a speed button

class TKitButtonGlyph {
 public:
  TKitButtonGlyph();
  ~TKitButtonGlyph();
  TKitButtonGlyph(const TKitButtonGlyph&) = delete;
  TKitButtonGlyph& operator=(const TKitButtonGlyph&) = delete;

  const QImage& Glyph() const { return SourceGlyph; }
  // Takes a copy of the bitmap; its bottom-left pixel gives the see-through
  // colour, or the colour given.
  void SetGlyph(const QImage& value);
  void SetGlyph(const QImage& value, const QColor& transparentColor);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int value);
  // Drops the built state images.
  void Invalidate();
  // The slot of the state image in GlyphList, built when missing; -1 without glyph.
  int CreateButtonGlyph(TButtonState state);

  // Lays out and draws glyph, caption and drop-down mark; returns the text rectangle.
  QRect Draw(QPainter& canvas, const QRect& client, const QString& caption, TButtonLayout layout, int margin,
             int spacing, bool popupMark, TButtonState state, int textFlags);
  QRect DrawEx(QPainter& canvas, const QRect& client, const QString& caption, TButtonLayout layout, int margin,
               int spacing, bool popupMark, const std::vector<QImage>* images, int imageIndex, TButtonState state,
               int textFlags);
  // Positions of glyph and text inside the client rectangle.
  void CalcButtonLayout(QPainter& canvas, const QRect& client, QString& caption, TButtonLayout layout, int margin,
                        int spacing, bool popupMark, const std::vector<QImage>* images, int imageIndex,
                        QPoint& glyphPos, QRect& textBounds, int textFlags);
  QString MinimizeCaption(QPainter& canvas, const QString& caption, int width) const;
  // Grey of a colour, keeping the see-through colour and the button face.
  static QRgb MapColor(QRgb colour, QRgb transparent);
  QSize GlyphSize(const std::vector<QImage>* images, int imageIndex) const;

  QImage SourceGlyph;
  TGlyphList* GlyphList = nullptr;
  std::array<int, 5> StateIndexes{{-1, -1, -1, -1, -1}};
  QColor TransparentColor;
  bool WordWrap = false;
  TAlignment Alignment = taCenter;
  std::function<void()> OnChange;

 private:
  void GlyphChanged();
  void DrawButtonGlyph(QPainter& canvas, const QPoint& pos, TButtonState state);
  void DrawButtonImage(QPainter& canvas, const QPoint& pos, const std::vector<QImage>& images, int index,
                       TButtonState state);
  void DrawButtonText(QPainter& canvas, const QString& caption, const QRect& textBounds, TButtonState state,
                      int textFlags);
  void DrawPopupMark(QPainter& canvas, int x, int y, TButtonState state);
  int FNumGlyphs = 1;
};

// A downward triangle of 7, 5, 3 and 1 pixels with its top row at y - 1.
void DrawMarkArrow(QPainter& canvas, int x, int y, const QColor& colour);
// One-pixel 3-D frames of a button; returns the rectangle inside them.
QRect DrawButtonFrame(QPainter& canvas, const QRect& rect, bool pressed, TButtonStyle style, bool flat);
// One 3-D frame (top-left and bottom-right colours); shrinks rect by 1.
void Frame3D(QPainter& canvas, QRect& rect, const QColor& topColor, const QColor& bottomColor);

// ---------------------------------------------------------------------------
// TKitSpeedButton

class TKitSpeedButton : public QWidget {
  Q_OBJECT
 public:
  explicit TKitSpeedButton(QWidget* parent = nullptr);
  ~TKitSpeedButton() override;

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);
  TButtonStyle Style() const { return FStyle; }
  void SetStyle(TButtonStyle value);
  bool Down() const { return FDown; }
  void SetDown(bool value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);
  int Margin() const { return FMargin; }
  void SetMargin(int value);
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int value) { FModalResult = value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool MarkDropDown() const { return FMarkDropDown; }
  void SetMarkDropDown(bool value);
  QMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(QMenu* value);
  TKitDropDownMenuPos MenuPosition() const { return FMenuPosition; }
  void SetMenuPosition(TKitDropDownMenuPos value) { FMenuPosition = value; }
  bool GrayedInactive() const { return FGrayedInactive; }
  void SetGrayedInactive(bool value);
  bool AllowTimer() const { return FAllowTimer; }
  void SetAllowTimer(bool value);
  uint16_t InitPause() const { return FInitPause; }
  void SetInitPause(uint16_t value) { FInitPause = value; }
  uint16_t RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(uint16_t value) { FRepeatInterval = value; }
  const QImage& Glyph() const { return FGlyph->Glyph(); }
  void SetGlyph(const QImage& value);
  void SetGlyph(const QImage& value, const QColor& transparentColor);
  int NumGlyphs() const { return FGlyph->NumGlyphs(); }
  void SetNumGlyphs(int value);
  bool WordWrap() const { return FGlyph->WordWrap; }
  void SetWordWrap(bool value);
  TAlignment Alignment() const { return FGlyph->Alignment; }
  void SetAlignment(TAlignment value);
  QAction* Action() const { return FAction; }
  void SetAction(QAction* value);

  TButtonState State() const { return FState; }
  bool Pressed() const { return FPressed; }
  bool MouseInControl() const { return FMouseInControl; }
  bool MenuTracking() const { return FMenuTracking; }
  TKitButtonGlyph* GlyphHolder() const { return FGlyph.get(); }
  QTimer* RepeatTimer() const { return FRepeatTimer; }
  const QPixmap& DrawBitmap() const { return FDrawBitmap; }

  // Acts as a click: the parent dialog's result, then OnClick (or the action).
  virtual void Click();
  // Where the drop-down menu opens, in the button's coordinates.
  QPoint GetDropDownMenuPos() const;
  // Opens the drop-down menu at a point of the button; true when it did.
  bool CheckMenuDropDown(const QPoint& pos, bool forced);
  // A button of the group went down.
  void ButtonPressed(int groupIndex, TKitSpeedButton* sender);
  // The repeat timer's tick while the button is held.
  void TimerExpired();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  virtual void Paint(QPainter& canvas);
  virtual void PaintGlyph(QPainter& canvas, const QRect& rect, TButtonState state, bool dropDownMark);
  virtual void MouseDown(QMouseEvent* event);
  void MouseMove(const QPoint& pos);
  void MouseUp(Qt::MouseButton button, const QPoint& pos);
  void DoMouseUp(Qt::MouseButton button, const QPoint& pos);
  virtual void MouseEnter();
  virtual void MouseLeave();
  void UpdateExclusive();
  void UpdateTracking(const QPoint& globalPos);
  void ActionChange();

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  TButtonState FState = bsUp;
  bool FMouseInControl = false;

 private:
  bool Inside(const QPoint& pos) const;
  void UpdateAccel();

  QString FCaption;
  int FGroupIndex = 0;
  TButtonStyle FStyle = bsAutoDetect;
  std::unique_ptr<TKitButtonGlyph> FGlyph;
  QPixmap FDrawBitmap;
  bool FDown = false;
  bool FPressed = false;
  bool FFlat = false;
  bool FAllowAllUp = false;
  TButtonLayout FLayout = blGlyphTop;
  int FSpacing = 1;
  int FMargin = -1;
  int FModalResult = 0;
  bool FTransparent = false;
  bool FMarkDropDown = true;
  QPointer<QMenu> FDropDownMenu;
  TKitDropDownMenuPos FMenuPosition = dmpBottom;
  bool FGrayedInactive = true;
  bool FMenuTracking = false;
  QTimer* FRepeatTimer = nullptr;
  bool FAllowTimer = false;
  uint16_t FInitPause = 500;
  uint16_t FRepeatInterval = 100;
  QPointer<QAction> FAction;
  QShortcut* FAccel = nullptr;
};
