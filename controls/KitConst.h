#pragma once
// Constants shared by the component kit: the numbers of its two hand cursors
// in the kit's cursor table, the event signature of its controls and the
// colour names the kit's painting uses.
#include <QColor>
#include <QCursor>
#include <QObject>
#include <cstdint>
#include <functional>

#include "platform/SysColor.h"

// Cursor numbers in the kit's cursor table.
constexpr int crKitHand = 14000;  // pointing hand, hot spot (6, 16): the finger tip
constexpr int crKitDrag = 14001;  // closed grabbing hand, hot spot (15, 16)

// Fills the cursor table with the kit's cursors (safe to call more than once).
void RegisterKitCursors();
// A cursor of the table by number; the arrow for a number not in it.
QCursor KitCursor(int number);
// The pictures themselves (32 x 32, two colours): "KIT_HANDCUR", "KIT_DRAGCUR".
QCursor CreateKitHandCursor();
QCursor CreateKitDragCursor();

// A notification without arguments but its sender, like a click.
using TNotifyEvent = std::function<void(QObject* Sender)>;

// Horizontal alignment of a caption.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Vertical placement of a caption.
enum TTextLayout { tlTop, tlCenter, tlBottom };

// The system colours the kit and the windows paint with, from the program's
// own table (platform/SysColor.h).
QColor SysQColor(TSysColor c);
// A colour value of the model or a file (RGB or a system colour identifier)
// as the colour to paint with, and as an opaque 0xAARRGGBB value for the
// painters that fill pixels themselves.
QColor PaintColor(int32_t color);
QRgb PaintRgb(int32_t color);
QColor clBtnFace();
QColor clBtnHighlight();
QColor clBtnShadow();
QColor clBtnText();
QColor clWindowFrame();
QColor clGrayText();
QColor clWindowText();
QColor clWindow();
QColor clInfoBk();
inline QColor clFuchsiaColor() { return QColor(255, 0, 255); }
