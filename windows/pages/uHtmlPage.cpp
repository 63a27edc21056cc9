#include "windows/pages/uHtmlPage.h"

#include <QFile>
#include <QStringDecoder>

#include "files/uDataFile.h"
#include "platform/SafeFile.h"

QStringList ReadPageLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw THtmlPageError(QStringLiteral("Не удалось открыть файл %1: %2")
                             .arg(path, file.errorString())
                             .toStdString());
  QString text = QString::fromUtf8(file.readAll());
  if (file.error() != QFileDevice::NoError)
    throw THtmlPageError(QStringLiteral("Не удалось прочитать файл %1: %2")
                             .arg(path, file.errorString())
                             .toStdString());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();  // the final line end
  return lines;
}

void WritePageLines(const QString& path, const QStringList& lines) {
  // Written whole or not at all: a page that could not be written to its end
  // (a full disk) leaves the old page in place, and the failure names its cause.
  const std::string name = path.toStdString();
  TSafeFileWriter out(name);
  for (const QString& line : lines) {
    out.Write(line.toStdString());
    out.Write("\r\n");
  }
  if (!out.Commit()) throw THtmlPageError(SaveFailedText(name, out.Error()));
}

namespace {

// Present in exact case -> the first occurrence in any case is replaced.
bool ReplaceFirst(QString& line, const char* placeholder, const QString& with) {
  const QString key = QString::fromLatin1(placeholder);
  if (!line.contains(key, Qt::CaseSensitive)) return false;
  const qsizetype at = line.indexOf(key, 0, Qt::CaseInsensitive);
  line.replace(at, key.size(), with);
  return true;
}

QStringList FillWith(const QStringList& templateLines, const QString& textMain,
                     const QString& textFooter, const QString& bitmap, const QStringList& block) {
  QStringList page = templateLines;
  qsizetype insertAt = 0;
  for (qsizetype i = 0; i < page.size(); ++i) {
    QString line = page[i];
    ReplaceFirst(line, PlaceholderHeader, QStringLiteral("<p class=\"tnews\"></p>"));
    ReplaceFirst(line, PlaceholderMain, QStringLiteral("<p class=\"thead\">") + textMain + QStringLiteral("</p>"));
    if (ReplaceFirst(line, PlaceholderSelf, QStringLiteral(" "))) insertAt = i;
    ReplaceFirst(line, PlaceholderFooter,
                 QStringLiteral("<p class=\"tnews\">") + textFooter + QStringLiteral("</p>"));
    ReplaceFirst(line, PlaceholderBitmap, bitmap);
    page[i] = line;
  }
  for (qsizetype k = 0; k < block.size(); ++k) page.insert(insertAt + k, block[k]);
  return page;
}

}  // namespace

QStringList FillPageTemplate(const QStringList& templateLines, const QString& textMain,
                             const QString& textFooter, const QString& bitmap,
                             const QStringList& block) {
  return FillWith(templateLines, textMain, textFooter, bitmap, block);
}

QStringList HtmlMessageBlock(const QStringList& lines) {
  QStringList block;
  for (const QString& line : lines) {
    block << QStringLiteral("<p class=\"ttext\">") << line << QStringLiteral("</p>");
  }
  return block;
}

QStringList WhatsNewToHtml(const QStringList& text) {
  QStringList out;
  bool inNews = false;
  for (const QString& line : text) {
    const QChar first = line.isEmpty() ? QChar() : line.front();
    if (first == QLatin1Char('+') || first == QLatin1Char('-') || first == QLatin1Char('=')) {
      out << (inNews ? line + QStringLiteral("</br>")
                     : QStringLiteral("<p class=\"tcomment\">") + line + QStringLiteral("</br>"));
      inNews = true;
    } else {
      inNews = false;
      out << QStringLiteral("<p class=\"ttext\">") + line + QStringLiteral("</p>");
    }
  }
  return out;
}

void BuildHtmlPage(const QString& templatePath, const QString& textMain, const QString& textFooter,
                   const QString& bitmap, const QString& pageFile, const QStringList& lines) {
  const QStringList page =
      FillWith(ReadPageLines(templatePath), textMain, textFooter, bitmap, HtmlMessageBlock(lines));
  WritePageLines(pageFile, page);
}

void BuildWhatsNewPage(const QString& templatePath, const QString& textMain,
                       const QString& textFooter, const QString& bitmap, const QString& pageFile,
                       const QStringList& htmlLines) {
  WritePageLines(pageFile,
                 FillWith(ReadPageLines(templatePath), textMain, textFooter, bitmap, htmlLines));
}

QStringList ExceptionPageLines(const QString& message) {
  return {QStringLiteral("Программе не удалось выполнить операцию. Сообщите об ошибке "
                         "<a href=\"mailto:%1\">автору</a> программы.")
              .arg(QString::fromLatin1(ErrorReportAddress)),
          QStringLiteral("Дальше идет системное сообщение ошибки."),
          // The message is text, not markup: shown as it reads.
          message.toHtmlEscaped()};
}
