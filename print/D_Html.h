#pragma once
// The web pages of the lists: the page skeleton with the meet's heading and footer, a body fragment for
// inclusion in a site built elsewhere, or an XML document with indented lines. The jobs write their own
// rows between header and footer.
#include "print/D_HtmlFile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// A text from the data as it goes into markup: "&", "<", ">", '"' and "'" as references, and a character
// the page's Windows-1252 has no byte for as its number, so that the text shows as typed and never
// changes the page.
QString HtmlEscape(const QString& text);

// Appends a table cell as the lists write it to the row being built: "<td class=" + prefix + cellClass +
// ">" and the markup, or "&nbsp;" for none.
void AppendHtmlCell(QString& row, QStringView prefix, QStringView cellClass, QStringView html);

// A file name made from a text of the data (an event's or a class's name): the characters Windows refuses
// in a name ("/", "\", ":", "*", "?", '"', "<", ">" and "|") become "_", so that the name stays one file
// in the folder meant.
QString SafeFileName(const QString& name);

// A relative link to a file as it goes into an href: each part of the path percent-encoded (UTF-8), the
// "/" between them kept.
QString HtmlUrl(const QString& relativePath);

// The meet's own files that pages take in: "body-header" in front of a body fragment, "Standard.Header"
// and "Standard.Footer" around a full page's body.
enum class THtmlInclude { BodyHeader, StandardHeader, StandardFooter };

// The include files of the current meet's folder, each read the first time a page asks for it and kept: a
// job that writes many pages looks for them once, not once a page (a file that is not there is looked for
// through the whole folder).
class THtmlIncludes {
public:
    // The file's lines; none when the meet's folder has no such file.
    const QStringList& Lines(THtmlInclude which);

private:
    std::array<std::optional<QStringList>, 3> lines_;
};

class THtmlMaker {
public:
    // Creates the page file: only its own name is lower-cased, its folder is found as Windows would. The
    // page is written under a temporary name and takes its own name when closed, so that nobody reads
    // half a page, and a page of that name stays until then. With a title the header is written: the XML
    // prolog, the update table of a body fragment (meet setting OnlyHtmlBody), or the full page's head
    // and heading. Raises EInOutError when the file cannot be made. includes, when given, are the run's
    // (kept by the caller and shared by its pages); else the page reads the files itself.
    THtmlMaker(const QString& fileName, const QString& title, bool xmlMode,
               THtmlIncludes* includes = nullptr);
    // A page that was not closed is dropped.
    ~THtmlMaker() = default;
    THtmlMaker(const THtmlMaker&) = delete;
    THtmlMaker& operator=(const THtmlMaker&) = delete;

    // Markup as given, and a line end; in XML mode after Indent blanks.
    void WriteLn(const QString& text);
    // Markup as given.
    void Write(const QString& text);
    // Each line of the file with a line end (no indent); nothing when there is no such file.
    void IncludeFile(const QString& path);
    // With a title the footer is written; then the page takes its name. Raises EInOutError when any of
    // it could not be written, leaving no temporary file behind.
    void Close();

    const QString& FileName() const { return file_.FileName(); }
    const QString& Title() const { return title_; }
    bool XmlMode() const { return xmlMode_; }

    // Blanks before each line in XML mode.
    int Indent = 0;

private:
    // Each line with a line end (no indent).
    void WriteLines(const QStringList& lines);
    void WriteHeader();
    void WriteBodyHeader();
    void WritePageHeader();
    void WriteStyles();
    void WriteFooter();

    THtmlFile file_;
    QString title_;
    bool xmlMode_;
    THtmlIncludes ownIncludes_;
    THtmlIncludes* includes_;
};

// The title of a section of a list: a table of its own of the page's width, the title in bold in a cell of
// class cellClass ("l1" black on white, "l3" white on black).
void WriteHtmlSectionTitle(THtmlMaker& html, const QString& cellClass, const QString& title);
