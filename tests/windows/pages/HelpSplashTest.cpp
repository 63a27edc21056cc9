// The splash window: its picture through our JPEG reader, its place and its
// version label.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QWindow>

#include "tests/windows/MainFixture.h"
#include "controls/KitCtrls.h"
#include "windows/pages/fSplash.h"

TEST(Splash, ShowsItsPictureAndTheVersionWhereTheProgramPutsThem) {
  TestApplication();
  auto* splash = new TFormSplash;
  FormSplash = splash;
  EXPECT_TRUE(splash->PictureLoaded());
  EXPECT_EQ(splash->size(), QSize(300, 200));
  EXPECT_EQ(splash->pos(), QPoint(325, 314));
  EXPECT_EQ(splash->Image->geometry(), QRect(0, 0, 300, 200));
  EXPECT_EQ(splash->KitLabelVersion->geometry(), QRect(5, 176, 156, 17));
  splash->KitLabelVersion->SetCaption(QStringLiteral("ZeltorOmra 0.7.0.68"));
  splash->show();
  const QImage shot = splash->grab().toImage();
  if (!qEnvironmentVariableIsEmpty("ZO_SHOT_DIR")) shot.save(qEnvironmentVariable("ZO_SHOT_DIR") + "/splash.png");
  // The picture is there (not a flat window) and the label drew yellow text.
  EXPECT_NE(shot.pixel(20, 20), shot.pixel(150, 70));
  bool yellow = false;
  for (int y = 176; y < 193 && !yellow; ++y)
    for (int x = 5; x < 161 && !yellow; ++x) {
      const QColor c = shot.pixelColor(x, y);
      yellow = c.red() > 200 && c.green() > 200 && c.blue() < 80;
    }
  EXPECT_TRUE(yellow);

  // The main window's first showing frees the splash; later showings find none.
  QWidget main;
  ReleaseSplashOnShow(&main);
  main.show();
  EXPECT_EQ(FormSplash, nullptr);
  main.hide();
  main.show();
  EXPECT_EQ(FormSplash, nullptr);
  QApplication::processEvents();
}

// Painted before the window system had mapped it, the splash stayed an empty
// box through the start-up: it is shown mapped, and a window system that never
// maps it does not hold the start-up.
TEST(Splash, IsMappedBeforeTheStartUpGoesOnButNeverHoldsIt) {
  TestApplication();
  TFormSplash splash;
  EXPECT_TRUE(splash.ShowPainted());
  ASSERT_NE(splash.windowHandle(), nullptr);
  EXPECT_TRUE(splash.windowHandle()->isExposed());
  splash.hide();

  TFormSplash unmapped;
  unmapped.setAttribute(Qt::WA_DontShowOnScreen);
  EXPECT_FALSE(unmapped.ShowPainted(50));
  EXPECT_TRUE(unmapped.isVisible());
}
