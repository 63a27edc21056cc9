#pragma once
// The splash window: the program's picture with its name and version, shown
// while the main window and its model are being built. The main window frees
// it when it is first shown.
#include <QWidget>

class QLabel;
class TKitLabel;

class TFormSplash : public QWidget {
  Q_OBJECT
 public:
  explicit TFormSplash(QWidget* parent = nullptr);

  QLabel* Image = nullptr;               // the picture, stretched over the whole window
  TKitLabel* KitLabelVersion = nullptr;  // "ZeltorOmra <version>", yellow with a black shadow

  // True when the picture was decoded; a broken picture leaves a plain window.
  bool PictureLoaded() const { return FPictureLoaded; }

  // Shows the splash in front and returns once it is on the screen, painted:
  // a paint before the window system has mapped the window is lost, and the
  // long start-up that follows lets no message through to paint it again. So
  // the window system's messages (not the user's input) are let through until
  // it is mapped, for `boundMs` milliseconds at most, so that a window system
  // that never answers does not hold the start-up. True when it was mapped.
  bool ShowPainted(int boundMs = 2000);

 private:
  bool FPictureLoaded = false;
};

extern TFormSplash* FormSplash;

// The program's icon (built into the program).
class QIcon;
QIcon ProgramIcon();

// The main window's first showing hides and frees the splash (later showings
// find none and do nothing).
void ReleaseSplashOnShow(QWidget* mainWindow);
