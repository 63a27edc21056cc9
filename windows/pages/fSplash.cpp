#include "windows/pages/fSplash.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QThread>
#include <QWindow>

#include "controls/KitCtrls.h"
#include "platform/Jpeg.h"

TFormSplash* FormSplash = nullptr;

// The pictures are compiled into a static library: their registration has to
// be asked for by name, or the linker may leave it out.
static void InitSplashResources() { Q_INIT_RESOURCE(fSplash); }

namespace {

// The splash picture, decoded by our JPEG reader.
QPixmap SplashPixmap(bool& ok) {
  ok = false;
  QFile file(QStringLiteral(":/splash.jpg"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  TJpegImage jpeg;
  if (!JpegDecode(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()),
                  jpeg))
    return {};
  const QImage image(jpeg.Pixels.data(), jpeg.Width, jpeg.Height, jpeg.Width * 3, QImage::Format_RGB888);
  ok = true;
  return QPixmap::fromImage(image.copy());
}

}  // namespace

QIcon ProgramIcon() {
  InitSplashResources();
  return QIcon(QStringLiteral(":/omra.png"));
}

TFormSplash::TFormSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  InitSplashResources();
  setObjectName(QStringLiteral("FormSplash"));
  setFixedSize(300, 200);
  move(325, 314);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(10, 30, 18));
  setPalette(pal);

  Image = new QLabel(this);
  Image->setObjectName(QStringLiteral("Image"));
  Image->setGeometry(0, 0, 300, 200);
  Image->setScaledContents(true);
  Image->setPixmap(SplashPixmap(FPictureLoaded));

  KitLabelVersion = new TKitLabel(this);
  KitLabelVersion->setObjectName(QStringLiteral("KitLabelVersion"));
  KitLabelVersion->SetAutoSize(false);
  KitLabelVersion->setGeometry(5, 176, 156, 17);
  KitLabelVersion->SetAlignment(taCenter);
  KitLabelVersion->SetWordWrap(true);
  KitLabelVersion->SetTransparent(true);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);
  font.setBold(true);
  KitLabelVersion->setFont(font);
  KitLabelVersion->SetFontColor(QColor(255, 255, 0));
  KitLabelVersion->SetShadowColor(QColor(0, 0, 0));
  KitLabelVersion->SetShadowPos(spRightBottom);
  KitLabelVersion->raise();
}

bool TFormSplash::ShowPainted(int boundMs) {
  show();
  raise();
  QElapsedTimer timer;
  timer.start();
  auto mapped = [this] { return windowHandle() && windowHandle()->isExposed(); };
  while (!mapped() && timer.elapsed() < boundMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!mapped()) QThread::msleep(2);
  }
  // The window system's mapping painted it (or, unmapped, paint it at least
  // for when it shows) and the picture goes out to the screen now.
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return mapped();
}

namespace {

class TSplashRelease : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && FormSplash) {
      TFormSplash* splash = FormSplash;
      FormSplash = nullptr;
      splash->hide();
      splash->deleteLater();
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void ReleaseSplashOnShow(QWidget* mainWindow) { mainWindow->installEventFilter(new TSplashRelease(mainWindow)); }
