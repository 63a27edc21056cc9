#include "windows/look/uProc.h"

#include <QAction>
#include <QFileInfo>
#include <QListWidget>
#include <QMimeDatabase>
#include <QStringList>
#include <pwd.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/VersionInfo.h"

QString FileTypeText(uint32_t fileType, uint32_t fileSubtype) {
  static const char* const kDrivers[] = {
      "Unknown Driver", "Printer Driver", "Keyboard Driver", "Language Driver",
      "Display Driver", "Mouse Driver",   "Network Driver",  "System Driver",
      "InstallableDriver", "Sound Driver", "Communications Driver"};
  static const char* const kFonts[] = {"Unknown Font", "Raster Font", "Vector Font",
                                       "Truetype Font"};
  switch (fileType) {
    case 0:
      return QStringLiteral("Unknown");
    case 1:
      return QStringLiteral("Приложение");
    case 2:
      return QStringLiteral("DLL");
    case 3:
      return fileSubtype <= 10 ? QString::fromLatin1(kDrivers[fileSubtype]) : QString();
    case 4:
      return fileSubtype <= 3 ? QString::fromLatin1(kFonts[fileSubtype]) : QString();
    case 5:
      return QStringLiteral("Virtual Defice Identifier = ") +
             QStringLiteral("%1").arg(fileSubtype, 8, 16, QLatin1Char('0')).toUpper();
    case 7:
      return QStringLiteral("Static-link Library");
    default:
      return QString();
  }
}

void GetFileInfo(const QString& path, TFileInfo& info) {
  info = TFileInfo();
  const QFileInfo fi(path);
  if (!fi.exists()) return;
  const QMimeType mime = QMimeDatabase().mimeTypeForFile(fi);
  if (mime.isValid()) info.TypeName = mime.comment().left(80);

  const std::string local = path.toStdString();
  if (!IsExecutableFile(local)) return;
  TVersionBlock block;
  if (!ReadVersionBlock(local, block)) return;

  auto value = [&](const char* name) { return QString::fromStdString(block.Value(name)); };
  info.CompanyName = value("CompanyName");
  info.FileDescription = value("FileDescription");
  info.FileVersion = value("FileVersion");
  info.InternalName = value("InternalName");
  info.LegalCopyRight = value("LegalCopyRight");
  info.LegalTradeMarks = value("LegalTradeMarks");
  info.OriginalFileName = value("OriginalFileName");
  info.ProductName = value("ProductName");
  info.ProductVersion = value("ProductVersion");
  info.Comments = value("Comments");
  info.SpecialBuild = value("SpecialBuild");
  info.PrivateBuild = value("PrivateBuild");

  const uint32_t flags = block.FileFlags & block.FileFlagsMask;
  info.Debug = flags & VersionFlagDebug;
  info.PreRelease = flags & VersionFlagPreRelease;
  info.IsSpecialBuild = flags & VersionFlagSpecialBuild;
  info.IsPrivateBuild = flags & VersionFlagPrivateBuild;
  info.Patched = flags & VersionFlagPatched;
  info.InfoInferred = flags & VersionFlagInfoInferred;
  info.FileTypeText = FileTypeText(block.FileType, block.FileSubtype);
}

namespace {
// The account the program runs under, read into `pw` and `buffer`; null when
// the system does not know it.
const passwd* OwnAccount(passwd& pw, std::vector<char>& buffer) {
  buffer.resize(16384);
  passwd* found = nullptr;
  return getpwuid_r(geteuid(), &pw, buffer.data(), buffer.size(), &found) == 0 ? found : nullptr;
}
}  // namespace

void GetCurrentUserName(QString& name) {
  // The account the program runs under, then the login of the terminal.
  std::vector<char> buffer;
  passwd pw{};
  if (const passwd* account = OwnAccount(pw, buffer); account && account->pw_name && *account->pw_name) {
    name = QString::fromLocal8Bit(account->pw_name);
    return;
  }
  char login[256] = {};
  if (getlogin_r(login, sizeof login) == 0 && login[0]) {
    name = QString::fromLocal8Bit(login);
    return;
  }
  name = QStringLiteral("Unknown");
}

QString GetCurrentUserName() {
  QString name;
  GetCurrentUserName(name);
  return name;
}

QString GetUserHomeFolder() {
  const QString home = qEnvironmentVariable("HOME");
  if (!home.isEmpty()) return home;
  std::vector<char> buffer;
  passwd pw{};
  if (const passwd* account = OwnAccount(pw, buffer); account && account->pw_dir && *account->pw_dir)
    return QString::fromLocal8Bit(account->pw_dir);
  return {};
}

void ShortenPath(const QString& path, int maxLength, QString& result) {
  const QChar sep = QLatin1Char('/');
  if (!path.contains(sep)) {
    result = path;
    return;
  }
  QStringList parts = path.split(sep);
  if (parts.last().isEmpty()) parts.removeLast();  // a trailing "/" gives no part
  if (parts.isEmpty()) {
    result.clear();
    return;
  }
  const QString name = parts.takeLast();
  QString text;
  while (text.size() + name.size() < maxLength && !parts.isEmpty()) text += parts.takeFirst() + sep;
  result = parts.isEmpty() ? text + name : text + QStringLiteral("…/") + name;
}

QString ShortenPath(const QString& path, int maxLength) {
  QString result;
  ShortenPath(path, maxLength, result);
  return result;
}

int ListIndexOf(const QListWidget* list, const QString& text) {
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->text().compare(text, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

QString MenuTextWithKey(const QString& caption, const QKeySequence& key) {
  if (key.isEmpty()) return caption;
  return caption + QLatin1Char('\t') + key.toString(QKeySequence::NativeText);
}

QAction* ProxyItem(QAction* action, QObject* parent, const QString& caption) {
  auto* item = new QAction(parent);
  auto sync = [item, action, caption] {
    item->setText(MenuTextWithKey(caption.isEmpty() ? action->text() : caption, action->shortcut()));
    item->setIcon(action->icon());
    item->setEnabled(action->isEnabled());
  };
  sync();
  QObject::connect(action, &QAction::changed, item, sync);
  QObject::connect(item, &QAction::triggered, action, [action] { action->trigger(); });
  return item;
}

QString FixedText(double value, int precision, int digits) {
  if (!std::isfinite(value)) value = 0;
  const bool negative = value < 0;
  const double v = std::fabs(value);
  // The decimal exponent of the leading digit, from the value rounded to `precision` digits.
  auto exponent = [precision](double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, x);
    return std::atoi(std::strchr(buf, 'e') + 1);
  };
  auto scientific = [&] {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, v);
    QString mantissa = QString::fromLatin1(buf, static_cast<int>(std::strchr(buf, 'e') - buf));
    if (mantissa.contains(QLatin1Char('.'))) {
      while (mantissa.endsWith(QLatin1Char('0'))) mantissa.chop(1);
      if (mantissa.endsWith(QLatin1Char('.'))) mantissa.chop(1);
    }
    return (negative ? QStringLiteral("-") : QString()) + mantissa + QStringLiteral("E") +
           QString::number(exponent(v));
  };
  if (v > 0 && exponent(v) + 1 > precision) return scientific();
  // Rounded once, at the last of the `precision` significant digits or of the
  // `digits` decimals, whichever comes first.
  double rounded = 0;
  if (v > 0) {
    const int significant = std::min(precision, exponent(v) + 1 + digits);
    if (significant > 0) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.*e", significant - 1, v);
      rounded = std::strtod(buf, nullptr);
    }
  }
  const QString text = QString::number(rounded, 'f', digits);
  return negative && rounded > 0 ? QStringLiteral("-") + text : text;
}
