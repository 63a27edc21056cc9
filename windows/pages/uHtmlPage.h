#pragma once
// The page builder: fills the page template "index.htm" with a heading, message
// paragraphs and a picture, and writes the page that an HTML window then shows.
#include <QString>
#include <QStringList>
#include <stdexcept>

// A template or page that cannot be read or written.
class THtmlPageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The template's placeholders.
inline constexpr const char* PlaceholderHeader = "%TEXTHEADER";
inline constexpr const char* PlaceholderMain = "%TEXTMAIN";
inline constexpr const char* PlaceholderSelf = "%TEXTSELF";
inline constexpr const char* PlaceholderFooter = "%TEXTFOOTER";
inline constexpr const char* PlaceholderBitmap = "%BITMAP";

// Reads a text file (UTF-8) as lines without their line ends. Throws
// THtmlPageError when the file is missing or unreadable.
QStringList ReadPageLines(const QString& path);
// Writes lines as a UTF-8 text file, replacing any file of that name; the file is
// written whole or not at all. Throws THtmlPageError on failure, its message
// naming the file and the cause (SaveFailedText).
void WritePageLines(const QString& path, const QStringList& lines);

// Fills the template lines: in each line the five placeholders are handled one
// after the other (present in exact case -> first occurrence in any case
// replaced); `block` is inserted directly before the last line that held
// "%TEXTSELF" (or at the top when none did).
QStringList FillPageTemplate(const QStringList& templateLines, const QString& textMain,
                             const QString& textFooter, const QString& bitmap,
                             const QStringList& block);

// One "ttext" paragraph of three lines per message line.
QStringList HtmlMessageBlock(const QStringList& lines);

// The news text rewritten as HTML lines: runs of lines beginning "+", "-" or "="
// form one "tcomment" paragraph; every other line is a "ttext" paragraph.
QStringList WhatsNewToHtml(const QStringList& text);

// Builds a message page from the template at `templatePath` and writes it to
// `pageFile`. Throws THtmlPageError.
void BuildHtmlPage(const QString& templatePath, const QString& textMain, const QString& textFooter,
                   const QString& bitmap, const QString& pageFile, const QStringList& lines);
// The same with ready HTML lines inserted unchanged.
void BuildWhatsNewPage(const QString& templatePath, const QString& textMain,
                       const QString& textFooter, const QString& bitmap, const QString& pageFile,
                       const QStringList& htmlLines);

// Where error reports go: the program's own address, not a person's.
inline constexpr const char* ErrorReportAddress = "errors@zeltoromra.example";

// The three lines of the page that reports an exception no command caught.
QStringList ExceptionPageLines(const QString& message);
