#pragma once
// The program folder of a window-test process.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A folder of this test process's own, holding a copy of the page folder and
// the sample from beside the test program. The program writes its message
// pages into the page folder; tests running side by side would otherwise
// write them into one folder and read each other's pages.
inline QString TestProgramFolder() {
  static QTemporaryDir dir;
  static const QString path = [] {
    const QString from = QCoreApplication::applicationDirPath() + QStringLiteral("/");
    const QString to = dir.path() + QStringLiteral("/");
    QDir().mkpath(to + QStringLiteral("Files"));
    for (const QString& name : QDir(from + QStringLiteral("Files")).entryList(QDir::Files))
      QFile::copy(from + QStringLiteral("Files/") + name, to + QStringLiteral("Files/") + name);
    QFile::copy(from + QStringLiteral("fight_mutation.zod"), to + QStringLiteral("fight_mutation.zod"));
    return to;
  }();
  return path;
}
